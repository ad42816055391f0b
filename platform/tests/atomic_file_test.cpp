#include "platform/atomic_file.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AtomicFile : public test_support::TempFolderTest {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
};

// A failed write leaves what was there whole, and no temporary file beside it.
struct FailureRow {
    const char* name;
    std::function<fs::path(const fs::path& dir)> prepare;  // returns the path to write
    std::errc reason;
};

TEST_F(AtomicFile, FailedWritesLeaveTheOldFileAndNoTemporary) {
    const FailureRow rows[] = {
        /* 0 */ {"read-only file",
                 [](const fs::path& dir) {
                     std::ofstream(dir / "keep.png") << "old";
                     fs::permissions(dir / "keep.png",
                                     fs::perms::owner_read | fs::perms::group_read);
                     return dir / "keep.png";
                 },
                 std::errc::permission_denied},
        /* 1 */
        {"missing folder", [](const fs::path& dir) { return dir / "no" / "such" / "keep.png"; },
         std::errc::no_such_file_or_directory},
        /* 2 */
        {"a folder in the way",
         [](const fs::path& dir) {
             fs::create_directories(dir / "keep.png");
             return dir / "keep.png";
         },
         std::errc::is_a_directory},
        /* 3 */
        {"a link loop",
         [](const fs::path& dir) {
             fs::create_symlink("b", dir / "a");
             fs::create_symlink("a", dir / "b");
             return dir / "a";
         },
         std::errc::too_many_symbolic_link_levels},
    };
    for (const FailureRow& r : rows) {
        folder_.clear();
        const fs::path path = r.prepare(dir_);
        const std::size_t before = entries();
        const std::error_code ec = writeFileAtomically(path, "new contents");
        EXPECT_EQ(ec, std::make_error_code(r.reason)) << r.name << ": " << ec.message();
        EXPECT_EQ(entries(), before) << r.name;
        std::error_code ignored;
        if (fs::is_regular_file(path, ignored)) {
            EXPECT_EQ(contents(path), "old") << r.name;
        }
    }
}

TEST_F(AtomicFile, FileSizeLimitFailsTheWriteWithItsReason) {
    const fs::path path = dir_ / "keep.png";
    std::ofstream(path) << "old";
    // The limit raises SIGXFSZ, which would end the process instead of failing the write.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 2048;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::error_code ec = writeFileAtomically(path, std::string(10000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(ec, std::make_error_code(std::errc::file_too_large)) << ec.message();
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, ReplacesThroughLinksAndKeepsPermissions) {
    const fs::path real = dir_ / "settings" / "lorrin.ini";
    fs::create_directories(real.parent_path());
    std::ofstream(real) << "old";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("settings/lorrin.ini", dir_ / "lorrin.ini");

    ASSERT_FALSE(writeFileAtomically(dir_ / "lorrin.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "lorrin.ini"));
    EXPECT_EQ(contents(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entries(), 2u);  // the link and the folder
    EXPECT_EQ(std::distance(fs::directory_iterator(real.parent_path()), fs::directory_iterator()),
              1);

    // A dangling link makes its target.
    fs::create_symlink("made.ini", dir_ / "dangling.ini");
    ASSERT_FALSE(writeFileAtomically(dir_ / "dangling.ini", "made"));
    EXPECT_EQ(contents(dir_ / "made.ini"), "made");
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.ini"));
}

// What is not a plain file is written where it is, or refused: never replaced by one.
TEST_F(AtomicFile, DevicesAreWrittenInPlaceAndSocketsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "device nodes need the superuser to make";
    struct Row {
        const char* name;
        unsigned major, minor;  // the node: /dev/null is 1,3 and /dev/full 1,7
        bool throughLink;
        std::error_code expected;
    };
    const Row rows[] = {
        /* 0 */ {"null", 1, 3, false, {}},
        {"null through a link", 1, 3, true, {}},
        {"full", 1, 7, false, std::make_error_code(std::errc::no_space_on_device)},
    };
    for (const Row& r : rows) {
        folder_.clear();
        const fs::path node = dir_ / "node";
        ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(r.major, r.minor)), 0);
        fs::path path = node;
        if (r.throughLink) {
            fs::create_symlink("node", dir_ / "link");
            path = dir_ / "link";
        }
        for (int save = 0; save < 2; ++save) {
            EXPECT_EQ(writeFileAtomically(path, std::string(505, 'x')), r.expected) << r.name;
            EXPECT_TRUE(fs::is_character_file(fs::symlink_status(node))) << r.name;
        }
        EXPECT_EQ(entries(), r.throughLink ? 2u : 1u) << r.name;
    }
}

TEST_F(AtomicFile, AFifoIsWrittenForItsReaderAndASocketOrALonelyFifoRefused) {
    const fs::path fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // No reader: an error at once, not a wait.
    EXPECT_EQ(writeFileAtomically(fifo, "lost"),
              std::make_error_code(std::errc::no_such_device_or_address));
    std::string received;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    });
    // The reader may not have opened its end yet: try until it has.
    std::error_code ec;
    for (int tries = 0; tries < 500; ++tries) {
        ec = writeFileAtomically(fifo, std::string(100000, 'p'));
        if (ec != std::make_error_code(std::errc::no_such_device_or_address)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(ec) << ec.message();
    reader.join();
    EXPECT_EQ(received, std::string(100000, 'p'));
    EXPECT_TRUE(fs::is_fifo(fifo));

    const fs::path socketPath = dir_ / "sock";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::error_code refused = writeFileAtomically(socketPath, "x");
    ::close(s);
    EXPECT_TRUE(refused);
    EXPECT_EQ(refused.message(), "a socket is not a file to write");
    EXPECT_TRUE(fs::is_socket(socketPath));
    EXPECT_EQ(entries(), 2u);
}

// The superuser replacing another user's file leaves it the user's, mode and all.
TEST_F(AtomicFile, AReplacedFileKeepsItsOwnerGroupAndMode) {
    const fs::path path = dir_ / "theirs.ini";
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (owner == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        owner = nobody->pw_uid;
        group = nobody->pw_gid;
        ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    }
    ASSERT_FALSE(writeFileAtomically(path, "new"));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, owner);
    EXPECT_EQ(after.st_gid, group);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(contents(path), "new");
}

// A name at the file system's limit: the temporary name beside it is a short one.
TEST_F(AtomicFile, ANameAtTheLengthLimitIsWritten) {
    const long limit = ::pathconf(dir_.c_str(), _PC_NAME_MAX);
    ASSERT_GT(limit, 16);
    const fs::path path = dir_ / (std::string(static_cast<std::size_t>(limit) - 4, 'n') + ".png");
    ASSERT_FALSE(writeFileAtomically(path, "first"));
    ASSERT_FALSE(writeFileAtomically(path, "second"));
    EXPECT_EQ(contents(path), "second");
    EXPECT_EQ(entries(), 1u);
}

}  // namespace
}  // namespace platform
