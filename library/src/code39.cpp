// Code 39: nine elements per character, three of them wide, a gap between characters.
// The text arrives with its "*" start and stop (and any check character) in place.
#include "patterns.h"
#include "symbology.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace kelda {
namespace {

// ISO/IEC 16388, character table: bar, space, ... bar; 1 = wide.  Rows are in check-value
// order (modulus 43); the start/stop "*" comes last and has no check value.  Lower-case
// letters are drawn as their upper-case letters.
constexpr std::array<CharPattern, 44> Code39PatternTable = {{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},  // 0
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},  // 4
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},  // 8
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},  // 12
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},  // 16
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},  // 20
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},  // 24
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},  // 28
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},  // 32
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},  // 36
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},  // 40
}};
static_assert(std::ranges::all_of(Code39PatternTable, [](const CharPattern& r) {
    return r.pattern.size() == 9 && countOf(r.pattern, '1') == 3;
}));
static_assert(allDistinct(Code39PatternTable, [](const CharPattern& r) { return r.pattern; }));

constexpr std::size_t kStartStopRow = 43;
constexpr int kCheckModulus = 43;

constexpr TwoWidthSymbology kCode39{Code39PatternTable, rowIndex(Code39PatternTable), 9,
                                    kStartStopRow,      KELDA_E_CODE39_TABLE,         KELDA_E_CODE39_STAR};

}  // namespace

int code39CheckCharacter(std::string_view text) {
    // The check covers everything between the first and the last character, the "*"s.
    const std::string_view data = text.size() > 2 ? text.substr(1, text.size() - 2) : std::string_view{};
    int sum = 0;
    for (const char c : data) {
        const int value = kCode39.row(c);
        if (value < 0 || static_cast<std::size_t>(value) == kStartStopRow) return -1;
        sum = (sum + value) % kCheckModulus;
    }
    return Code39PatternTable[static_cast<std::size_t>(sum)].character;
}

// Every character's elements, and a gap between two characters.
std::size_t code39ElementCount(const Symbology&, std::size_t length) {
    return length == 0 ? 0 : length * kCode39.elements + (length - 1) * 1 /* gap */;
}

int encodeCode39(std::string_view text, int wide, int gap, Widths widths) {
    return encodeTwoWidth(kCode39, text, wide, gap, widths);
}

}  // namespace kelda
