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

// The text a version draws, worked out from its script: a digit for every A and B step,
// the '.' of every separator, and nothing after the end.
struct TextShape {
    std::size_t length = 0;
    std::array<std::size_t, 3> dots{};
    std::size_t dotCount = 0;
};

constexpr TextShape textShape(std::span<const Step> script) {
    TextShape shape;
    for (const Step step : script) {
        if (step == S) shape.dots[shape.dotCount++] = shape.length;
        if (step == A || step == B || step == S) ++shape.length;
    }
    return shape;
}

// What each version needs at run time, worked out once at compile time.
struct Version {
    std::span<const Step> script;
    std::size_t elements;
    TextShape shape;
};
constexpr std::array<Version, 5> kVersions = [] {
    std::array<Version, 5> versions{};
    for (std::size_t v = 0; v < kScripts.size(); ++v)
        versions[v] = {kScripts[v], scriptElements(kScripts[v]), textShape(kScripts[v])};
    return versions;
}();
static_assert(kVersions[0].shape.length == 15 && kVersions[4].shape.length == 35 &&
              kVersions[4].shape.dotCount == 3 && kVersions[4].shape.dots[2] == 26);

const Version& versionOf(const Symbology& self) {
    return kVersions[static_cast<std::size_t>(self.code - KELDA_UPCD1)];
}

// The checker's texts always fit their version's shape; any other is refused before a
// width is written.
bool fitsShape(const TextShape& shape, std::string_view text) {
    if (text.size() != shape.length) return false;
    std::size_t from = 0;
    for (std::size_t d = 0; d < shape.dotCount; ++d) {
        const std::size_t dot = shape.dots[d];
        if (text[dot] != '.' || !allDigits(text.substr(from, dot - from))) return false;
        from = dot + 1;
    }
    return allDigits(text.substr(from));
}

}  // namespace

std::size_t upcdElementCount(const Symbology& self, std::size_t) { return versionOf(self).elements; }

int encodeUPCD(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
               Parity parity) {
    const Version& version = versionOf(self);
    if (!fitsShape(version.shape, text)) return KELDA_E_GENERAL;
    Writer w(widths, parity, args.guard);
    w.guard(ean::kSideGuard);
    std::size_t next = 0;  // text position
    for (const Step step : version.script) {
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
    return KELDA_E_GENERAL;  // unreachable: every script ends in its end step
}

}  // namespace kelda
