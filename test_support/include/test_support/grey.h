// Grey pictures for the readers: what a scanner or a file holds, apart from the code
// that drew it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace test_support {

// An 8-bit grey picture, one byte per pixel, top row first.
struct Grey {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    bool dark(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)] < 128; }
};

// ElementWidths painted as a scanner would see the printed symbol: `elements` are the
// ElementCount entries before the terminator (magnitudes are widths in modules; signs are
// ignored), each module `modulePixels` columns, with a quiet zone of `quietModules` white
// modules on both sides.
Grey paintElements(std::span<const std::int32_t> elements, int modulePixels, int quietModules);

}  // namespace test_support
