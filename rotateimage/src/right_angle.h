// Block copies for walks that turn by a right angle: every output pixel then comes from
// a source pixel found by whole steps, so the picture is a transpose or a row copy,
// possibly mirrored.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rotateimage::detail {

struct Plane {
  std::uint8_t* data;
  std::size_t stride;
};
struct ConstPlane {
  const std::uint8_t* data;
  std::size_t stride;
};

// out(i, j) = src(x0 + j * xStep, y0 + i * yStep) for i < width, j < height, pixels of
// `bytesPerPixel` (1 or 3) bytes; xStep and yStep are +1 or -1.  For 3-byte pixels the
// source must have one readable byte after its last pixel.
void transposeTurn(ConstPlane src, Plane out, int width, int height, int bytesPerPixel, long x0, int xStep, long y0,
                   int yStep);

// out(i, j) = src(x0 + i * xStep, row y0 + j * yStep): rows copied, forwards or reversed.
void rowTurn(ConstPlane src, Plane out, int width, int height, int bytesPerPixel, long x0, int xStep, long y0,
             int yStep);

}  // namespace rotateimage::detail
