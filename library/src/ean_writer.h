// The EAN/UPC number sets and the writer that lays digits and guards into ElementWidths
// and ParityFlags; shared by the EAN/UPC and the UPC-D encoders.
#pragma once

#include "symbology.h"

#include <array>
#include <cstdint>

namespace kelda::ean {

// Number set A of ISO/IEC 15420 (GS1 General Specifications, EAN/UPC symbol character
// encodation): four element widths per digit in drawing order, starting with a space; an
// odd number of dark modules.  Set C is the same widths starting with a bar, and set B is
// set C read backwards (an even number of dark modules), so neither has a table of its own.
enum class NumberSet : std::uint8_t { A, B };

using DigitWidths = std::array<std::uint8_t, 4>;

constexpr std::array<DigitWidths, 10> kNumberSetA = {{
    {3, 2, 1, 1},
    {2, 2, 2, 1},
    {2, 1, 2, 2},
    {1, 4, 1, 1},
    {1, 1, 3, 2},  // 0-4
    {1, 2, 3, 1},
    {1, 1, 1, 4},
    {1, 3, 1, 2},
    {1, 2, 1, 3},
    {3, 1, 1, 2},  // 5-9
}};

constexpr std::array<std::array<DigitWidths, 10>, 2> kNumberSetTable = [] {
    std::array<std::array<DigitWidths, 10>, 2> sets{kNumberSetA, {}};
    for (std::size_t d = 0; d < 10; ++d)
        for (std::size_t k = 0; k < 4; ++k) sets[1][d][k] = kNumberSetA[d][3 - k];
    return sets;
}();
static_assert(kNumberSetTable[1][0] == DigitWidths{1, 1, 2, 3}, "set B's 0 is 1123");

// Pieces of the symbols, in elements: a digit of any set, the start and end guards (and
// UPC-E's start guard), the centre guard, and UPC-E's end guard.
constexpr std::size_t kDigitElements = 4;
constexpr std::size_t kSideGuard = 3;
constexpr std::size_t kCentreGuard = 5;
constexpr std::size_t kUpceEndGuard = 6;

// A parity pattern spelled as the standard's tables spell it: 'A' or 'B' per digit.
constexpr NumberSet setAt(std::string_view pattern, std::size_t i) {
    return pattern[i] == 'A' ? NumberSet::A : NumberSet::B;
}

// Writes elements left to right from a start position and keeps the module total.
// Every digit also gets its ParityFlags entry: 1 when its pattern, as placed (starting
// with a bar or a space by its position), holds an odd number of dark modules.
class Writer {
public:
    Writer(Widths widths, Parity parity, std::int32_t guard, std::size_t element = 0, std::size_t flag = 0)
        : widths_(widths), parity_(parity), guard_(guard), element_(element), flag_(flag) {}

    void digit(char c, NumberSet set) {
        const auto& w =
            kNumberSetTable[static_cast<std::size_t>(set)][static_cast<std::size_t>(digitValue(c))];
        // Four stores, not a loop: this is the hot spot of every JAN/UPC code.
        static_assert(kDigitElements == 4);
        const Widths out = widths_.subspan(element_, kDigitElements);
        out[0] = w[0], out[1] = w[1], out[2] = w[2], out[3] = w[3];
        const bool barFirst = element_ % 2 == 0;
        const int dark = barFirst ? w[0] + w[2] : w[1] + w[3];
        element_ += w.size();
        modules_ += 7;
        parity_[flag_++] = dark % 2;
    }
    // `count` one-module elements, each the guard value (a long bar, normally).
    void guard(std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) widths_[element_ + k] = guard_;
        element_ += count;
        modules_ += static_cast<int>(count);
    }
    // Plain elements of the given widths (add-on guards and separators, gaps).
    template <std::size_t N>
    void plain(const std::array<int, N>& elements) {
        for (const int w : elements) {
            widths_[element_++] = w;
            modules_ += w;
        }
    }
    // Terminates both arrays; the result is the modules written.
    int finish() {
        widths_[element_] = kTerminator;
        parity_[flag_] = kTerminator;
        return modules_;
    }

    std::size_t element() const { return element_; }
    std::size_t flag() const { return flag_; }

private:
    Widths widths_;
    Parity parity_;
    std::int32_t guard_;
    std::size_t element_;
    std::size_t flag_;
    int modules_ = 0;
};

}  // namespace kelda::ean
