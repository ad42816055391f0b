// Block copies for walks that turn by a right angle: every output pixel then comes from
// a source pixel found by whole steps, so the picture is a transpose or a row copy,
// possibly mirrored.
#pragma once

#include "pixel_planes.h"

namespace rotateimage::detail {

// One right-angle copy of `width` x `height` output pixels of `bytesPerPixel` (1 or 3)
// bytes; xStep and yStep are +1 or -1.
struct Turn {
  ConstPlane src;
  Plane out;
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;
  long x0 = 0;
  int xStep = 1;
  long y0 = 0;
  int yStep = 1;
};

// out(i, j) = src(x0 + j * xStep, y0 + i * yStep) for i < width, j < height.  For 3-byte
// pixels the source must have one readable byte after the last pixel read in each row.
void transposeTurn(const Turn& t, Kernels kernels);

// out(i, j) = src(x0 + i * xStep, row y0 + j * yStep): rows copied, forwards or reversed.
void rowTurn(const Turn& t, Kernels kernels);

// Sets `count` bytes from `at` to 0: the mask of a block copy, where every pixel has a
// sample.  The vector kernels stream whole lines past the caches, as they do the copies'
// output: neither is read back soon, and plain stores would first read every line.
void clearBytes(std::uint8_t* at, std::size_t count, Kernels kernels);

}  // namespace rotateimage::detail
