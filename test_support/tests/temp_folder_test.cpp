#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace test_support {
namespace {

namespace fs = std::filesystem;

// What tests leave behind: a read-only folder with a file, a folder without any rights
// with a folder in it, and a link to `outside`, a folder without rights that is not ours.
void leaveLockedParts(const fs::path& dir, const fs::path& outside) {
    fs::create_directories(dir / "locked");
    std::ofstream(dir / "locked" / "file") << "x";
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_directories(dir / "closed" / "inner");
    fs::permissions(dir / "closed", fs::perms::none);
    fs::permissions(outside, fs::perms::none);
    fs::create_directory_symlink(outside, dir / "link");
}

bool isEmptyFolder(const fs::path& dir) { return fs::is_directory(dir) && fs::is_empty(dir); }

// As an ordinary user, for whom rights count: clearing and removing leave nothing, and the
// folder behind the link keeps its own rights.  Returns 0 when all holds.
int clearAndRemoveLockedParts() {
    if (geteuid() == 0 && setuid(65534) != 0) return 1;
    const TempFolder outside;
    fs::path gone;
    {
        const TempFolder folder;
        gone = folder.path();
        leaveLockedParts(folder.path(), outside.path());
        folder.clear();
        if (!isEmptyFolder(folder.path())) return 2;
        leaveLockedParts(folder.path(), outside.path());
    }
    if (fs::exists(gone)) return 3;
    return fs::status(outside.path()).permissions() == fs::perms::none ? 0 : 4;
}

TEST(TempFolder, EachIsFreshAndGoesWithAllItHolds) {
    const TempFolder a;
    const TempFolder b;
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(isEmptyFolder(a.path()));
    EXPECT_TRUE(isEmptyFolder(b.path()));
    // _exit: the child skips the program's exit handlers, a leak check among them, which
    // cannot inspect a process that has changed its user.
    EXPECT_EXIT(_exit(clearAndRemoveLockedParts()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace test_support
