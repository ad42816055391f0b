// Where the settings live, seen by two users at once: root and an unprivileged user
// (nobody, through setpriv) run lorrin-cli and lorrin's start and close (settings_saver)
// from one program folder, each with a home of their own, over one folder of system-wide
// defaults.  Which file each reads shows as the QR version of a one-letter symbol.
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lorrin {
namespace {

namespace fs = std::filesystem;

enum User { kRoot, kNobody };
constexpr std::array<std::string_view, 2> kUserNames = {"root", "nobody"};

// The program's folder: one under /opt; root's or nobody's, writable; nobody's read-only;
// root's, writable by everyone.
enum class Folder { kSystem, kRoots, kNobodys, kNobodysReadOnly, kShared };
// A lorrin.ini beside the program before the run, and whose it is.
enum class Beside { kNone, kRoots, kNobodys, kNobodysReadOnly };
// What a user reads: the built-in settings, the file beside the program, the user's own
// in the configuration folder, the system-wide defaults.
enum class Source { kDefault, kBeside, kOwn, kSystem };
// Where a user's save lands.
enum class Place { kToBeside, kToOwn };

// QR versions each file sets, and each user saves.
constexpr int kBesideVersion = 2;
constexpr std::array<int, 2> kOwnVersion = {3, 4};
constexpr int kSystemVersion = 5;
constexpr std::array<int, 2> kSavedVersion = {8, 9};

// The width of a QR symbol of `version` as lorrin-cli --widths gives it; version 1 for
// the one letter when none is set.
std::string symbolSize(int version) {
    const std::string side = std::to_string(17 + 4 * version);
    return side + "x" + side;
}

struct Expected {
    Source read;
    Place written;
    bool notice;  // a file is named on standard error as left alone
};

struct Row {
    Folder folder;
    Beside beside;
    bool own;     // each user has a file in the configuration folder, an hour old
    bool system;  // the system-wide defaults folder has one
    Expected root;
    Expected nobody;

    const Expected& of(User user) const { return user == kRoot ? root : nobody; }
};

using enum Source;
using enum Place;
constexpr bool kNotice = true;
// clang-format off
constexpr std::array<Row, 13> kRows = {{
    // Installed: nothing beside the program is read or written, whoever left it there.
    /* 0 */ {Folder::kSystem, Beside::kNone, false, false,
             {kDefault, kToOwn, false}, {kDefault, kToOwn, false}},
    /* 1 */ {Folder::kSystem, Beside::kRoots, false, false,
             {kDefault, kToOwn, kNotice}, {kDefault, kToOwn, kNotice}},
    /* 2 */ {Folder::kSystem, Beside::kRoots, true, true,
             {kOwn, kToOwn, kNotice}, {kOwn, kToOwn, kNotice}},
    /* 3 */ {Folder::kSystem, Beside::kNone, false, true,
             {kSystem, kToOwn, false}, {kSystem, kToOwn, false}},
    // root's folder is root's: the file beside it; nobody keeps to its own.
    /* 4 */ {Folder::kRoots, Beside::kNone, false, false,
             {kDefault, kToBeside, false}, {kDefault, kToOwn, false}},
    /* 5 */ {Folder::kRoots, Beside::kRoots, true, true,
             {kBeside, kToBeside, false}, {kOwn, kToOwn, false}},
    /* 6 */ {Folder::kRoots, Beside::kNone, false, true,
             {kDefault, kToBeside, false}, {kSystem, kToOwn, false}},
    // nobody's folder, and root's own writable file in it.
    /* 7 */ {Folder::kNobodys, Beside::kNobodys, false, false,
             {kDefault, kToOwn, false}, {kBeside, kToBeside, false}},
    /* 8 */ {Folder::kNobodys, Beside::kRoots, true, false,
             {kBeside, kToBeside, false}, {kOwn, kToOwn, kNotice}},
    // nobody's read-only folder: its save falls back to its configuration folder.
    /* 9 */ {Folder::kNobodysReadOnly, Beside::kNobodys, true, false,
             {kOwn, kToOwn, false}, {kBeside, kToOwn, false}},
    /* 10 */ {Folder::kNobodysReadOnly, Beside::kNone, false, true,
              {kSystem, kToOwn, false}, {kDefault, kToOwn, false}},
    // A folder everyone may write: nobody's own file, if writable, lies beside the program.
    /* 11 */ {Folder::kShared, Beside::kNobodys, false, false,
              {kDefault, kToOwn, kNotice}, {kBeside, kToBeside, false}},
    /* 12 */ {Folder::kShared, Beside::kNobodysReadOnly, true, false,
              {kOwn, kToOwn, kNotice}, {kOwn, kToOwn, kNotice}},
}};
// clang-format on

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(none)";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder under /opt, a system prefix, removed with all it holds.
class SystemFolder {
public:
    SystemFolder() {
        std::string name = "/opt/quillmark-settings-XXXXXX";
        if (::mkdtemp(name.data()) != nullptr) path_ = name;
    }
    ~SystemFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    SystemFolder(const SystemFolder&) = delete;
    SystemFolder& operator=(const SystemFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

class SettingsUsers : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "runs as root only, to run as a second user";
        if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "no setpriv";
        const passwd* nobody = ::getpwnam("nobody");
        const group* nogroup = ::getgrnam("nogroup");
        if (nobody == nullptr || nogroup == nullptr) GTEST_SKIP() << "no user nobody";
        ids_[kNobody] = {nobody->pw_uid, nogroup->gr_gid};
        fs::permissions(dir_, fs::perms(0755));
    }

    // Lays out the row's folders and files.
    void lay(const Row& row) {
        system_.reset();
        folder_.clear();
        if (row.folder == Folder::kSystem) {
            system_.emplace();
            ASSERT_FALSE(system_->path().empty()) << "cannot make a folder under /opt";
            program_ = system_->path();
        } else {
            program_ = dir_ / "program";
            fs::create_directory(program_);
        }
        fs::copy_file(LORRIN_CLI_PATH, program_ / "lorrin-cli");
        fs::copy_file(SETTINGS_SAVER_PATH, program_ / "settings_saver");
        if (row.beside != Beside::kNone) {
            write(program_ / "lorrin.ini", kBesideVersion,
                  row.beside == Beside::kRoots ? kRoot : kNobody);
            if (row.beside == Beside::kNobodysReadOnly)
                fs::permissions(program_ / "lorrin.ini", fs::perms(0444));
        }
        for (const User user : {kRoot, kNobody}) {
            fs::create_directories(home(user));
            own(home(user), user);
            if (row.own) {
                write(ownFile(user), kOwnVersion[user], user);
                fs::last_write_time(ownFile(user),
                                    fs::file_time_type::clock::now() - std::chrono::hours(1));
            }
        }
        if (row.system) write(systemFile(), kSystemVersion, kRoot);
        const User folderOwner =
            (row.folder == Folder::kNobodys || row.folder == Folder::kNobodysReadOnly) ? kNobody
                                                                                       : kRoot;
        own(program_, folderOwner);
        fs::permissions(program_, fs::perms(row.folder == Folder::kNobodysReadOnly ? 0555
                                            : row.folder == Folder::kShared        ? 0777
                                                                                   : 0755));
    }

    fs::path home(User user) const { return dir_ / kUserNames[user]; }
    fs::path ownFile(User user) const { return home(user) / ".config" / "lorrin" / "lorrin.ini"; }
    fs::path systemFile() const { return dir_ / "etc" / "lorrin" / "lorrin.ini"; }

    // Writes a settings file of `version` as `user` would have, folders included.
    void write(const fs::path& path, int version, User user) const {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "[matrix]\nqrversion=" << version << "\n";
        for (fs::path p = path; p != dir_ && p != program_; p = p.parent_path()) own(p, user);
    }
    void own(const fs::path& path, User user) const {
        ASSERT_EQ(::chown(path.c_str(), ids_[user].uid, ids_[user].gid), 0) << path;
    }

    struct Ran {
        int status;
        std::string out;
        std::string err;
    };
    // Runs a program of the program folder as `user`, with that user's home and the
    // shared system-wide defaults folder.
    Ran run(User user, const std::string& program, const std::string& args) const {
        const std::string as =
            user == kRoot ? "" : "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        const std::string command =
            "cd '" + dir_.string() + "' && " + as + "env -i PATH=/usr/bin:/bin HOME='" +
            home(user).string() + "' XDG_CONFIG_HOME='" + (home(user) / ".config").string() +
            "' XDG_CONFIG_DIRS='" + (dir_ / "etc").string() + "' '" +
            (program_ / program).string() + "' " + args + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir_ / "out.txt"),
                readFile(dir_ / "err.txt")};
    }
    // The symbol size lorrin-cli draws for `user`, and whether it named a file left alone.
    std::pair<std::string, bool> reads(User user) const {
        const Ran ran = run(user, "lorrin-cli", "-t qr --widths A");
        EXPECT_EQ(ran.status, 0) << ran.err;
        return {ran.out.substr(0, ran.out.find('\n')),
                ran.err.find(" is left alone (") != std::string::npos};
    }
    std::string sizeOf(Source source, User user) const {
        switch (source) {
            case kBeside: return symbolSize(kBesideVersion);
            case kOwn: return symbolSize(kOwnVersion[user]);
            case kSystem: return symbolSize(kSystemVersion);
            case kDefault: break;
        }
        return symbolSize(1);
    }

    // Every file that may hold settings, and every name in the program's folder, with
    // what it holds.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(program_)) {
            const std::string name = entry.path().filename().string();
            found["beside " + name] = name == "lorrin.ini" ? readFile(entry.path()) : "";
        }
        for (const User user : {kRoot, kNobody})
            found[std::string(kUserNames[user]) + "'s own"] = readFile(ownFile(user));
        found["system"] = readFile(systemFile());
        return found;
    }
    // The names whose contents differ between two listings.
    static std::string changed(const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after) {
        std::string names;
        std::map<std::string, std::string> all = before;
        all.insert(after.begin(), after.end());
        for (const auto& [name, text] : all) {
            const auto b = before.find(name);
            const auto a = after.find(name);
            if (b == before.end() || a == after.end() || b->second != a->second)
                names += (names.empty() ? "" : ", ") + name;
        }
        return names;
    }

    struct Ids {
        uid_t uid = 0;
        gid_t gid = 0;
    };
    std::array<Ids, 2> ids_{};
    std::optional<SystemFolder> system_;
    fs::path program_;
};

TEST_F(SettingsUsers, EachUserReadsAndWritesOnlyTheirOwnSettings) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        lay(row);
        if (HasFatalFailure()) return;
        std::array<std::string, 2> reading;
        for (const User user : {kRoot, kNobody}) {
            const auto [size, notice] = reads(user);
            const Expected& e = row.of(user);
            EXPECT_EQ(size, sizeOf(e.read, user)) << "row " << i << " " << kUserNames[user];
            EXPECT_EQ(notice, e.notice) << "row " << i << " " << kUserNames[user];
            reading[user] = size;
        }
        for (const User user : {kRoot, kNobody}) {
            const User other = user == kRoot ? kNobody : kRoot;
            const auto before = files();
            const Ran saved = run(user, "settings_saver", std::to_string(kSavedVersion[user]));
            EXPECT_EQ(saved.status, 0) << "row " << i << " " << kUserNames[user] << saved.err;
            const std::string expected = row.of(user).written == kToBeside
                                             ? "beside lorrin.ini"
                                             : std::string(kUserNames[user]) + "'s own";
            EXPECT_EQ(changed(before, files()), expected) << "row " << i << " " << kUserNames[user];
            reading[user] = symbolSize(kSavedVersion[user]);
            EXPECT_EQ(reads(user).first, reading[user]) << "row " << i << " " << kUserNames[user];
            EXPECT_EQ(reads(other).first, reading[other])
                << "row " << i << ": " << kUserNames[user] << "'s save reached "
                << kUserNames[other];
        }
    }
}

}  // namespace
}  // namespace lorrin
