// UPC-D encoder, versions 1 to 5: one small interpreter runs a fixed layout script per
// version over the EAN/UPC number sets.  A '.' in the text stands for a 7-module space
// between two segments.
#include "ean_writer.h"

#include <array>
#include <span>

namespace kelda {
namespace {

using ean::NumberSet;
using ean::Writer;

// Step kinds with their stored values.  A and B draw the next digit with the widths of
// that set; whether it starts on a bar (after a centre guard) follows from its position.
enum Step : std::int8_t { B = 0, A = 1, G5 = 2, G3 = 3, G6 = 4, S = 6, End = -1 };

// Layout scripts; each runs after a 3-element start guard.
constexpr Step kVersion1[] = {A, A, A, B, B, B, G6, S, G3, A, A, B, B, G5, B, B, B, B, G3, End};
constexpr Step kVersion2[] = {A, A,  A, B, B, B, G5, A, A, A, A, A,  A,  G3,
                              S, G3, A, B, B, A, G5, A, A, A, A, G3, End};
constexpr Step kVersion3[] = {A, A, A, B,  B, B,  G5, A, A, A, A,  A, A, G3, S, G3, B,
                              A, A, B, G6, S, G3, A,  B, A, B, G5, A, A, A,  A, G3, End};
constexpr Step kVersion4[] = {A,  A, A, B, B, B,  G5, A,  A, A, A, A, A,  G3, S, G3, A, B,  A,  B,
                              G5, A, A, B, B, G3, S,  G3, B, A, B, A, G5, A,  A, A,  A, G3, End};
constexpr Step kVersion5[] = {A, A,  A, B,  B, B, G5, A, A,  A, A,  A, A, G3, S, G3, B, A, B, A, G5, A,  A, A,
                              A, G3, S, G3, B, A, A,  B, G6, S, G3, A, A, B,  B, G5, A, A, B, B, G3, End};

constexpr std::array<std::span<const Step>, 5> kScripts = {kVersion1, kVersion2, kVersion3, kVersion4,
                                                           kVersion5};

constexpr int kSeparatorModules = 7;

// Elements a step writes.
constexpr std::size_t stepElements(Step step) {
    switch (step) {
        case A:
        case B: return ean::kDigitElements;
        case G3: return ean::kSideGuard;
        case G5: return ean::kCentreGuard;
        case G6: return ean::kUpceEndGuard;
        case S: return 1;
        case End: return 0;
    }
    return 0;
}

// A version's ElementCount: the start guard and every step of its script.
constexpr std::size_t scriptElements(std::span<const Step> script) {
    std::size_t elements = ean::kSideGuard;
    for (const Step step : script) elements += stepElements(step);
    return elements;
}
static_assert(scriptElements(kVersion1) == 77 && scriptElements(kVersion2) == 103 &&
              scriptElements(kVersion3) == 129 && scriptElements(kVersion4) == 147 &&
              scriptElements(kVersion5) == 173);

std::span<const Step> scriptOf(const Symbology& self) {
    return kScripts[static_cast<std::size_t>(self.code - KELDA_UPCD1)];
}

// The text a script draws: a digit for every A and B step, the '.' of every separator,
// and nothing after the end.  The checker's texts always fit; any other is refused
// before a width is written.
bool fitsScript(std::span<const Step> script, std::string_view text) {
    std::size_t next = 0;
    for (const Step step : script) {
        const bool reads = step == A || step == B || step == S;
        if (step == End) return next == text.size();
        if (!reads) continue;
        if (next == text.size() || (step == S ? text[next] != '.' : !isDigit(text[next]))) return false;
        ++next;
    }
    return false;
}

}  // namespace

std::size_t upcdElementCount(const Symbology& self, std::size_t) { return scriptElements(scriptOf(self)); }

int encodeUPCD(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
               Parity parity) {
    const std::span<const Step> script = scriptOf(self);
    if (!fitsScript(script, text)) return KELDA_E_GENERAL;
    Writer w(widths, parity, args.guard);
    w.guard(ean::kSideGuard);
    std::size_t next = 0;  // text position
    for (const Step step : script) {
        switch (step) {
            case A: w.digit(text[next++], NumberSet::A); break;
            case B: w.digit(text[next++], NumberSet::B); break;
            case G3: w.guard(ean::kSideGuard); break;
            case G5: w.guard(ean::kCentreGuard); break;
            case G6: w.guard(ean::kUpceEndGuard); break;
            case S: w.plain(std::array{kSeparatorModules}), ++next; break;
            case End: return w.finish();
        }
    }
    return KELDA_E_GENERAL;  // unreachable: fitsScript found the end step
}

}  // namespace kelda
