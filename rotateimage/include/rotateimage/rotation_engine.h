// The rotation engine: turns a normalised DIB (8-bit indexed or 24-bit) through a 2x2
// matrix of single-precision steps into a rotated DIB and a mask, sampling the nearest
// source pixel and walking each output row in 16.16 fixed point.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "rotateimage/dib_buffer.h"

namespace rotateimage {

// Source offsets per output column and per output row, in source pixels; DIB rows count
// upwards from the bottom row.
struct Dimension {
  float colStepX = 1.0f;
  float colStepY = 0.0f;
  float rowStepX = 0.0f;
  float rowStepY = 1.0f;
  friend bool operator==(const Dimension&, const Dimension&) = default;
};

// SetDimension's acceptance: a singular matrix, a zero column or row step pair, or the
// stored matrix again are refused.
bool acceptsDimension(const Dimension& stored, const Dimension& next);

// The matrix for an angle in radians and a zoom factor, both single precision.
Dimension dimensionFor(float angle, float zoom);

struct OutputSize {
  int width = 0;
  int height = 0;
  bool empty() const { return width == 0 || height == 0; }
};
// The bounding box of a width x height source under the inverse matrix, which may round
// to no pixels at all; nullopt when the matrix is degenerate in single precision or the
// box exceeds the pixel limit.
std::optional<OutputSize> outputSize(const Dimension& d, int width, int height);

// Output columns [lo, hi] of one row whose samples along one axis stay inside
// [0, size); empty when lo > hi.
struct ColumnSpan {
  int lo = 0;
  int hi = -1;
  bool empty() const { return lo > hi; }
};
ColumnSpan ColumnRange(int size, float start, float step, int outputWidth);

inline constexpr std::uint32_t kNoTransparent = 0xFFFFFFFF;
inline constexpr std::uint32_t kMonochromeCode = 0xAA000000;  // grey mix 170
inline constexpr std::uint32_t kSepiaCode = 0x649C0A64;       // mix 100, red +100, green +10, blue -100

struct RenderOptions {
  // A palette index for 8 bits, a colour blue | green << 8 | red << 16 for 24 bits.
  std::uint32_t transparent = kNoTransparent;
  std::uint32_t colorCode = 0;
  bool negative = false;
  bool whiteFill = false;        // pre-fill a 24-bit output with white
  bool generalWalkOnly = false;  // skip the right-angle copy (to check it against the walk)
  // Threads that share the output rows: 0 takes one per core for large pictures and the
  // calling thread alone otherwise; n > 0 takes n (at most one per 256 output rows).
  int threads = 0;
  bool vectorKernels = true;  // false keeps to the portable kernels (to check the vector ones)
};

// Renders `rotated` and `mask` from `source`, reusing their storage; neither may be the
// source.  An output that rounds to no pixels leaves both empty: there is no picture to
// show.  Returns false, touching neither, unless the source is a valid 8- or 24-bit DIB
// whose output size is within the limits.
bool ExecuteDimension(std::span<const std::uint8_t> source, const Dimension& d, const RenderOptions& options,
                      DibBuffer& rotated, DibBuffer& mask);

// Grey mix (byte 3) and signed tone adjustments (bytes 0..2 for red, green, blue) on a
// colour 0x00RRGGBB.
std::uint32_t ApplyColorCode(std::uint32_t colour, std::uint32_t code);

// The 8-bit grey edge image of a valid 8- or 24-bit source: flat areas white, strong
// edges dark.  Empty for any other source.
DibBuffer BuildSketch(std::span<const std::uint8_t> source);

}  // namespace rotateimage
