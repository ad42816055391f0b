// The two lists of the main window and the clipboard prefixes that pick an entry of the
// first one.  The list index of a bar code is the request handed to CheckBarcode; the
// two-dimensional codes follow them.
#pragma once

#include "kelda.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lorrin {

// The entries of the symbology list by name: each entry's index is its request.
enum SymbologyEntry : int {
    kJanUpc = KELDA_JAN_UPC,
    kNw7 = KELDA_NW7,
    kCode39 = KELDA_CODE39,
    kItf = KELDA_ITF,
    kCode128A = KELDA_CODE128_TEXT,
    kCode128B = KELDA_CODE128_VALUES,
    kCode93 = KELDA_CODE93,
    // Drawn by the matrix module, not by KELDA.
    kQr = 7,
    kDataMatrix = 8,
    kPdf417 = 9,
};

// The symbology list `cmbCtype`, in request order.
inline constexpr std::array<std::string_view, 10> kSymbologyNames = {
    "JAN/UPC", "NW-7", "Code39", "ITF", "Code128A", "Code128B", "Code93",
    "QR", "DataMatrix", "PDF417",
};
static_assert(kSymbologyNames.size() == std::size_t{kPdf417} + 1, "one name per entry");

// The entries drawn as two-dimensional symbols.
constexpr bool isMatrix(int typeIndex) { return typeIndex >= kQr && typeIndex <= kPdf417; }

// The angle list `cmbAngle`: entry i turns the picture by i x 90 degrees.
inline constexpr std::array<std::string_view, 4> kAngleNames = {
    "   0度",
    "  90度",
    " 180度",
    " 270度",
};
// Entry `index` of kAngleNames in the user interface's language.
std::string_view angleName(std::size_t index);

// A list selection as the list shows it: -1 (no entry) for an index outside the list.
constexpr int listSelection(int index, std::size_t listSize) {
    return (index >= 0 && static_cast<std::size_t>(index) < listSize) ? index : -1;
}

struct PrefixMatch {
    int typeIndex = kJanUpc;  // entry of the symbology list
    std::size_t codeAt = 0;   // offset of the code in the text
};

// The symbology prefix at the very start of `text` ("c39@ABC" is Code39 with the code at
// offset 4), matched with case; nullopt when the text starts with none.
std::optional<PrefixMatch> matchPrefix(std::string_view text);

struct ClipboardCode {
    int typeIndex = kJanUpc;
    std::string code;
};

// JAN/UPC-only mode leaves texts of this many characters or more alone.
inline constexpr std::size_t kJanUpcTextLimit = 256;

// What the clipboard monitor makes of a clipboard text: in JAN/UPC-only mode a text of
// digits and points only (shorter than kJanUpcTextLimit), otherwise a prefixed text.
// The code is the rest of the text without its line end (CR LF or LF).  nullopt for a
// text the monitor leaves alone.
std::optional<ClipboardCode> clipboardCode(std::string_view text, bool janUpcOnly);

}  // namespace lorrin
