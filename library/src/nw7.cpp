// NW-7 (Codabar): seven elements per character, two widths, a gap between characters.
// The text arrives with its start and stop letters (and any check character) in place.
#include "patterns.h"
#include "symbology.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace kelda {
namespace {

// AIM USS-Codabar, character table: bar, space, bar, space, bar, space, bar; 1 = wide.
// Rows are in check-value order (modulus 16); the start/stop letters, 16 to 19, last.
// Lower-case "a" to "d" are the same start/stop characters.
constexpr std::array<CharPattern, 20> NW7PatternTable = {{
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"},  // 0
    {'4', "0010010"}, {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"},  // 4
    {'8', "0110000"}, {'9', "1001000"}, {'-', "0001100"}, {'$', "0011000"},  // 8
    {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"}, {'+', "0010101"},  // 12
    {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},  // 16
}};
static_assert(std::ranges::all_of(NW7PatternTable, [](const CharPattern& r) {
    return r.pattern.size() == 7 && (countOf(r.pattern, '1') == 2 || countOf(r.pattern, '1') == 3);
}));
static_assert(allDistinct(NW7PatternTable, [](const CharPattern& r) { return r.pattern; }));

constexpr int kCheckModulus = 16;

constexpr TwoWidthSymbology kNW7{NW7PatternTable,   rowIndex(NW7PatternTable), 7, 16,
                                 KELDA_E_NW7_TABLE, KELDA_E_NW7_START_STOP};

}  // namespace

int nw7CheckCharacter(std::string_view text) {
    int sum = 0;
    for (const char c : text) {
        const int value = kNW7.row(c);
        if (value < 0) return -1;
        sum = (sum + value) % kCheckModulus;
    }
    return NW7PatternTable[static_cast<std::size_t>((kCheckModulus - sum) % kCheckModulus)].character;
}

// Every character's elements, and a gap between two characters.
std::size_t nw7ElementCount(const Symbology&, std::size_t length) {
    return length == 0 ? 0 : length * kNW7.elements + (length - 1) * 1 /* gap */;
}

int encodeNW7(std::string_view text, int wide, int gap, Widths widths) {
    return encodeTwoWidth(kNW7, text, wide, gap, widths);
}

}  // namespace kelda
