// NW-7, Code 39, ITF, Code 128 and Code 93: check characters and element layouts against
// the worked examples of their standards, and the refusals of texts that bypass the checker.
#include "symbology.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

struct Drawn {
    int result;
    std::vector<std::int32_t> widths;  // exactly the documented room: ElementCount + 1
};

Drawn draw(int code, const std::string& text, int wide = 3, int gap = 2) {
    Drawn d{0, std::vector<std::int32_t>(kelda::findSymbology(code)->elementCount(text.size()) + 1, 0)};
    std::vector<std::int32_t> parity(KELDA_PARITY_ROOM, 0);
    d.result = BarEncode(code, text.c_str(), wide, gap, d.widths.data(), parity.data());
    return d;
}

// ---- check characters ----

struct CheckRow {
    int (*function)(std::string_view);
    const char* text;
    int expected;
};

TEST(CheckCharacters, WorkedExamples) {
    const CheckRow rows[] = {
        /* 0 */ {kelda::nw7CheckCharacter, "A40156B", '+'},  // 49 mod 16 = 1
        /* 1 */ {kelda::nw7CheckCharacter, "a40156b", '+'},
        /* 2 */ {kelda::nw7CheckCharacter, "A0A", '0'},  // 32, a multiple of 16
        /* 3 */ {kelda::nw7CheckCharacter, "A4*A", -1},
        /* 4 */ {kelda::code39CheckCharacter, "*CODE39*", 'W'},  // 75 mod 43 = 32
        /* 5 */ {kelda::code39CheckCharacter, "*code39*", 'W'},
        /* 6 */ {kelda::code39CheckCharacter, "*Z3*", ' '},  // 38
        /* 7 */ {kelda::code39CheckCharacter, "*%%*", '+'},  // 84 mod 43 = 41
        /* 8 */ {kelda::code39CheckCharacter, "*AB*C*", -1},
        /* 9 */ {kelda::itfCheckDigit, "01234", '8'},  // 0*3 + 1 + 2*3 + 3 + 4*3 = 22
        /* 10 */ {kelda::itfCheckDigit, "1", '7'},
        /* 11 */ {kelda::itfCheckDigit, "00000", '0'},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].function(rows[i].text), rows[i].expected) << "row " << i << " " << rows[i].text;
}

// ---- layouts ----

struct LayoutRow {
    int code;
    const char* text;
    int wide;
    int gap;
    int modules;        // or the negative result
    int elementCount;   // where the terminator stands
    const char* start;  // the first entries, one digit each (the standards' tables), or ""
};

class Layout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(Layout, MatchesTheStandards) {
    const LayoutRow row = GetParam();
    const Drawn d = draw(row.code, row.text, row.wide, row.gap);
    ASSERT_EQ(d.result, row.modules);
    if (row.modules < 0) return;
    ASSERT_EQ(d.widths.size(), static_cast<std::size_t>(row.elementCount) + 1);
    EXPECT_EQ(d.widths.back(), KELDA_TERMINATOR);
    const int drawn = std::accumulate(d.widths.begin(), d.widths.end() - 1, 0,
                                      [](int sum, std::int32_t w) { return sum + std::abs(w); });
    // Code 93's termination bar lies outside its ModuleCount.
    EXPECT_EQ(drawn, row.modules + (row.code == KELDA_CODE93 ? 1 : 0));
    const std::string start = row.start;
    for (std::size_t i = 0; i < start.size(); ++i) EXPECT_EQ(d.widths[i], start[i] - '0') << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, Layout,
    ::testing::Values(
        // NW-7: A = 0011010, 1 = 0000110, 1 marking a wide element.
        /* 0 */ LayoutRow{KELDA_NW7, "A1A", 3, 2, 41, 23, "11331312111133121133131"},
        /* 1 */ LayoutRow{KELDA_NW7, "A", 3, 2, 13, 7, "1133131"},
        /* 2 */ LayoutRow{KELDA_NW7, "D-$:/.+C", 2, 3, 99, 63, ""},
        /* 3 */ LayoutRow{KELDA_NW7, "A1A2A", 3, 2, KELDA_E_NW7_START_STOP, 0, ""},
        /* 4 */ LayoutRow{KELDA_NW7, "A1*A", 3, 2, KELDA_E_NW7_TABLE, 0, ""},
        // Code 39: * = 010010100, A = 100001001.
        /* 5 */ LayoutRow{KELDA_CODE39, "*A*", 3, 2, 49, 29, "1311313112311113113"},
        /* 6 */ LayoutRow{KELDA_CODE39, "*", 3, 2, 15, 9, "131131311"},
        /* 7 */ LayoutRow{KELDA_CODE39, "AB", 2, 1, 25, 19, "211112112"},  // no '*' needed
        /* 8 */ LayoutRow{KELDA_CODE39, "*A*B*", 3, 2, KELDA_E_CODE39_STAR, 0, ""},
        /* 9 */ LayoutRow{KELDA_CODE39, "*A#*", 3, 2, KELDA_E_CODE39_TABLE, 0, ""},
        // ITF: start, the pairs 12 and 34 interleaved, stop.
        /* 10 */ LayoutRow{KELDA_ITF, "1234", 3, 2, 45, 27, "111131131111333131131113311"},
        /* 11 */ LayoutRow{KELDA_ITF, "", 3, 2, 9, 7, "1111311"},
        /* 12 */ LayoutRow{KELDA_ITF, "123", 3, 2, KELDA_E_ITF_TABLE, 0, ""},
        /* 13 */ LayoutRow{KELDA_ITF, "12a4", 3, 2, KELDA_E_ITF_TABLE, 0, ""},
        // Code 128: start B, values 33 34 35, check 1, stop.
        /* 14 */ LayoutRow{KELDA_CODE128_TEXT, "ABC", 3, 2, 68, 37, "2112141113231311231313212221222331112"},
        /* 15 */ LayoutRow{KELDA_CODE128_TEXT, "", 3, 2, 35, 19, "2112142221222331112"},
        /* 16 */ LayoutRow{KELDA_CODE128_TEXT, "A\x7F", 3, 2, KELDA_E_TABLE, 0, ""},
        /* 17 */
        LayoutRow{KELDA_CODE128_VALUES, "B212223", 3, 2, 68, 37, "2112141113231311231313212221222331112"},
        // Start C, values 12 and 34, check (105 + 12 + 68) mod 103 = 82.
        /* 18 */ LayoutRow{KELDA_CODE128_VALUES, "c0c22", 3, 2, 57, 31, "2112321122321311231212412331112"},
        /* 19 */ LayoutRow{KELDA_CODE128_VALUES, "A", 3, 2, 35, 19, "2114122122222331112"},
        /* 20 */ LayoutRow{KELDA_CODE128_VALUES, "B67", 3, 2, KELDA_E_CODE128_HEX, 0, ""},
        /* 21 */ LayoutRow{KELDA_CODE128_VALUES, "D01", 3, 2, KELDA_E_CODE128_HEX, 0, ""},
        /* 22 */ LayoutRow{KELDA_CODE128_VALUES, "B0", 3, 2, KELDA_E_CODE128_HEX, 0, ""},
        /* 23 */ LayoutRow{KELDA_CODE128_VALUES, "B0G", 3, 2, KELDA_E_CODE128_HEX, 0, ""},
        /* 24 */ LayoutRow{KELDA_CODE128_VALUES, "", 3, 2, KELDA_E_CODE128_HEX, 0, ""},
        // Code 93: start, T E S T 9 3, C = "+", K = "6", stop, termination bar.
        /* 25 */
        LayoutRow{KELDA_CODE93, "TEST93", 3, 2, 90, 61,
                  "1111412112212212112111222112211411111114111131211213111111411"},
        // "A": C = "A" (10), K = "U" (2 * 10 + 10 = 30).
        /* 26 */ LayoutRow{KELDA_CODE93, "A", 3, 2, 45, 31, "1111412111132111132211211111411"},
        /* 27 */ LayoutRow{KELDA_CODE93, "", 3, 2, 36, 25, "1111411311121311121111411"},
        /* 28 */ LayoutRow{KELDA_CODE93, "e", 3, 2, KELDA_E_TABLE, 0, ""},
        /* 29 */ LayoutRow{KELDA_CODE93, "A*", 3, 2, KELDA_E_TABLE, 0, ""}));

// Lower-case start/stop letters, Code 39 letters and hex digits draw as upper case.
TEST(Layout, LowerCaseDrawsAsUpperCase) {
    const struct {
        int code;
        const char* lower;
        const char* upper;
    } rows[] = {
        /* 0 */ {KELDA_NW7, "a1b", "A1B"},
        /* 1 */ {KELDA_NW7, "c-d", "C-D"},
        /* 2 */ {KELDA_CODE39, "*abc*", "*ABC*"},
        /* 3 */ {KELDA_CODE128_VALUES, "b2a", "B2A"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Drawn lower = draw(rows[i].code, rows[i].lower);
        EXPECT_GT(lower.result, 0) << "row " << i;
        EXPECT_EQ(lower.widths, draw(rows[i].code, rows[i].upper).widths) << "row " << i;
    }
}

// Texts that only a direct caller can pass: nothing may be written, not even a terminator.
TEST(Layout, EmptyTwoWidthTextIsRefused) {
    EXPECT_EQ(kelda::encodeNW7("", 3, 2, {}), KELDA_E_GENERAL);
    EXPECT_EQ(kelda::encodeCode39("", 3, 2, {}), KELDA_E_GENERAL);
}

// `wide` and `gap` are the caller's; a total beyond 32 bits is refused, not wrapped.
TEST(Layout, ModuleTotalBeyond32BitsIsRefused) {
    EXPECT_EQ(draw(KELDA_NW7, "A1A", 0x40000000, 2).result, KELDA_E_GENERAL);
    EXPECT_EQ(draw(KELDA_CODE39, "*A*", 2, 0x7FFFFFFF).result, KELDA_E_GENERAL);
    EXPECT_EQ(draw(KELDA_ITF, "1234", 0x7FFFFFFF).result, KELDA_E_GENERAL);
    EXPECT_EQ(draw(KELDA_ITF, "", 0x7FFFFFF0).result, 0x7FFFFFF6);
}

}  // namespace
