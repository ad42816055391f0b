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

#include "platform/dib_layout.h"

namespace rotateimage {

using DibBuffer = std::vector<std::uint8_t>;

// True when the buffer holds a usable image: the checks every operation makes before
// it touches a buffer's content.
bool IsValidDib(std::span<const std::uint8_t> buffer);

// The fields of a buffer that passed IsValidDib, with the palette size defaulted
// (16 or 256 for 4 or 8 bits when the header says 0) and the rows found right after it.
struct DibInfo {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  std::size_t paletteSize = 0;
  std::size_t pixelOffset = 0;
  std::size_t stride = 0;
};
DibInfo readDibInfo(std::span<const std::uint8_t> buffer);

// How a reader takes the DIB file image whose first 54 bytes are `headers`, with
// `available` bytes from its file header to the end of the stream.  Every size is worked
// out in 64 bits before anything is trusted.
enum class DibVerdict {
  Refused,     // not an image the format admits, or the stream ends before its rows do
  Unshowable,  // admitted, but no width or height, an unknown depth, or too many pixels
  Readable,    // the first `extent` bytes hold the whole image
};
struct DibJudgement {
  DibVerdict verdict = DibVerdict::Refused;
  std::uint64_t extent = 0;
};
DibJudgement judgeDib(std::span<const std::uint8_t> headers, std::uint64_t available);

// One DIB file image turned into a normalised buffer: 1, 4 and 8 bits become 8-bit
// indexed, 16, 24 and 32 bits become 24-bit (spare byte appended).  Top-down images are
// turned over.
std::optional<DibBuffer> normaliseDib(std::span<const std::uint8_t> bytes);

// Writes the file and info headers of a DIB whose rows follow a palette of
// `paletteSize` entries; the size fields follow from width, height and depth.
void writeDibHeaders(std::span<std::uint8_t> buffer, int width, int height, int bitCount, std::size_t paletteSize);

struct PaletteChoice {
  std::uint8_t index = 0;
  bool appended = false;  // index == old palette size: a new entry is needed
};
// The palette index to paint `colour` (0x00RRGGBB) with: the lowest exact match among the
// palette's entries, else a new entry while the header's biClrUsed leaves room (1..254),
// else the nearest entry (least squared distance, lowest index on ties).
PaletteChoice FindPaletteIndex(std::span<const std::uint8_t> palette, std::uint32_t clrUsed, std::uint32_t colour);

}  // namespace rotateimage
