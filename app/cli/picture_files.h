// Picture files of lorrin-cli: PNG and BMP from the drawn bitmap, SVG from the layout.
#pragma once

#include "app/core/draw.h"
#include "platform/bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lorrin::cli {

// The PNG file image of the picture: an indexed picture becomes a palette PNG (4 bits
// when the palette has at most 16 entries), a 24-bit one an RGB PNG; `dpi` goes into the
// pHYs chunk.  Empty when libpng fails.
std::vector<std::uint8_t> pngImage(const platform::Bitmap& picture, int dpi);

// The picture's DIB file image with `dpi` in its resolution fields.
std::vector<std::uint8_t> bmpImage(const platform::Bitmap& picture, int dpi);

// The layout as SVG: bars as rectangles, the readable line as text in the settings'
// font on its white box, turned by angleIndex x 90 degrees clockwise.  `ascent` places
// the text's baseline below its box's top.
std::string svgImage(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                     int ascent);

}  // namespace lorrin::cli
