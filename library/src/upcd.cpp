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
constexpr Step kVersion2[] = {A, A, A, B, B, B, G5, A, A, A, A, A, A, G3, S,
                              G3, A, B, B, A, G5, A, A, A, A, G3, End};
constexpr Step kVersion3[] = {A, A, A, B, B, B, G5, A, A, A, A, A, A, G3, S, G3, B, A, A, B, G6,
                              S, G3, A, B, A, B, G5, A, A, A, A, G3, End};
constexpr Step kVersion4[] = {A, A, A, B, B, B, G5, A, A, A, A, A, A, G3, S, G3, A, B, A, B, G5,
                              A, A, B, B, G3, S, G3, B, A, B, A, G5, A, A, A, A, G3, End};
constexpr Step kVersion5[] = {A, A, A, B, B, B, G5, A, A, A, A, A, A, G3, S, G3, B, A, B, A, G5,
                              A, A, A, A, G3, S, G3, B, A, A, B, G6, S, G3, A, A, B, B, G5,
                              A, A, B, B, G3, End};

constexpr std::array<std::span<const Step>, 5> kScripts = {kVersion1, kVersion2, kVersion3, kVersion4,
                                                           kVersion5};

constexpr std::size_t kMaxElements = 173;  // version 5's terminator position
constexpr int kSeparatorModules = 7;

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

int encodeUPCD(int code, std::string_view text, std::int32_t guard, Widths widths, Parity parity) {
    const std::span<const Step> script = kScripts[static_cast<std::size_t>(code - KELDA_UPCD1)];
    if (!fitsScript(script, text)) return KELDA_E_GENERAL;
    Writer w(widths, parity, guard);
    w.guard(3);
    std::size_t next = 0;  // text position
    for (const Step step : script) {
        switch (step) {
            case A: w.digit(text[next++], NumberSet::A); break;
            case B: w.digit(text[next++], NumberSet::B); break;
            case G3: w.guard(3); break;
            case G5: w.guard(5); break;
            case G6: w.guard(6); break;
            case S: w.plain({kSeparatorModules}), ++next; break;
            case End: return w.finish();
        }
        if (w.element() > kMaxElements) return KELDA_E_GENERAL;
    }
    return KELDA_E_GENERAL;  // a script without its end step
}

}  // namespace kelda
