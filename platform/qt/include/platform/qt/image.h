// Pictures as Qt holds them: DIB file images and toolkit bitmaps as QImages.
#pragma once

#include <QImage>

#include <cstdint>
#include <span>

#include "platform/bitmap.h"

namespace platform::qt {

// A DIB file image of 8 or 24 bits in the normalised form as a QImage (RGB32).  With a
// mask (an 8-bit DIB of the same size) pixels whose mask byte is not 0 come out fully
// transparent, the others opaque (ARGB32_Premultiplied, the form Qt draws fastest), which
// drawn over a background gives exactly the AND/OR blit through the mask.  A null image
// for anything else.
QImage dibToImage(std::span<const std::uint8_t> image, std::span<const std::uint8_t> mask = {});

// The picture as Qt holds it: up to 8 bits its palette indices with the palette as colour
// table (Indexed8, which a clipboard offers as an indexed picture), RGB32 beyond.
QImage toQImage(const Bitmap& picture);

}  // namespace platform::qt
