// The exported C interface: converts the caller's pointers into views and spans sized by
// the documented calling contract, and delegates.  Nothing below throws.
#include "kelda.h"
#include "symbology.h"

#include <cstring>

namespace kelda {
namespace {

// Guard elements are long bars (-1) unless the caller asks for plain ones by passing
// both `wide` and `gap` negative.
constexpr std::int32_t guardValue(std::int32_t wide, std::int32_t gap) {
    return (wide < 0 && gap < 0) ? 1 : -1;
}

int barEncode(int code, std::string_view text, std::int32_t wide, std::int32_t gap, Widths widths,
              Parity parity) {
    const std::int32_t guard = guardValue(wide, gap);
    switch (code) {
        case KELDA_NW7: return encodeNW7(text, wide, gap, widths);
        case KELDA_CODE39: return encodeCode39(text, wide, gap, widths);
        case KELDA_ITF: return encodeITF(text, wide, widths);
        case KELDA_CODE128_TEXT: return encodeCode128Text(text, widths);
        case KELDA_CODE128_VALUES: return encodeCode128Values(text, widths);
        case KELDA_CODE93: return encodeCode93(text, widths);
        case KELDA_EAN13: return encodeEAN13(text, guard, widths, parity);
        case KELDA_EAN8: return encodeEAN8(text, guard, widths, parity);
        case KELDA_UPCE: return encodeUPCE(text, guard, widths, parity);
        case KELDA_UPCE_ADDON2:
        case KELDA_EAN8_ADDON2:
        case KELDA_EAN13_ADDON2:
        case KELDA_UPCE_ADDON5:
        case KELDA_EAN8_ADDON5:
        case KELDA_EAN13_ADDON5: return encodeWithAddOn(code, text, guard, widths, parity);
        case KELDA_UPCD1:
        case KELDA_UPCD2:
        case KELDA_UPCD3:
        case KELDA_UPCD4:
        case KELDA_UPCD5: return encodeUPCD(code, text, guard, widths, parity);
        default: return KELDA_E_GENERAL;
    }
}

}  // namespace
}  // namespace kelda

extern "C" {

int32_t CheckBarcode(int32_t requested, int32_t addCheck, const char* input, char* readable,
                     int32_t* elementCount) {
    if (input == nullptr || readable == nullptr || elementCount == nullptr) return KELDA_E_GENERAL;
    const std::string_view text(input);
    return kelda::checkBarcode(requested, addCheck != 0, text, {readable, text.size() + 4},
                               *elementCount);
}

int32_t BarEncode(int32_t code, const char* text, int32_t wide, int32_t gap, int32_t* widths,
                  int32_t* parity) {
    if (text == nullptr || widths == nullptr) return KELDA_E_GENERAL;
    const std::string_view view(text);
    const std::size_t room = kelda::elementCountFor(code, view.size());
    if (room == 0) return KELDA_E_GENERAL;
    const bool usesParity = code >= KELDA_EAN13;
    if (usesParity && parity == nullptr) return KELDA_E_GENERAL;
    return kelda::barEncode(code, view, wide, gap, {widths, room + 1},
                            {parity, usesParity ? std::size_t{KELDA_PARITY_ROOM} : 0});
}

int32_t BarcodeVersion(void) { return KELDA_VERSION; }

}  // extern "C"
