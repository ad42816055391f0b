#include "platform/profile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

constexpr std::string_view kFile =
    "; written by hand\n"
    "[Barcode]\n"
    "H=70\n"
    "gh = 12abc\n"
    "wn=abc\n"
    "narrow=-3\n"
    "gap=+4\n"
    "check=\n"
    "big=4294967297\n"
    "h=99\n"
    "\n"
    "[font]\n"
    "name=\"Liberation Sans\"\n"
    "path='/usr/share'\n"
    "size=  11  \n"
    "[barcode]\n"
    "beep=0\n";

struct IntRow {
    std::string_view section, key;
    std::int32_t fallback, expected;
};

// Integers: names without case, the first section and key of a name win, leading sign
// and digits only, an empty value or missing key gives the fallback.
constexpr std::array<IntRow, 12> kIntRows = {{
    /* 0 */ {"barcode", "h", 50, 70},
    /* 1 */ {"BARCODE", "gh", 5, 12},
    /* 2 */ {"barcode", "wn", 3, 0},
    /* 3 */ {"barcode", "narrow", 1, -3},
    /* 4 */ {"barcode", "gap", 2, 4},
    /* 5 */ {"barcode", "check", 1, 1},
    /* 6 */ {"barcode", "big", 0, 1},
    /* 7 */ {"barcode", "missing", 42, 42},
    /* 8 */ {"font", "size", 9, 11},
    /* 9 */ {"nosection", "h", 7, 7},
    /* 10 */ {"barcode", "beep", 1, 1},
    /* 11 */ {"font", "h", 8, 8},
}};

TEST(ProfileFile, ReadsIntegersAsThePlatformReaderDoes) {
    const ProfileFile file = ProfileFile::parse(kFile);
    for (std::size_t i = 0; i < kIntRows.size(); ++i) {
        const IntRow& r = kIntRows[i];
        EXPECT_EQ(file.getInt(r.section, r.key, r.fallback), r.expected) << "row " << i;
    }
}

struct StringRow {
    std::string_view section, key, fallback;
    std::size_t bufferSize;
    std::string_view expected;
};

constexpr std::array<StringRow, 7> kStringRows = {{
    /* 0 */ {"font", "name", "Arial", 40, "Liberation Sans"},
    /* 1 */ {"font", "name", "Arial", 8, "Liberat"},
    /* 2 */ {"font", "path", "", 40, "/usr/share"},
    /* 3 */ {"font", "missing", "Arial", 40, "Arial"},
    /* 4 */ {"font", "missing", "Arial", 3, "Ar"},
    /* 5 */ {"font", "name", "Arial", 0, ""},
    /* 6 */ {"Font", "SIZE", "", 40, "11"},
}};

TEST(ProfileFile, ReadsTextsCutToTheBuffer) {
    const ProfileFile file = ProfileFile::parse(kFile);
    for (std::size_t i = 0; i < kStringRows.size(); ++i) {
        const StringRow& r = kStringRows[i];
        EXPECT_EQ(file.getString(r.section, r.key, r.fallback, r.bufferSize), r.expected)
            << "row " << i;
    }
}

TEST(ProfileFile, CutNeverSplitsAUtf8Sequence) {
    const ProfileFile file = ProfileFile::parse("[font]\nname=ＭＳ ゴシック\n");
    // "Ｍ" and "Ｓ" are three bytes each: a 5-byte cut keeps only the first.
    EXPECT_EQ(file.getString("font", "name", "", 6), "Ｍ");
    EXPECT_EQ(file.getString("font", "name", "", 7), "ＭＳ");
}

struct WriteRow {
    std::string_view before;
    std::string_view section, key, value;
    std::string_view after;
};

// Writes keep every line they do not own, comments and unknown keys included.
constexpr std::array<WriteRow, 7> kWriteRows = {{
    /* 0 */ {"", "barcode", "h", "50", "[barcode]\nh=50\n"},
    /* 1 */ {"; note\n[Barcode]\nH=70\nx=1\n", "barcode", "h", "50",
             "; note\n[Barcode]\nh=50\nx=1\n"},
    /* 2 */ {"[barcode]\nh=1\n\n[font]\nsize=9\n", "barcode", "type", "3",
             "[barcode]\nh=1\ntype=3\n\n[font]\nsize=9\n"},
    /* 3 */ {"[barcode]\r\nh=1\r\n", "loc", "x", "10", "[barcode]\r\nh=1\r\n[loc]\r\nx=10\r\n"},
    /* 4 */ {"\xEF\xBB\xBF[a]\nk=v", "a", "k", "w", "\xEF\xBB\xBF[a]\nk=w\n"},
    /* 5 */ {"[sound]\nok=a.wav\n", "sound", "ok", "x\ny=1", "[sound]\nok=x y=1\n"},
    /* 6 */ {"[a]\n[b]\n", "a", "k", "1", "[a]\nk=1\n[b]\n"},
}};

TEST(ProfileFile, WritesKeepTheLinesTheyDoNotOwn) {
    for (std::size_t i = 0; i < kWriteRows.size(); ++i) {
        const WriteRow& r = kWriteRows[i];
        ProfileFile file = ProfileFile::parse(r.before);
        file.setString(r.section, r.key, r.value);
        EXPECT_EQ(file.serialize(), r.after) << "row " << i;
    }
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("profile_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ProfileFileOnDisk, SaveReplacesTheFileAndLeavesNoTemporary) {
    const auto path = dir_ / "lorrin.ini";
    std::ofstream(path) << "; keep me\n[barcode]\nh=1\n";
    ProfileFile file = ProfileFile::load(path);
    file.setInt("barcode", "h", -20);
    ASSERT_TRUE(file.save(path));
    std::ifstream in(path, std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(saved, "; keep me\n[barcode]\nh=-20\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileFileOnDisk, MissingFileReadsEmptyAndUnwritableFolderFailsToSave) {
    const ProfileFile file = ProfileFile::load(dir_ / "absent.ini");
    EXPECT_EQ(file.getInt("barcode", "h", 50), 50);
    EXPECT_FALSE(file.save(dir_ / "no" / "such" / "folder" / "lorrin.ini"));
}

}  // namespace
}  // namespace platform
