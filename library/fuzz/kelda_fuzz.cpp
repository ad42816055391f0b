// Fuzz target: CheckBarcode followed by BarEncode, as the program calls them, with buffers
// of exactly the documented sizes so that any write past them is caught.  Every success
// must keep the interface's promises about the arrays it fills.
//
// Input: request (1 byte, signed), addCheck (1 byte), wide and gap (4 bytes each, little
// endian), then the typed code up to the end or the first NUL.  An addCheck byte with its
// top bit set hands the code straight to BarEncode instead, with the request byte as the
// SymbologyCode: a caller that skips CheckBarcode must get a result, never a crash.
#include "kelda.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::int32_t kUntouched = 0x5A5A5A5A;

constexpr std::array kResults = {
    KELDA_E_GENERAL,        KELDA_E_REQUEST,     KELDA_E_JAN_SHAPE,   KELDA_E_JAN_CHAR,
    KELDA_E_ITF_CHAR,       KELDA_E_NW7_CHAR,    KELDA_E_CODE39_CHAR, KELDA_E_CODE128_CHAR,
    KELDA_E_CODE128_VALUES, KELDA_E_CODE93_CHAR, KELDA_E_NW7_TABLE,   KELDA_E_NW7_START_STOP,
    KELDA_E_CODE39_TABLE,   KELDA_E_CODE39_STAR, KELDA_E_ITF_TABLE,   KELDA_E_TABLE,
    KELDA_E_CODE128_HEX,
};

void require(bool condition) {
    if (!condition) std::abort();
}

void requireDocumented(std::int32_t result) {
    require(std::find(kResults.begin(), kResults.end(), result) != kResults.end());
}

std::int32_t readLE32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    require(offset + 4 <= bytes.size());
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[offset]) |
                                     static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
                                     static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
                                     static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

// NW-7, Code 39 and ITF draw `wide` and `gap` as given, unchecked; the other codes use
// their signs only, so their widths are the standards' whatever the caller passes.
bool usesWidths(std::int32_t code) { return code == KELDA_NW7 || code == KELDA_CODE39 || code == KELDA_ITF; }

void checkWidths(std::int32_t code, std::span<const std::int32_t> widths, bool positiveWidths,
                 std::int32_t modules) {
    const std::size_t count = widths.size() - 1;
    require(widths[count] == KELDA_TERMINATOR);
    if (!positiveWidths) return;
    require(widths[0] != 0 && widths[count - 1] != 0);  // bars at both ends
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        require(widths[i] != 0);
        sum += std::abs(static_cast<std::int64_t>(widths[i]));
    }
    // Code 93's termination bar lies outside its ModuleCount.
    require(sum == static_cast<std::int64_t>(modules) + (code == KELDA_CODE93 ? 1 : 0));
}

// BarEncode on a text CheckBarcode never saw, with more room than any code needs and a
// guard zone after it.  A refusal of the JAN/UPC family writes nothing at all.
void encodeUnchecked(std::int32_t code, const std::string& text, std::int32_t wide, std::int32_t gap) {
    constexpr std::size_t kGuardZone = 16;
    const std::size_t room = std::max<std::size_t>(10 * text.size() + 40, 200);
    std::vector<std::int32_t> widths(room + kGuardZone, kUntouched);
    std::vector<std::int32_t> parity(KELDA_PARITY_ROOM + kGuardZone, kUntouched);
    const std::int32_t modules = BarEncode(code, text.c_str(), wide, gap, widths.data(), parity.data());
    const auto untouched = [](auto first, auto last) {
        return std::all_of(first, last, [](std::int32_t v) { return v == kUntouched; });
    };
    require(untouched(widths.begin() + static_cast<std::ptrdiff_t>(room), widths.end()));
    require(untouched(parity.begin() + KELDA_PARITY_ROOM, parity.end()));
    // Non-positive widths make any sum of NW-7, Code 39 or ITF, negative ones included.
    if (modules < 0 && (!usesWidths(code) || (wide >= 1 && gap >= 1))) requireDocumented(modules);
    if (modules < 0 && code >= KELDA_EAN13)
        require(untouched(widths.begin(), widths.end()) && untouched(parity.begin(), parity.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (bytes.size() < kHeaderSize) return 0;
    const std::int32_t request = static_cast<std::int8_t>(bytes[0]);
    const std::int32_t addCheck = bytes[1];
    const std::int32_t wide = readLE32(bytes, 2);
    const std::int32_t gap = readLE32(bytes, 6);
    const auto typed = bytes.subspan(kHeaderSize);
    const std::string input(typed.begin(), std::find(typed.begin(), typed.end(), std::uint8_t{0}));
    if ((bytes[1] & 0x80) != 0) {
        encodeUnchecked(request, input, wide, gap);
        return 0;
    }

    // Exactly the documented room: the input's length plus 4 bytes.
    std::vector<char> readable(input.size() + 4, '\x7F');
    std::int32_t count = kUntouched;
    const std::int32_t code = CheckBarcode(request, addCheck, input.c_str(), readable.data(), &count);
    if (code < 0) {
        requireDocumented(code);
        require(count == kUntouched);
        return 0;
    }
    require((code >= KELDA_NW7 && code <= KELDA_CODE93) || (code >= KELDA_EAN13 && code <= KELDA_UPCD5));
    require(std::find(readable.begin(), readable.end(), '\0') != readable.end());
    require(count > 0 && count % 2 == 1);

    std::vector<std::int32_t> widths(static_cast<std::size_t>(count) + 1, kUntouched);
    std::vector<std::int32_t> parity(KELDA_PARITY_ROOM, kUntouched);
    const std::int32_t modules = BarEncode(code, readable.data(), wide, gap, widths.data(), parity.data());
    const bool positiveWidths = !usesWidths(code) || (wide >= 1 && gap >= 1);
    if (modules <= 0) {
        // With non-positive widths, the sum of NW-7, Code 39 or ITF may be anything.
        if (positiveWidths) {
            require(modules < 0);
            requireDocumented(modules);
        }
        return 0;
    }
    checkWidths(code, widths, positiveWidths, modules);
    if (code < KELDA_EAN13) {
        require(std::all_of(parity.begin(), parity.end(), [](std::int32_t p) { return p == kUntouched; }));
    } else {
        require(std::find(parity.begin(), parity.end(), KELDA_TERMINATOR) != parity.end());
    }
    return 0;
}
