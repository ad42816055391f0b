#include "app/core/ansi_text.h"

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
constexpr std::array<Row, 10> kRows = {{
    /* 0 */ {"", ""},
    /* 1 */ {"ABC123", "ABC123"},
    /* 2 */ {"あいう", "\x82\xa0\x82\xa2\x82\xa4"},
    /* 3 */ {"ｱｲｳ", "\xb1\xb2\xb3"},
    /* 4 */ {"～", "\x81\x60"},
    /* 5 */ {"－", "\x81\x7c"},
    /* 6 */ {"①", "\x87\x40"},
    /* 7 */ {"A€B", "A\x80" "B"},
    /* 8 */ {"A\xff" "B", "A\x80" "B"},
    /* 9 */ {"A\xe3\x81", "A\x80\x80"},
}};

TEST(Cp932, ConvertsAndCounts) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        EXPECT_EQ(toCp932(kRows[i].utf8), kRows[i].cp932) << "row " << i;
        EXPECT_EQ(cp932Length(kRows[i].utf8), kRows[i].cp932.size()) << "row " << i;
    }
}

}  // namespace
}  // namespace lorrin
