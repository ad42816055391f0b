// Picture files of lorrin-cli: PNG and BMP from the drawn bitmap, SVG from the layout.
#pragma once

#include "lorrin/draw.h"
#include "platform/bitmap.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace lorrin::cli {

// Pixels per metre for a resolution in dots per inch (25.4 mm), rounded to the nearest:
// what PNG's pHYs chunk and a DIB's resolution fields hold.
constexpr std::int64_t pixelsPerMetre(std::int64_t dpi) { return (dpi * 10000 + 127) / 254; }

// Both formats hold at most 2^31 - 1 pixels per metre; this is the largest resolution
// that stays within it.
inline constexpr int kMaxDpi = 54546084;
static_assert(pixelsPerMetre(kMaxDpi) <= INT32_MAX && pixelsPerMetre(kMaxDpi + 1) > INT32_MAX);

// The PNG file image of the picture: an indexed picture becomes a palette PNG (4 bits
// when the palette has at most 16 entries), a 24-bit one an RGB PNG; `dpi` goes into the
// pHYs chunk (1 to kMaxDpi).  Empty when libpng fails.
std::vector<std::uint8_t> pngImage(const platform::Bitmap& picture, int dpi);

// The picture's DIB file image with `dpi` (1 to kMaxDpi) in its resolution fields.
std::vector<std::uint8_t> bmpImage(const platform::Bitmap& picture, int dpi);

// The layout as SVG: bars as rectangles, the readable line as text in the settings'
// font on its white box, turned by angleIndex x 90 degrees clockwise.  `ascent` places
// the text's baseline below its box's top.
std::string svgImage(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                     int ascent);

}  // namespace lorrin::cli
