// The walk at any angle and zoom: each output row samples the source at 16.16 fixed-point
// positions that step by the same amounts from column to column.  The output is walked
// in tiles of rows and columns, so that the source lines one tile reads stay cached.
#pragma once

#include <cstdint>
#include <span>

#include "pixel_planes.h"

namespace rotateimage::detail {

// A source plane and its size, into which every sample is clamped.
struct Source {
  ConstPlane plane;
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;  // 1 or 3
};

// One output row: its columns [lo, hi] (none when lo > hi) and the fixed-point source
// position of column lo.
struct RowStart {
  int lo = 0;
  int hi = -1;
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool empty() const { return lo > hi; }
};

// Writes columns [lo, hi] of each of `rows` into the rows of `out` (rows[0] into its
// first row): column i samples the source at (x + (i - lo) * dx, y + (i - lo) * dy), each
// coordinate divided by 65536, truncated toward zero and clamped into the source.  No
// other byte of `out` is touched.  The source must be readable from three bytes before
// its first pixel (1 byte per pixel) or to one byte after its last (3 bytes per pixel).
void walkTiles(const Source& src, std::span<const RowStart> rows, std::int64_t dx, std::int64_t dy, Plane out,
               Kernels kernels);

}  // namespace rotateimage::detail
