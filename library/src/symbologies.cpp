// The one table of the codes BarEncode accepts: for each, how its ElementCount follows
// from the text, which encoder draws it, whether it writes ParityFlags, and for the
// add-on codes their main symbol and add-on length.  The checker, BarEncode and the
// encoders all read it here.
#include "symbology.h"

#include <array>
#include <cstddef>

namespace kelda {
namespace {

// The families' encoders behind the one signature every row uses.
int drawNW7(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity) {
    return encodeNW7(t, a.wide, a.gap, w);
}
int drawCode39(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity) {
    return encodeCode39(t, a.wide, a.gap, w);
}
int drawITF(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity) {
    return encodeITF(t, a.wide, w);
}
int drawCode128Text(const Symbology&, std::string_view t, const EncodeArgs&, Widths w, Parity) {
    return encodeCode128Text(t, w);
}
int drawCode128Values(const Symbology&, std::string_view t, const EncodeArgs&, Widths w, Parity) {
    return encodeCode128Values(t, w);
}
int drawCode93(const Symbology&, std::string_view t, const EncodeArgs&, Widths w, Parity) {
    return encodeCode93(t, w);
}
int drawEAN13(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity p) {
    return encodeEAN13(t, a.guard, w, p);
}
int drawEAN8(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity p) {
    return encodeEAN8(t, a.guard, w, p);
}
int drawUPCE(const Symbology&, std::string_view t, const EncodeArgs& a, Widths w, Parity p) {
    return encodeUPCE(t, a.guard, w, p);
}

// clang-format off
constexpr std::array<Symbology, 20> kSymbologies = {{
    // code                 elements                    encoder            parity  main               add-on
    {KELDA_NW7,             nw7ElementCount,            drawNW7,           false, KELDA_NW7,            0},
    {KELDA_CODE39,          code39ElementCount,         drawCode39,        false, KELDA_CODE39,         0},
    {KELDA_ITF,             itfElementCount,            drawITF,           false, KELDA_ITF,            0},
    {KELDA_CODE128_TEXT,    code128TextElementCount,    drawCode128Text,   false, KELDA_CODE128_TEXT,   0},
    {KELDA_CODE128_VALUES,  code128ValuesElementCount,  drawCode128Values, false, KELDA_CODE128_VALUES, 0},
    {KELDA_CODE93,          code93ElementCount,         drawCode93,        false, KELDA_CODE93,         0},
    {KELDA_EAN13,           eanElementCount,            drawEAN13,         true,  KELDA_EAN13,          0},
    {KELDA_EAN8,            eanElementCount,            drawEAN8,          true,  KELDA_EAN8,           0},
    {KELDA_UPCE,            eanElementCount,            drawUPCE,          true,  KELDA_UPCE,           0},
    {KELDA_UPCE_ADDON2,     eanElementCount,            encodeWithAddOn,   true,  KELDA_UPCE,           2},
    {KELDA_EAN8_ADDON2,     eanElementCount,            encodeWithAddOn,   true,  KELDA_EAN8,           2},
    {KELDA_EAN13_ADDON2,    eanElementCount,            encodeWithAddOn,   true,  KELDA_EAN13,          2},
    {KELDA_UPCE_ADDON5,     eanElementCount,            encodeWithAddOn,   true,  KELDA_UPCE,           5},
    {KELDA_EAN8_ADDON5,     eanElementCount,            encodeWithAddOn,   true,  KELDA_EAN8,           5},
    {KELDA_EAN13_ADDON5,    eanElementCount,            encodeWithAddOn,   true,  KELDA_EAN13,          5},
    {KELDA_UPCD1,           upcdElementCount,           encodeUPCD,        true,  KELDA_UPCD1,          0},
    {KELDA_UPCD2,           upcdElementCount,           encodeUPCD,        true,  KELDA_UPCD2,          0},
    {KELDA_UPCD3,           upcdElementCount,           encodeUPCD,        true,  KELDA_UPCD3,          0},
    {KELDA_UPCD4,           upcdElementCount,           encodeUPCD,        true,  KELDA_UPCD4,          0},
    {KELDA_UPCD5,           upcdElementCount,           encodeUPCD,        true,  KELDA_UPCD5,          0},
}};
// clang-format on

// Row of every code 0-63, -1 where a code names nothing: one look-up per call.
constexpr std::size_t kCodeLimit = KELDA_UPCD5 + 1;
constexpr std::array<std::int8_t, kCodeLimit> kRowOfCode = [] {
    std::array<std::int8_t, kCodeLimit> rows{};
    rows.fill(-1);
    for (std::size_t row = 0; row < kSymbologies.size(); ++row)
        rows[static_cast<std::size_t>(kSymbologies[row].code)] = static_cast<std::int8_t>(row);
    return rows;
}();

}  // namespace

const Symbology* findSymbology(int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= kCodeLimit) return nullptr;
    const int row = kRowOfCode[static_cast<std::size_t>(code)];
    return row < 0 ? nullptr : &kSymbologies[static_cast<std::size_t>(row)];
}

}  // namespace kelda
