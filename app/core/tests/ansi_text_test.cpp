#include "lorrin/ansi_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace lorrin {
namespace {

struct Row {
    std::string_view utf8;
    std::string_view cp932;
};

// Byte values from the Microsoft CP932 table (WINDOWS-31J); the tilde and the minus show
// the vendor mappings that plain Shift_JIS lacks.  0x80 stands for what CP932 lacks.
constexpr std::array<Row, 12> kRows = {{
    /* 0 */ {"", ""},
    /* 1 */ {"ABC123", "ABC123"},
    /* 2 */ {"あいう", "\x82\xa0\x82\xa2\x82\xa4"},
    /* 3 */ {"ｱｲｳ", "\xb1\xb2\xb3"},
    /* 4 */ {"～", "\x81\x60"},
    /* 5 */ {"－", "\x81\x7c"},
    /* 6 */ {"①", "\x87\x40"},
    /* 7 */
    {"A€B",
     "A\x80"
     "B"},
    /* 8 */
    {"A\xff"
     "B",
     "A\x80"
     "B"},
    /* 9 */ {"A\xe3\x81", "A\x80\x80"},
    // ASCII as it is, the backslash and the tilde too (CP932 is not JIS X 0201 there);
    // a text cut short above leaves nothing behind for the next.
    /* 10 */ {"\\~\t\x7f\x01 z", "\\~\t\x7f\x01 z"},
    /* 11 */ {"\\あ~", "\\\x82\xa0~"},
}};

TEST(Cp932, ConvertsAndCounts) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        EXPECT_EQ(toCp932(kRows[i].utf8), kRows[i].cp932) << "row " << i;
        EXPECT_EQ(cp932Length(kRows[i].utf8), kRows[i].cp932.size()) << "row " << i;
    }
}

struct PrefixRow {
    std::string_view utf8;
    std::size_t bytes;
    std::string_view expected;
};

// Cut by the CP932 measure: double-byte characters 2, half-width katakana 1, a character
// CP932 lacks 1, never inside a character.
constexpr std::array<PrefixRow, 7> kPrefixRows = {{
    /* 0 */ {"Arial", 39, "Arial"},
    /* 1 */ {"Arial", 3, "Ari"},
    /* 2 */ {"ＭＳ ゴシック", 5, "ＭＳ "},
    /* 3 */ {"ＭＳ ゴシック", 6, "ＭＳ "},
    /* 4 */ {"ｱｲｳｴｵ", 4, "ｱｲｳｴ"},
    /* 5 */ {"A€ゴ", 3, "A€"},
    /* 6 */ {"ゴ", 1, ""},
}};

TEST(Cp932, PrefixesCountCp932Bytes) {
    for (std::size_t i = 0; i < kPrefixRows.size(); ++i)
        EXPECT_EQ(cp932Prefix(kPrefixRows[i].utf8, kPrefixRows[i].bytes), kPrefixRows[i].expected)
            << "row " << i;
}

// Stored texts: UTF-8 stays, anything else is CP932 (bytes from the Microsoft table).
constexpr std::array<Row, 7> kStoredRows = {{
    /* 0 */ {"Arial", "Arial"},
    /* 1 */ {"ＭＳ ゴシック", "ＭＳ ゴシック"},
    /* 2 */ {"ＭＳ ゴシック", "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"},
    /* 3 */ {"ﾃｽﾄ", "\xc3\xbd\xc4"},
    /* 4 */ {"C:\\音\\ok.wav", "C:\\\x89\xb9\\ok.wav"},
    /* 5 */ {"あ\xEF\xBF\xBD", "\x82\xa0\x82"},
    /* 6 */ {"ソ表", "\x83\x5c\x95\x5c"},
}};

TEST(Cp932, StoredTextsReadAsUtf8OrCp932) {
    for (std::size_t i = 0; i < kStoredRows.size(); ++i)
        EXPECT_EQ(fromStoredText(kStoredRows[i].cp932), kStoredRows[i].utf8) << "row " << i;
}

}  // namespace
}  // namespace lorrin
