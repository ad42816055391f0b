// Internal interface of KELDA: the checker, the encoder families and the sizes they share.
// Everything here is plain functions over constant tables; no state survives a call.
#pragma once

#include "kelda.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kelda {

using Widths = std::span<std::int32_t>;
using Parity = std::span<std::int32_t>;

constexpr std::int32_t kTerminator = KELDA_TERMINATOR;

// Bytes 0x80-0xFF count as negative and fall outside every character set,
// whatever the signedness of the platform's char.
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr int digitValue(char c) { return c - '0'; }
constexpr bool allDigits(std::string_view s) {
    for (const char c : s)
        if (!isDigit(c)) return false;
    return true;
}
constexpr char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// ElementCount of a resolved code whose ReadableText has `length` characters; 0 for a
// code that names no symbology and for an empty NW-7 or Code 39 text (no start character
// to draw), which BarEncode refuses.  BarEncode's widths room is this plus one.
std::size_t elementCountFor(int code, std::size_t length);

// ---- checker (check.cpp) ----
// `readable` has room for input.size() + 4 bytes; writes the ReadableText and its NUL.
int checkBarcode(int requested, bool addCheck, std::string_view input, std::span<char> readable,
                 std::int32_t& elementCount);

// ---- EAN/UPC family (ean_upc.cpp) ----
// GS1 modulo 10 check digit (0-9) over a digit string; with `hasSlot` its last
// character is the check digit's place and is ignored.
int eanCheckDigit(std::string_view digits, bool hasSlot);
// `guard` is the guard value BarEncode computed for this call (-1 or +1).
int encodeEAN13(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeEAN8(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeUPCE(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeWithAddOn(int code, std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeUPCD(int code, std::string_view text, std::int32_t guard, Widths widths, Parity parity);

// ---- NW-7 (nw7.cpp) ----
// Check character over the whole text, start and stop included: a character code or -1.
int nw7CheckCharacter(std::string_view text);
int encodeNW7(std::string_view text, int wide, int gap, Widths widths);

// ---- Code 39 (code39.cpp) ----
// Mod-43 check character over text[1 .. L-2]: a character code or -1.
int code39CheckCharacter(std::string_view text);
int encodeCode39(std::string_view text, int wide, int gap, Widths widths);

// ---- ITF (itf.cpp) ----
// Weighted 3,1,3,... modulo 10 check digit as a character code '0'-'9'.
int itfCheckDigit(std::string_view digits);
int encodeITF(std::string_view text, int wide, Widths widths);

// ---- Code 128 (code128.cpp) ----
int hexPairValue(char high, char low);
int encodeCode128Text(std::string_view text, Widths widths);
int encodeCode128Values(std::string_view text, Widths widths);

// ---- Code 93 (code93.cpp) ----
int encodeCode93(std::string_view text, Widths widths);

}  // namespace kelda
