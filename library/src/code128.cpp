// Code 128: symbol characters of six elements and 11 modules, a start character, the
// modulus-103 check character and the stop pattern.  The text form draws every character
// in code set B; the value form draws the symbol values it is given and chooses nothing.
#include "patterns.h"
#include "symbology.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelda {
namespace {

// ISO/IEC 15417, symbol character table: module widths of bar, space, bar, space, bar,
// space for the values 0 to 102 and the start characters A, B and C (103 to 105).
constexpr std::array<std::string_view, 106> Code128PatternTable = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  // 0
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222",  // 8
    "123122", "123221", "223211", "221132", "221231", "213212", "223112", "312131",  // 16
    "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321",  // 24
    "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",  // 32
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121",  // 40
    "313121", "211331", "231131", "213113", "213311", "213131", "311123", "311321",  // 48
    "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224",  // 56
    "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",  // 64
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  // 72
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",  // 80
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113",  // 88
    "114311", "411113", "411311", "113141", "114131", "311141", "411131", "211412",  // 96
    "211214", "211232",                                                              // 104
};
static_assert(std::ranges::all_of(Code128PatternTable,
                                  [](std::string_view p) { return p.size() == 6 && digitSum(p) == 11; }));
static_assert(allDistinct(Code128PatternTable, [](std::string_view p) { return p; }));

constexpr std::string_view kStop = "2331112";  // seven elements, 13 modules
static_assert(digitSum(kStop) == 13);

constexpr int kLastDataValue = 102;
constexpr int kStartA = 103;
constexpr int kStartB = 104;
constexpr int kCheckModulus = 103;
constexpr std::size_t kSymbolElements = 6;

// Writes the symbol left to right from its start character, keeping the check sum.
class Code128Writer {
public:
    Code128Writer(int start, Widths widths) : widths_(widths), checkSum_(start % kCheckModulus) {
        draw(start);
    }

    void add(int value) {
        draw(value);
        checkSum_ =
            static_cast<int>((checkSum_ + weight_ * static_cast<std::uint64_t>(value)) % kCheckModulus);
        weight_ = (weight_ + 1) % kCheckModulus;
    }

    // Check character, stop pattern, terminator; returns the ModuleCount.
    int finish() {
        draw(checkSum_);
        modules_ += writeModules(kStop, widths_.subspan(next_, kStop.size()));
        widths_[next_ + kStop.size()] = kTerminator;
        return moduleCount(modules_);
    }

private:
    void draw(int value) {
        modules_ += writeModules(Code128PatternTable[static_cast<std::size_t>(value)],
                                 widths_.subspan(next_, kSymbolElements));
        next_ += kSymbolElements;
    }

    Widths widths_;
    std::size_t next_ = 0;
    std::int64_t modules_ = 0;
    int checkSum_;
    std::uint64_t weight_ = 1;
};

}  // namespace

int hexPairValue(char high, char low) {
    const auto digit = [](char c) {
        if (isDigit(c)) return digitValue(c);
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    const int h = digit(high);
    const int l = digit(low);
    return (h < 0 || l < 0) ? -1 : h * 16 + l;
}

// The start character, one symbol character per data value, the check character, the stop.
constexpr std::size_t code128Elements(std::size_t values) {
    return kSymbolElements + values * kSymbolElements + kSymbolElements + kStop.size();
}

std::size_t code128TextElementCount(const Symbology&, std::size_t length) { return code128Elements(length); }

// The start letter, then two hex digits per value (a half pair draws nothing).
std::size_t code128ValuesElementCount(const Symbology&, std::size_t length) {
    return code128Elements(length == 0 ? 0 : (length - 1) / 2);
}

int encodeCode128Text(std::string_view text, Widths widths) {
    Code128Writer symbol(kStartB, widths);
    for (const char c : text) {
        // Code set B values are the printable ASCII codes less 32.
        if (c < 0x20 || c > 0x7E) return KELDA_E_TABLE;
        symbol.add(c - 0x20);
    }
    return symbol.finish();
}

int encodeCode128Values(std::string_view text, Widths widths) {
    constexpr std::string_view kStartLetters = "ABC";
    const std::size_t start = text.empty() ? std::string_view::npos : kStartLetters.find(upper(text[0]));
    if (start == std::string_view::npos) return KELDA_E_CODE128_HEX;

    Code128Writer symbol(kStartA + static_cast<int>(start), widths);
    for (std::size_t i = 1; i < text.size(); i += 2) {
        // A half pair at the end is not a value.
        if (i + 1 == text.size()) return KELDA_E_CODE128_HEX;
        const int value = hexPairValue(upper(text[i]), upper(text[i + 1]));
        if (value < 0 || value > kLastDataValue) return KELDA_E_CODE128_HEX;
        symbol.add(value);
    }
    return symbol.finish();
}

}  // namespace kelda
