// A fresh folder for each test that writes files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace test_support {

// A folder of its own, made by mkdtemp so that the tests of several checkouts or builds
// running at once never meet in it, and removed with all it holds when this goes, also
// where a test took rights away from parts of it.  A failed removal fails the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Empties the folder, for the next row of a table.
    void clear() const;

private:
    std::filesystem::path path_;
};

// A test whose files go to `dir_`, a folder of its own.
class TempFolderTest : public ::testing::Test {
protected:
    const TempFolder folder_;
    const std::filesystem::path& dir_ = folder_.path();
};

}  // namespace test_support
