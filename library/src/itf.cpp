// ITF (Interleaved 2 of 5): digits in pairs, the first drawn in five bars and the second
// in the five spaces between them; no gap between characters.
#include "patterns.h"
#include "symbology.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelda {
namespace {

// ISO/IEC 16390, digit table: five elements each, 1 = wide.
constexpr std::array<std::string_view, 10> ITFPatternTable = {
    "00110", "10001", "01001", "11000", "00101",  // 0
    "10100", "01100", "00011", "10010", "01010",  // 5
};
static_assert(std::ranges::all_of(ITFPatternTable,
                                  [](std::string_view p) { return p.size() == 5 && countOf(p, '1') == 2; }));
static_assert(allDistinct(ITFPatternTable, [](std::string_view p) { return p; }));

constexpr std::string_view kStart = "0000";  // narrow bar, space, bar, space
constexpr std::string_view kStop = "100";    // wide bar, narrow space, narrow bar
constexpr std::size_t kPairElements = 10;

constexpr std::string_view digitPattern(char digit) {
    return ITFPatternTable[static_cast<std::size_t>(digitValue(digit))];
}

}  // namespace

int itfCheckDigit(std::string_view digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (!isDigit(digits[i])) return -1;
        sum = (sum + digitValue(digits[i]) * (i % 2 == 0 ? 3 : 1)) % 10;
    }
    return '0' + (10 - sum) % 10;
}

// The start pattern, five elements per digit (bars or spaces of its pair), the stop pattern.
std::size_t itfElementCount(const Symbology&, std::size_t length) {
    return kStart.size() + length * kPairElements / 2 + kStop.size();
}

int encodeITF(std::string_view text, int wide, Widths widths) {
    // Only whole pairs can be drawn; an odd digit count would lose its last digit.
    if (text.size() % 2 != 0 || !std::ranges::all_of(text, isDigit)) return KELDA_E_ITF_TABLE;
    std::int64_t total = writeTwoWidth(kStart, wide, widths.first(kStart.size()));
    std::size_t next = kStart.size();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        // The first digit in the bars, the second in the spaces after them.
        const Widths pair = widths.subspan(next, kPairElements);
        total += writeTwoWidth(digitPattern(text[i]), wide, pair, 2);
        total += writeTwoWidth(digitPattern(text[i + 1]), wide, pair.subspan(1), 2);
        next += kPairElements;
    }
    total += writeTwoWidth(kStop, wide, widths.subspan(next, kStop.size()));
    widths[next + kStop.size()] = kTerminator;
    return moduleCount(total);
}

}  // namespace kelda
