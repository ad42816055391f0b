// What the table-driven encoders share: a character's row in its symbology table, and
// writing a row's elements into ElementWidths.  Tables spell a pattern the way the
// standards print it: as module widths ("212222") for the multi-width codes, as wide
// flags ("0000011", 1 = wide) for the two-width codes.
#pragma once

#include "symbology.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace kelda {

// One row of a table keyed by character.
struct CharPattern {
    char character;
    std::string_view pattern;
};

// Row number of every 7-bit character in `table`, -1 where it has none.  Built at compile
// time so that each character is named in its table only.
using RowIndex = std::array<std::int8_t, 128>;

template <std::size_t N>
constexpr RowIndex rowIndex(const std::array<CharPattern, N>& table) {
    static_assert(N <= std::numeric_limits<std::int8_t>::max());
    RowIndex index{};
    index.fill(-1);
    for (std::size_t row = 0; row < N; ++row)
        index[static_cast<unsigned char>(table[row].character)] = static_cast<std::int8_t>(row);
    return index;
}

// Bytes 0x80-0xFF have no row in any table.
constexpr int rowOf(const RowIndex& index, char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < index.size() ? index[code] : -1;
}

// Writes a row of digit widths and returns its width in modules.
constexpr int writeModules(std::string_view pattern, Widths out) {
    int modules = 0;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        out[k] = pattern[k] - '0';
        modules += out[k];
    }
    return modules;
}

// Writes a row of wide flags as 1 or `wide` into every `stride`-th entry of `out` (ITF
// interleaves two digits) and returns its width in modules.  `wide` is the caller's,
// unchecked, so the sum is kept in 64 bits.
constexpr std::int64_t writeTwoWidth(std::string_view pattern, int wide, Widths out, std::size_t stride = 1) {
    std::int64_t modules = 0;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        out[stride * k] = pattern[k] == '1' ? wide : 1;
        modules += out[stride * k];
    }
    return modules;
}

// ModuleCount as the C interface returns it.  A total beyond 32 bits (absurd `wide` or
// `gap` values) is refused rather than wrapped into a meaningless or negative count.
constexpr int moduleCount(std::int64_t total) {
    if (total > std::numeric_limits<std::int32_t>::max() || total < std::numeric_limits<std::int32_t>::min())
        return KELDA_E_GENERAL;
    return static_cast<int>(total);
}

// NW-7 and Code 39 share their layout: each character's elements, then a gap of `gap`
// modules; the terminator stands over the last gap.  Both look characters up upper-cased
// (their tables hold no lower-case letters) and keep their start/stop rows at the end of
// the table.
struct TwoWidthSymbology {
    std::span<const CharPattern> table;
    RowIndex rows;
    std::size_t elements;        // per character, bar first
    std::size_t firstStartStop;  // rows from here on may stand at either end only
    KeldaResult noPattern;
    KeldaResult innerStartStop;

    int row(char c) const { return rowOf(rows, upper(c)); }
};

inline int encodeTwoWidth(const TwoWidthSymbology& code, std::string_view text, int wide, int gap,
                          Widths widths) {
    // An empty text has no last gap to end on.
    if (text.empty()) return KELDA_E_GENERAL;
    const std::size_t stride = code.elements + 1;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int row = code.row(text[i]);
        if (row < 0) return code.noPattern;
        const bool atEnd = i == 0 || i == text.size() - 1;
        if (static_cast<std::size_t>(row) >= code.firstStartStop && !atEnd) return code.innerStartStop;
        const Widths character = widths.subspan(stride * i, stride);
        total += writeTwoWidth(code.table[static_cast<std::size_t>(row)].pattern, wide, character);
        character[code.elements] = gap;
        total += gap;
    }
    widths[stride * text.size() - 1] = kTerminator;
    return moduleCount(total - gap);
}

// Compile-time checks of a table's rows.
constexpr int digitSum(std::string_view pattern) {
    int sum = 0;
    for (const char c : pattern) sum += c - '0';
    return sum;
}

constexpr int countOf(std::string_view pattern, char c) {
    int count = 0;
    for (const char p : pattern) count += p == c ? 1 : 0;
    return count;
}

template <typename Table, typename Pattern>
constexpr bool allDistinct(const Table& table, Pattern pattern) {
    for (std::size_t a = 0; a < table.size(); ++a)
        for (std::size_t b = a + 1; b < table.size(); ++b)
            if (pattern(table[a]) == pattern(table[b])) return false;
    return true;
}

}  // namespace kelda
