// Internal interface of KELDA: the descriptor of every SymbologyCode, the checker, and the
// encoder families.  Everything here is plain functions over constant tables; no state
// survives a call.
#pragma once

#include "kelda.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kelda {

// The caller's ElementWidths or ParityFlags array, bounded by the calling contract.  Two
// distinct types, so that one can never be handed over for the other.
template <typename Tag>
class Entries {
public:
    constexpr Entries() = default;
    constexpr explicit Entries(std::span<std::int32_t> entries) : entries_(entries) {}

    constexpr std::int32_t& operator[](std::size_t i) const { return entries_[i]; }
    constexpr std::size_t size() const { return entries_.size(); }
    constexpr Entries subspan(std::size_t offset, std::size_t count = std::dynamic_extent) const {
        return Entries(entries_.subspan(offset, count));
    }
    constexpr Entries first(std::size_t count) const { return Entries(entries_.first(count)); }

private:
    std::span<std::int32_t> entries_;
};
using Widths = Entries<struct WidthsTag>;
using Parity = Entries<struct ParityTag>;

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

// What BarEncode hands every encoder besides the text: the caller's wide element and gap
// widths, and the guard value it computed from their signs.
struct EncodeArgs {
    std::int32_t wide;
    std::int32_t gap;
    std::int32_t guard;
};

// Everything the library knows about one code that BarEncode accepts.
struct Symbology {
    KeldaSymbology code;
    // ElementCount of a ReadableText of `length` characters; 0 for a text that cannot be
    // drawn (an empty NW-7 or Code 39 text has no start character), which BarEncode refuses.
    std::size_t (*countElements)(const Symbology& self, std::size_t length);
    int (*draw)(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
                Parity parity);
    bool writesParity;        // ParityFlags are written (codes 50-63 only)
    KeldaSymbology main;      // the main symbol: the code itself, but for the add-on codes
    std::size_t addOnDigits;  // 2 or 5 for the add-on codes, else 0

    std::size_t elementCount(std::size_t length) const { return countElements(*this, length); }
};

// The descriptor of a resolved code (1-6, 50-63); nullptr for a code that names nothing.
const Symbology* findSymbology(int code);

// ---- checker (check.cpp) ----
// `readable` has room for input.size() + 4 bytes; writes the ReadableText and its NUL.
int checkBarcode(int requested, bool addCheck, std::string_view input, std::span<char> readable,
                 std::int32_t& elementCount);

// ---- EAN/UPC family (ean_upc.cpp) ----
// GS1 modulo 10 check digit (0-9) over a digit string; with `hasSlot` its last
// character is the check digit's place and is ignored.
int eanCheckDigit(std::string_view digits, bool hasSlot);
std::size_t eanElementCount(const Symbology& self, std::size_t length);
// `guard` is the guard value BarEncode computed for this call (-1 or +1).
int encodeEAN13(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeEAN8(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeUPCE(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
int encodeWithAddOn(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
                    Parity parity);

// ---- UPC-D (upcd.cpp) ----
std::size_t upcdElementCount(const Symbology& self, std::size_t length);
int encodeUPCD(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
               Parity parity);

// ---- NW-7 (nw7.cpp) ----
// Check character over the whole text, start and stop included: a character code or -1.
int nw7CheckCharacter(std::string_view text);
std::size_t nw7ElementCount(const Symbology& self, std::size_t length);
int encodeNW7(std::string_view text, int wide, int gap, Widths widths);

// ---- Code 39 (code39.cpp) ----
// Mod-43 check character over text[1 .. L-2]: a character code or -1.
int code39CheckCharacter(std::string_view text);
std::size_t code39ElementCount(const Symbology& self, std::size_t length);
int encodeCode39(std::string_view text, int wide, int gap, Widths widths);

// ---- ITF (itf.cpp) ----
// Weighted 3,1,3,... modulo 10 check digit as a character code '0'-'9'.
int itfCheckDigit(std::string_view digits);
std::size_t itfElementCount(const Symbology& self, std::size_t length);
int encodeITF(std::string_view text, int wide, Widths widths);

// ---- Code 128 (code128.cpp) ----
int hexPairValue(char high, char low);
std::size_t code128TextElementCount(const Symbology& self, std::size_t length);
std::size_t code128ValuesElementCount(const Symbology& self, std::size_t length);
int encodeCode128Text(std::string_view text, Widths widths);
int encodeCode128Values(std::string_view text, Widths widths);

// ---- Code 93 (code93.cpp) ----
std::size_t code93ElementCount(const Symbology& self, std::size_t length);
int encodeCode93(std::string_view text, Widths widths);

}  // namespace kelda
