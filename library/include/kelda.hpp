// C++ layer over KELDA's C interface: sizes every buffer from the calling contract, so
// no caller can overflow one.  Header-only; links against the KELDA shared library.
#pragma once

#include "kelda.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelda {

struct Encoded {
    std::int32_t result = KELDA_E_GENERAL;  // the resolved SymbologyCode, or a negative KeldaResult
    std::string readableText;
    std::vector<std::int32_t> elementWidths;  // ElementCount entries, without the terminator
    std::vector<std::int32_t> parityFlags;    // codes 50-63 only, without the terminator
    std::int32_t moduleCount = 0;

    bool ok() const { return result > 0; }
};

// CheckBarcode then BarEncode.  `result` holds the first negative result, else the
// resolved code.  A NUL inside `text` is outside every character set and is refused with
// the request's own character error, as any other byte the symbology cannot draw.
inline Encoded encode(int request, std::string_view text, bool addCheck, int wide, int gap) {
    Encoded out;
    std::string input(text);
    for (char& c : input)
        if (c == '\0') c = static_cast<char>(0x80);

    std::vector<char> readable(input.size() + 4, '\0');
    std::int32_t count = 0;
    out.result = CheckBarcode(request, addCheck ? 1 : 0, input.c_str(), readable.data(), &count);
    if (out.result < 0) return out;
    out.readableText.assign(readable.data());

    out.elementWidths.assign(static_cast<std::size_t>(count) + 1, 0);
    std::vector<std::int32_t> parity(KELDA_PARITY_ROOM, KELDA_TERMINATOR);
    const std::int32_t modules = BarEncode(out.result, readable.data(), wide, gap,
                                           out.elementWidths.data(), parity.data());
    if (modules < 0) {
        out.result = modules;
        out.elementWidths.clear();
        return out;
    }
    out.moduleCount = modules;
    out.elementWidths.pop_back();  // the terminator
    // Codes that write no ParityFlags leave the array as it was: terminators only.
    for (const std::int32_t flag : parity) {
        if (flag == KELDA_TERMINATOR) break;
        out.parityFlags.push_back(flag);
    }
    return out;
}

}  // namespace kelda
