// The exported C interface: converts the caller's pointers into views and spans sized by
// the documented calling contract, and delegates.  Nothing below throws.
#include "kelda.h"
#include "symbology.h"

namespace kelda {
namespace {

// Guard elements are long bars (-1) unless the caller asks for plain ones by passing
// both `wide` and `gap` negative.
constexpr std::int32_t guardValue(std::int32_t wide, std::int32_t gap) {
    return (wide < 0 && gap < 0) ? 1 : -1;
}

}  // namespace
}  // namespace kelda

extern "C" {

int32_t CheckBarcode(int32_t requested, int32_t addCheck, const char* input, char* readable,
                     int32_t* elementCount) {
    if (input == nullptr || readable == nullptr || elementCount == nullptr) return KELDA_E_GENERAL;
    const std::string_view text(input);
    return kelda::checkBarcode(requested, addCheck != 0, text, {readable, text.size() + 4}, *elementCount);
}

int32_t BarEncode(int32_t code, const char* text, int32_t wide, int32_t gap, int32_t* widths,
                  int32_t* parity) {
    const kelda::Symbology* symbology = kelda::findSymbology(code);
    if (symbology == nullptr || text == nullptr || widths == nullptr) return KELDA_E_GENERAL;
    if (symbology->writesParity && parity == nullptr) return KELDA_E_GENERAL;
    const std::string_view view(text);
    const std::size_t room = symbology->elementCount(view.size());
    if (room == 0) return KELDA_E_GENERAL;
    const kelda::EncodeArgs args{wide, gap, kelda::guardValue(wide, gap)};
    return symbology->draw(
        *symbology, view, args, kelda::Widths({widths, room + 1}),
        kelda::Parity({parity, symbology->writesParity ? std::size_t{KELDA_PARITY_ROOM} : 0}));
}

int32_t BarcodeVersion(void) { return KELDA_VERSION; }

}  // extern "C"
