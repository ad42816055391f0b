#include "platform/profile.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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
    std::string_view section, key;
    std::optional<std::string_view> expected;
};

// Texts are the stored bytes, blanks (a stray CR too) and one pair of quotes off.
constexpr std::array<StringRow, 6> kStringRows = {{
    /* 0 */ {"font", "name", "Liberation Sans"},
    /* 1 */ {"font", "path", "/usr/share"},
    /* 2 */ {"font", "missing", std::nullopt},
    /* 3 */ {"Font", "SIZE", "11"},
    /* 4 */ {"barcode", "check", ""},
    /* 5 */ {"sound", "ok", "\x83\x65\x83\x58\x83\x67.wav"},
}};

TEST(ProfileFile, ReadsTextsAsStored) {
    const ProfileFile file =
        ProfileFile::parse(std::string(kFile) + "[sound]\nok=\x83\x65\x83\x58\x83\x67.wav\r\r\n");
    for (std::size_t i = 0; i < kStringRows.size(); ++i) {
        const StringRow& r = kStringRows[i];
        EXPECT_EQ(file.getString(r.section, r.key), r.expected) << "row " << i;
    }
}

struct WriteRow {
    std::string_view before;
    std::string_view section, key, value;
    std::string_view after;
};

// Writes keep every byte of the lines they do not own, line ends included; a value that
// the reader would trim or unquote goes in double quotes.
constexpr std::array<WriteRow, 14> kWriteRows = {{
    /* 0 */ {"", "barcode", "h", "50", "[barcode]\nh=50\n"},
    /* 1 */
    {"; note\n[Barcode]\nH=70\nx=1\n", "barcode", "h", "50", "; note\n[Barcode]\nh=50\nx=1\n"},
    /* 2 */
    {"[barcode]\nh=1\n\n[font]\nsize=9\n", "barcode", "type", "3",
     "[barcode]\nh=1\ntype=3\n\n[font]\nsize=9\n"},
    /* 3 */ {"[barcode]\r\nh=1\r\n", "loc", "x", "10", "[barcode]\r\nh=1\r\n[loc]\r\nx=10\r\n"},
    /* 4 */ {"\xEF\xBB\xBF[a]\nk=v", "a", "k", "w", "\xEF\xBB\xBF[a]\nk=w"},
    /* 5 */ {"[sound]\nok=a.wav\n", "sound", "ok", "x\ny=1", "[sound]\nok=x y=1\n"},
    /* 6 */ {"[a]\n[b]\n", "a", "k", "1", "[a]\nk=1\n[b]\n"},
    /* 7 */ {"[a]\nk=1", "a", "j", "2", "[a]\nk=1\nj=2\n"},
    /* 8 */ {"[a]\r\nk=1", "b", "j", "2", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n"},
    /* 9 */ {"[a]\nk=1\r\r\r\n[b]\r\r\n", "b", "j", "2", "[a]\nk=1\r\r\r\n[b]\r\r\nj=2\n"},
    /* 10 */ {"[a]\r\nk=1\n", "a", "k", "2", "[a]\r\nk=2\n"},
    /* 11 */ {"[a]\n", "a", "k", " x ", "[a]\nk=\" x \"\n"},
    /* 12 */ {"[a]\n", "a", "k", "'q'\r", "[a]\nk=\"'q' \"\n"},
    /* 13 */ {"[A]\nK = \"5\" \r\r\n", "a", "k", "5", "[A]\nK = \"5\" \r\r\n"},
}};

TEST(ProfileFile, WritesKeepTheLinesTheyDoNotOwn) {
    for (std::size_t i = 0; i < kWriteRows.size(); ++i) {
        const WriteRow& r = kWriteRows[i];
        ProfileFile file = ProfileFile::parse(r.before);
        file.setString(r.section, r.key, r.value);
        EXPECT_EQ(file.serialize(), r.after) << "row " << i;
    }
}

TEST(ProfileFile, IntegersThatAlreadyReadAsTheValueKeepTheirLine) {
    struct Row {
        std::string_view before;
        std::int32_t value;
        std::string_view after;
    };
    constexpr std::array<Row, 4> kRows = {{
        /* 0 */ {"[a]\nH=070\r\r\n", 70, "[a]\nH=070\r\r\n"},
        /* 1 */ {"[a]\nh=+7x\n", 7, "[a]\nh=+7x\n"},
        /* 2 */ {"[a]\nh=070\n", 71, "[a]\nh=71\n"},
        /* 3 */ {"[a]\nh=\n", 0, "[a]\nh=0\n"},  // empty reads as the caller's default
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ProfileFile file = ProfileFile::parse(kRows[i].before);
        file.setInt("a", "h", kRows[i].value);
        EXPECT_EQ(file.serialize(), kRows[i].after) << "row " << i;
    }
}

TEST(ProfileFile, SetTextsReadBackAsSet) {
    // Line breaks become blanks; everything else comes back as it was given.
    constexpr std::array<std::string_view, 7> kValues = {
        "plain", "", " lead", "trail\t", "\"both\"", "'single'", "\"\"",
    };
    for (std::size_t i = 0; i < kValues.size(); ++i) {
        ProfileFile file = ProfileFile::parse(kFile);
        file.setString("font", "name", kValues[i]);
        EXPECT_EQ(ProfileFile::parse(file.serialize()).getString("font", "name"), kValues[i])
            << "row " << i;
    }
}

TEST(ProfileFile, ParseThenSerializeGivesTheSameBytes) {
    // Several CRs before a LF, mixed line ends, a lone CR, no line end at the end.
    constexpr std::array<std::string_view, 10> kImages = {
        "",
        "[a]\nk=1\r\r\n",
        "\xEF\xBB\xBF",
        "[barcode]\r\r\nh=1\r\r\r\n",
        "[a]\r\nk=1\nj=2\r\n",
        "k=1\rj=2\r",
        "\n\n\r\n",
        "[a]\nk=v",
        "\xEF\xBB\xBF[a]\r\nk=\x83\x65\r",
        "\r",
    };
    for (std::size_t i = 0; i < kImages.size(); ++i)
        EXPECT_EQ(ProfileFile::parse(kImages[i]).serialize(), kImages[i]) << "row " << i;
}

class ProfileFileOnDisk : public test_support::TempFolderTest {};

TEST_F(ProfileFileOnDisk, SaveReplacesTheFileAndLeavesNoTemporary) {
    const auto path = dir_ / "lorrin.ini";
    std::ofstream(path) << "; keep me\n[barcode]\nh=1\n";
    ProfileFile file = *ProfileFile::load(path);
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
    const auto file = ProfileFile::load(dir_ / "absent.ini");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->getInt("barcode", "h", 50), 50);
    EXPECT_TRUE(ProfileFile::load(dir_ / "absent" / "lorrin.ini"));
    EXPECT_FALSE(file->save(dir_ / "no" / "such" / "folder" / "lorrin.ini"));
}

TEST_F(ProfileFileOnDisk, WhatCannotBeReadIsReportedNotThrown) {
    // A folder is not a plain file; the process's own memory file fails at address 0 with
    // an I/O error, as a failing disk would; a FIFO would block the start until someone
    // writes to it; a file over the limit is a runaway, not settings.  Each says why.
    struct Row {
        const char* what;
        std::filesystem::path path;
        std::error_code why;
    };
    std::filesystem::create_directory(dir_ / "lorrin.ini");
    ASSERT_EQ(::mkfifo((dir_ / "fifo.ini").c_str(), 0600), 0);
    std::ofstream(dir_ / "huge.ini") << std::string(ProfileFile::kMaxFileSize + 1, ';');
    std::ofstream(dir_ / "large.ini") << std::string(ProfileFile::kMaxFileSize, ';');
    const Row rows[] = {
        {"a folder", dir_ / "lorrin.ini", std::make_error_code(std::errc::not_supported)},
        {"a FIFO", dir_ / "fifo.ini", std::make_error_code(std::errc::not_supported)},
        {"a file over the limit", dir_ / "huge.ini",
         std::make_error_code(std::errc::file_too_large)},
        {"memory", "/proc/self/mem", std::make_error_code(std::errc::io_error)},
    };
    for (const Row& r : rows) {
        if (!std::filesystem::exists(r.path)) continue;
        std::error_code why;
        EXPECT_FALSE(ProfileFile::load(r.path, &why)) << r.what;
        EXPECT_EQ(why, r.why) << r.what << ": " << why.message();
    }
    EXPECT_TRUE(ProfileFile::load(dir_ / "large.ini")) << "a file at the limit is read";
}

}  // namespace
}  // namespace platform
