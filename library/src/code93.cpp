// Code 93: symbol characters of six elements and 9 modules, the start character, the
// two check characters C and K, the stop character and a termination bar.  Only the basic
// character set is drawn; the text writes the four shift characters as "a" to "d".
#include "patterns.h"
#include "symbology.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelda {
namespace {

// AIM USS-93, character table: module widths of bar, space, bar, space, bar, space for
// the values 0 to 46, in value order.  The shift characters ($), (%), (/), (+) are 43 to 46.
constexpr std::array<CharPattern, 47> Code93PatternTable = {{
    {'0', "131112"}, {'1', "111213"}, {'2', "111312"}, {'3', "111411"},  // 0
    {'4', "121113"}, {'5', "121212"}, {'6', "121311"}, {'7', "111114"},  // 4
    {'8', "131211"}, {'9', "141111"}, {'A', "211113"}, {'B', "211212"},  // 8
    {'C', "211311"}, {'D', "221112"}, {'E', "221211"}, {'F', "231111"},  // 12
    {'G', "112113"}, {'H', "112212"}, {'I', "112311"}, {'J', "122112"},  // 16
    {'K', "132111"}, {'L', "111123"}, {'M', "111222"}, {'N', "111321"},  // 20
    {'O', "121122"}, {'P', "131121"}, {'Q', "212112"}, {'R', "212211"},  // 24
    {'S', "211122"}, {'T', "211221"}, {'U', "221121"}, {'V', "222111"},  // 28
    {'W', "112122"}, {'X', "112221"}, {'Y', "122121"}, {'Z', "123111"},  // 32
    {'-', "121131"}, {'.', "311112"}, {' ', "311211"}, {'$', "321111"},  // 36
    {'/', "112131"}, {'+', "113121"}, {'%', "211131"}, {'a', "121221"},  // 40
    {'b', "312111"}, {'c', "311121"}, {'d', "122211"},                   // 44
}};
constexpr std::string_view kStartStopPattern = "111141";
static_assert(std::ranges::all_of(Code93PatternTable, [](const CharPattern& r) {
    return r.pattern.size() == 6 && digitSum(r.pattern) == 9;
}));
static_assert(allDistinct(Code93PatternTable, [](const CharPattern& r) { return r.pattern; }) &&
              std::ranges::none_of(Code93PatternTable,
                                   [](const CharPattern& r) { return r.pattern == kStartStopPattern; }));

// Character to value; -1 for every character outside the set.  No character is
// upper-cased: "a" to "d" are the shift characters and other lower-case letters are refused.
constexpr RowIndex Code93ValueMap = rowIndex(Code93PatternTable);

constexpr int kCheckModulus = 47;
constexpr std::size_t kSymbolElements = 6;

// Weights count from the right end of the text, from 1 up to 20 for C and from 2 up to
// 15 for K (K gives weight 1 to C), then start again at 1.
constexpr std::uint64_t cWeight(std::size_t fromRight) { return (fromRight - 1) % 20 + 1; }
constexpr std::uint64_t kWeight(std::size_t fromRight) { return fromRight % 15 + 1; }

}  // namespace

// The start, one symbol character per text character, C and K, the stop and the
// termination bar.
std::size_t code93ElementCount(const Symbology&, std::size_t length) {
    return kStartStopPattern.size() + length * kSymbolElements + 2 * kSymbolElements +
           kStartStopPattern.size() + 1;
}

int encodeCode93(std::string_view text, Widths widths) {
    std::size_t next = 0;
    std::int64_t modules = 0;
    const auto draw = [&](std::string_view pattern) {
        modules += writeModules(pattern, widths.subspan(next, kSymbolElements));
        next += kSymbolElements;
    };

    draw(kStartStopPattern);
    std::uint64_t cSum = 0;
    std::uint64_t kSum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int value = rowOf(Code93ValueMap, text[i]);
        if (value < 0) return KELDA_E_TABLE;
        const auto v = static_cast<std::uint64_t>(value);
        const std::size_t fromRight = text.size() - i;
        cSum = (cSum + v * cWeight(fromRight)) % kCheckModulus;
        kSum = (kSum + v * kWeight(fromRight)) % kCheckModulus;
        draw(Code93PatternTable[static_cast<std::size_t>(value)].pattern);
    }
    const std::uint64_t k = (kSum + cSum) % kCheckModulus;  // C counts with weight 1
    draw(Code93PatternTable[cSum].pattern);
    draw(Code93PatternTable[k].pattern);
    draw(kStartStopPattern);
    // The termination bar closes the last space; ModuleCount leaves its module out.
    widths[next] = 1;
    widths[next + 1] = kTerminator;
    return moduleCount(modules);
}

}  // namespace kelda
