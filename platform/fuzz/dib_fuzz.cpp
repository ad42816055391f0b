// Fuzz target: one DIB file image.  Whatever the judge finds readable in the normalised
// form lies within the bytes, palette included; whatever the toolkit bitmap reads it
// writes back in the normalised form and reads again unchanged.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/bitmap.h"
#include "platform/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace dib = platform::dib;
    const std::span<const std::uint8_t> bytes(data, size);
    const dib::Judgement judgement = dib::judge(bytes, dib::kNormalised);
    if (judgement.verdict == dib::Verdict::Readable) {
        if (judgement.layout.extent() > size) __builtin_trap();
        // A palette read past the end throws, and ends the run.
        for (std::size_t i = 0; i < judgement.layout.paletteSize; ++i)
            dib::paletteColour(bytes, judgement.layout, i);
    }

    platform::Bitmap bitmap;
    if (!bitmap.loadFromDib(bytes)) return 0;
    const auto saved = bitmap.saveToDib();
    if (dib::judge(saved, dib::kNormalised).verdict != dib::Verdict::Readable) __builtin_trap();
    platform::Bitmap again;
    if (!again.loadFromDib(saved) || !(again == bitmap)) __builtin_trap();
    return 0;
}
