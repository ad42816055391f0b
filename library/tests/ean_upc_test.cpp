// BarEncode for the JAN/UPC family (codes 50-58) and UPC-D (59-63).
#include "kelda.h"
#include "kelda.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

struct Encoding {
    int result;
    std::vector<std::int32_t> widths;  // room for 200 entries, as written
    std::vector<std::int32_t> parity;  // room for 50 entries, as written
};

constexpr std::int32_t kUnwritten = 0x5A5A;

Encoding barEncode(int code, const std::string& text, int wide = 3, int gap = 2) {
    Encoding e{0, std::vector<std::int32_t>(200, kUnwritten), std::vector<std::int32_t>(50, kUnwritten)};
    e.result = BarEncode(code, text.c_str(), wide, gap, e.widths.data(), e.parity.data());
    return e;
}

std::vector<std::int32_t> flagsOf(const Encoding& e) {
    std::vector<std::int32_t> flags;
    for (const std::int32_t f : e.parity) {
        if (f == KELDA_TERMINATOR) break;
        flags.push_back(f);
    }
    return flags;
}

void expectRange(const Encoding& e, std::size_t first, std::size_t last, std::int32_t value,
                 const std::string& what) {
    for (std::size_t i = first; i <= last; ++i) EXPECT_EQ(e.widths[i], value) << what << " entry " << i;
}

struct Row {
    int code;
    std::string text;
    int modules;
    std::size_t elementCount;
    std::vector<std::int32_t> prefix;                         // the first entries
    std::vector<std::int32_t> parity;                         // ParityFlags before the terminator
    std::vector<std::pair<std::size_t, std::size_t>> guards;  // entries that hold the guard value
};

// Expected values from the GS1 EAN/UPC number sets and parity tables.
const std::vector<Row> kRows = {
    {50,
     "4901234567894",
     95,
     59,
     {-1, -1, -1, 3, 1, 1, 2, 1, 1, 2, 3},  // 0: 9 in set A, 0 in set B
     {1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
     {{0, 2}, {27, 31}, {56, 58}}},
    {51,
     "12345670",
     67,
     43,
     {-1, -1, -1, 2, 2, 2, 1},
     {1, 1, 1, 1, 0, 0, 0, 0},
     {{0, 2}, {19, 23}, {40, 42}}},
    // UPC-E 123456 stands for 01234500006, check digit 5: sets B A A B B A
    {52, "123456", 51, 33, {-1, -1, -1, 1, 2, 2, 2}, {0, 1, 1, 0, 0, 1}, {{0, 2}, {27, 32}}},
    // the gap, then the add-on start guard; 12 mod 4 = 0 gives sets A A
    {55,
     "4901234567894.12",
     124,
     73,
     {},
     {1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1},
     {{0, 2}, {27, 31}, {56, 58}}},
    // add-on check value of 52495 is 1: sets B A B A A
    {58,
     "4901234567894.52495",
     151,
     91,
     {},
     {1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1},
     {{0, 2}, {27, 31}, {56, 58}}},
    {53, "123456.12", 80, 47, {}, {0, 1, 1, 0, 0, 1, 1, 1}, {{0, 2}, {27, 32}}},  // 5
    {54, "12345670.00", 96, 57, {}, {1, 1, 1, 1, 0, 0, 0, 0, 1, 1}, {{0, 2}, {19, 23}, {40, 42}}},
    {56, "123456.00000", 107, 65, {}, {0, 1, 1, 0, 0, 1, 0, 0, 1, 1, 1}, {{0, 2}, {27, 32}}},
    // 3(1+3+5) + 9(2+4) = 81: check value 1, sets B A B A A
    {57,
     "12345670.12345",
     123,
     75,
     {},
     {1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1},
     {{0, 2}, {19, 23}, {40, 42}}},
    // UPC-D: the flags of each version's layout
    {59,
     "123456.12345671",
     125,
     77,
     {},
     {1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1},
     {{0, 2}, {27, 32}, {34, 36}, {53, 57}, {74, 76}}},
    {60,
     "123456789012.12345670",
     169,
     103,
     {},  // 10
     {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0},
     {{0, 2}}},
    {61,
     "123456789012.1234.12345672",
     213,
     129,
     {},
     {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0},
     {{0, 2}}},
    {62,
     "123456789012.12345670.76543210",
     243,
     147,
     {},
     {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
     {{0, 2}}},
    {63,
     "123456789012.12345670.1234.12345672",
     287,
     173,
     {},
     {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 0, 0, 1, 1},
     {{0, 2}}},
};

TEST(EanUpcEncode, Rows) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        const Encoding e = barEncode(r.code, r.text);
        ASSERT_EQ(e.result, r.modules) << "row " << i;
        EXPECT_EQ(e.widths[r.elementCount], KELDA_TERMINATOR) << "row " << i;
        EXPECT_EQ(e.widths[r.elementCount + 1], kUnwritten) << "row " << i << ": written past the terminator";
        for (std::size_t k = 0; k < r.prefix.size(); ++k)
            EXPECT_EQ(e.widths[k], r.prefix[k]) << "row " << i << " entry " << k;
        EXPECT_EQ(flagsOf(e), r.parity) << "row " << i;
        for (const auto& [first, last] : r.guards)
            expectRange(e, first, last, -1, "row " + std::to_string(i));
        int sum = 0;
        for (std::size_t k = 0; k < r.elementCount; ++k) sum += std::abs(e.widths[k]);
        EXPECT_EQ(sum, r.modules) << "row " << i;
    }
}

TEST(EanUpcEncode, AddOnPieces) {
    const Encoding e = barEncode(KELDA_EAN13_ADDON2, "4901234567894.12");
    EXPECT_EQ(e.widths[59], 9);  // gap
    expectRange(e, 60, 61, 1, "add-on guard");
    EXPECT_EQ(e.widths[62], 2);
    EXPECT_EQ(e.widths[67], 1);  // separator
    EXPECT_EQ(e.widths[68], 1);
}

TEST(EanUpcEncode, UpcdSeparatorsAndGuards) {
    const Encoding v1 = barEncode(KELDA_UPCD1, "123456.12345671");
    EXPECT_EQ(v1.widths[33], 7);
    // With both `wide` and `gap` negative every guard element is a plain 1, separators stay 7.
    const Encoding plain = barEncode(KELDA_UPCD1, "123456.12345671", -3, -2);
    for (const std::size_t at : {0u, 2u, 27u, 32u, 34u, 53u, 57u, 74u, 76u})
        EXPECT_EQ(plain.widths[at], 1) << at;
    EXPECT_EQ(plain.widths[33], 7);
}

struct Failure {
    int code;
    std::string text;
    int result;
};

TEST(EanUpcEncode, Failures) {
    const std::vector<Failure> rows = {
        {KELDA_EAN13_ADDON2, "4901234567894.1x", KELDA_E_JAN_CHAR},  // 0
        {KELDA_EAN13_ADDON5, "4901234567894.1234x", KELDA_E_JAN_CHAR},
        {KELDA_EAN8_ADDON2, "12345670.1.", KELDA_E_JAN_CHAR},
        {KELDA_EAN8_ADDON2, "4901234567894.12", KELDA_E_GENERAL},    // main part of another code
        {KELDA_EAN13_ADDON2, "4901234567894", KELDA_E_GENERAL},      // no '.'
        {KELDA_EAN13_ADDON2, "4901234567894.123", KELDA_E_GENERAL},  // 5: add-on of 3
        {KELDA_UPCE_ADDON5, "12345.123456", KELDA_E_GENERAL},
        {0, "4901234567894", KELDA_E_GENERAL},
        {7, "4901234567894", KELDA_E_GENERAL},
        {49, "4901234567894", KELDA_E_GENERAL},
        {64, "4901234567894", KELDA_E_GENERAL},  // 10
        // Texts the checker never writes: each is refused before anything is written.
        {KELDA_EAN13, "", KELDA_E_GENERAL},
        {KELDA_EAN13, "ABCDEFGHIJKLM", KELDA_E_GENERAL},
        {KELDA_EAN13, "x", KELDA_E_GENERAL},
        {KELDA_EAN13, "490123456789", KELDA_E_GENERAL},    // one digit short
        {KELDA_EAN13, "49012345678941", KELDA_E_GENERAL},  // 15: one digit over
        {KELDA_EAN8, "1234567.", KELDA_E_GENERAL},
        {KELDA_UPCE, "12345x", KELDA_E_GENERAL},
        {KELDA_UPCE_ADDON2, "12345x.12", KELDA_E_GENERAL},  // main part not digits
        {KELDA_EAN13_ADDON5, "49012345.7894.12345", KELDA_E_GENERAL},
        {KELDA_UPCD1, "123456.1234567.", KELDA_E_GENERAL},        // 20: a '.' off its place
        {KELDA_UPCD1, "123456.1234567", KELDA_E_GENERAL},         // short
        {KELDA_UPCD1, "123456.123456789", KELDA_E_GENERAL},       // long
        {KELDA_UPCD2, "123456789012x12345678", KELDA_E_GENERAL},  // separator not a '.'
        {KELDA_UPCD5, "", KELDA_E_GENERAL},
        {KELDA_UPCD3, std::string(26, '.'), KELDA_E_GENERAL},  // 25
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Encoding e = barEncode(rows[i].code, rows[i].text);
        EXPECT_EQ(e.result, rows[i].result) << "row " << i;
        EXPECT_EQ(e.widths[0], kUnwritten) << "row " << i << ": refused codes write nothing";
        EXPECT_EQ(e.parity[0], kUnwritten) << "row " << i << ": refused codes write nothing";
    }
}

// The guard value follows the signs of `wide` and `gap` only; add-on pieces never change.
TEST(EanUpcEncode, GuardValueBySigns) {
    const struct {
        int wide, gap, guard;
    } rows[] = {{3, 2, -1}, {-3, -2, 1}, {-3, 2, -1}, {3, -2, -1}, {0, 0, -1}, {-1, 0, -1}};
    for (const auto& r : rows) {
        const Encoding e = barEncode(KELDA_EAN13_ADDON5, "4901234567894.52495", r.wide, r.gap);
        ASSERT_EQ(e.result, 151);
        expectRange(e, 0, 2, r.guard, "start");
        expectRange(e, 27, 31, r.guard, "centre");
        expectRange(e, 56, 58, r.guard, "end");
        EXPECT_EQ(e.widths[60], 1);
        EXPECT_EQ(e.widths[62], 2);
    }
}

}  // namespace
