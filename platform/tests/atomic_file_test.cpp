#include "platform/atomic_file.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

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

}  // namespace
}  // namespace platform
