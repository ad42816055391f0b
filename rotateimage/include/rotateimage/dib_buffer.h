// DIB buffers: a bitmap held in its file form (file header, info header, palette,
// rows bottom-up) in a growable byte buffer, and the two normalised forms the
// rotation works on: 8-bit indexed, and 24-bit with one spare byte after the pixels
// so that any pixel can be read or written as a 4-byte word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/dib.h"

namespace rotateimage {

using DibBuffer = std::vector<std::uint8_t>;

// True when the buffer holds a usable image in the normalised layout: the checks every
// operation makes before it touches a buffer's content.
bool IsValidDib(std::span<const std::uint8_t> buffer);

// Where the parts of a buffer that passed IsValidDib lie, with the palette size defaulted
// (16 or 256 for 4 or 8 bits when the header says 0) and the rows right after it; all
// zero for any other buffer.
using DibInfo = platform::dib::Layout;
DibInfo readDibInfo(std::span<const std::uint8_t> buffer);

// What the loader reads from a stream: every depth it converts, either row order, 16 and
// 32 bits with channel masks, and the rows at bfOffBits or, when that points into the
// palette, right after it.
inline constexpr platform::dib::Rules kLoadRules{
    .depths = platform::dib::depths({1, 4, 8, 16, 24, 32}), .topDown = true, .bitfields = true};

// One DIB file image the loader reads turned into a normalised buffer: 1, 4 and 8 bits
// become 8-bit indexed, 16, 24 and 32 bits become 24-bit (spare byte appended).  Top-down
// images are turned over.
std::optional<DibBuffer> normaliseDib(std::span<const std::uint8_t> bytes);

struct PaletteChoice {
  std::uint8_t index = 0;
  bool appended = false;  // index == old palette size: a new entry is needed
};
// The palette index to paint `colour` (0x00RRGGBB) with: the lowest exact match among the
// palette's entries, else a new entry while the header's biClrUsed leaves room (1..254),
// else the nearest entry (least squared distance, lowest index on ties).
PaletteChoice FindPaletteIndex(std::span<const std::uint8_t> palette, std::uint32_t clrUsed, std::uint32_t colour);

// Paints the pixels of a valid 8- or 24-bit `image` whose byte in `mask` (a valid 8-bit
// buffer of the same size) is 1 in `colour` (0x00RRGGBB): 24 bits take the colour, 8 bits
// the index FindPaletteIndex chooses.  True when that index is a new entry, which only
// the headers of headersWithEntry hold.
bool paintBackground(DibBuffer& image, std::span<const std::uint8_t> mask, std::uint32_t colour);

// The headers and palette of a valid 8-bit `image` with `colour` appended to the palette;
// the image's rows follow them unchanged.
DibBuffer headersWithEntry(std::span<const std::uint8_t> image, std::uint32_t colour);

}  // namespace rotateimage
