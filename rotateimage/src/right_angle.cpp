#include "right_angle.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rotateimage::detail {
namespace {

// 8 bits: 16 source rows (one block) walked together across the whole width, few enough
// read streams for the prefetcher; the output lines each band fills in part stay cached
// until the following bands complete them.
constexpr int kBand = 16;
// 3-byte pixels and the plain fallback: tiles whose source and output rows stay cached.
constexpr int kTile = 64;

inline const std::uint8_t* at(ConstPlane p, long x, long y, int bytesPerPixel) {
  return p.data + static_cast<std::size_t>(y) * p.stride + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytesPerPixel);
}

// One output pixel from one source pixel, for the tails of tiles.
inline void copyPixel(const std::uint8_t* from, std::uint8_t* to, int bytesPerPixel) {
  if (bytesPerPixel == 1) {
    *to = *from;
  } else {
    std::memcpy(to, from, 3);
  }
}

#if defined(__SSE2__)
// Transposes a 16x16 block of bytes held one row per register: after it, r[k] holds
// column k, byte m coming from row m.
inline void transpose16x16(__m128i r[16]) {
  __m128i s[16];
  for (int p = 0; p < 8; ++p) {
    s[2 * p] = _mm_unpacklo_epi8(r[2 * p], r[2 * p + 1]);      // columns 0..7, two rows
    s[2 * p + 1] = _mm_unpackhi_epi8(r[2 * p], r[2 * p + 1]);  // columns 8..15
  }
  __m128i t[16];
  for (int q = 0; q < 4; ++q) {
    t[4 * q] = _mm_unpacklo_epi16(s[4 * q], s[4 * q + 2]);  // columns 0..3, four rows
    t[4 * q + 1] = _mm_unpackhi_epi16(s[4 * q], s[4 * q + 2]);
    t[4 * q + 2] = _mm_unpacklo_epi16(s[4 * q + 1], s[4 * q + 3]);
    t[4 * q + 3] = _mm_unpackhi_epi16(s[4 * q + 1], s[4 * q + 3]);
  }
  __m128i u[16];
  for (int h = 0; h < 2; ++h)
    for (int c = 0; c < 4; ++c) {
      u[8 * h + 2 * c] = _mm_unpacklo_epi32(t[8 * h + c], t[8 * h + 4 + c]);  // two columns, eight rows
      u[8 * h + 2 * c + 1] = _mm_unpackhi_epi32(t[8 * h + c], t[8 * h + 4 + c]);
    }
  for (int e = 0; e < 8; ++e) {
    r[2 * e] = _mm_unpacklo_epi64(u[e], u[8 + e]);
    r[2 * e + 1] = _mm_unpackhi_epi64(u[e], u[8 + e]);
  }
}

// One 16x16 block of an 8-bit transpose: output rows j..j+15, columns i..i+15.
inline void transposeBlock8(ConstPlane src, Plane out, int i, int j, long x0, int xStep, long y0, int yStep) {
  const long firstX = xStep > 0 ? x0 + j : x0 - (j + 15);
  __m128i r[16];
  for (int m = 0; m < 16; ++m)
    r[m] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at(src, firstX, y0 + (i + m) * yStep, 1)));
  transpose16x16(r);
  for (int k = 0; k < 16; ++k) {
    const int row = xStep > 0 ? j + k : j + 15 - k;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data + static_cast<std::size_t>(row) * out.stride + i), r[k]);
  }
}
#endif

void transposeScalar(ConstPlane src, Plane out, int i0, int i1, int j0, int j1, int bytesPerPixel, long x0, int xStep,
                     long y0, int yStep) {
  for (int j = j0; j < j1; ++j) {
    std::uint8_t* o = out.data + static_cast<std::size_t>(j) * out.stride;
    const long x = x0 + static_cast<long>(j) * xStep;
    for (int i = i0; i < i1; ++i)
      copyPixel(at(src, x, y0 + static_cast<long>(i) * yStep, bytesPerPixel), o + static_cast<std::size_t>(i) * bytesPerPixel,
                bytesPerPixel);
  }
}

// 3-byte pixels moved as 4-byte words: each store spills one byte into the next pixel
// of the row, which is stored afterwards.  The last pixel of a row is stored exactly.
void transposeTile24(ConstPlane src, Plane out, int i0, int i1, int j0, int j1, int width, long x0, int xStep, long y0,
                     int yStep) {
  const int wordEnd = std::min(i1, width - 1);
  for (int j = j0; j < j1; ++j) {
    std::uint8_t* o = out.data + static_cast<std::size_t>(j) * out.stride;
    const long x = x0 + static_cast<long>(j) * xStep;
    const std::uint8_t* s = at(src, x, y0 + static_cast<long>(i0) * yStep, 3);
    const std::ptrdiff_t sStep = static_cast<std::ptrdiff_t>(src.stride) * yStep;
    int i = i0;
    for (; i < wordEnd; ++i, s += sStep) {
      std::uint32_t word;
      std::memcpy(&word, s, 4);
      std::memcpy(o + 3 * static_cast<std::size_t>(i), &word, 4);
    }
    for (; i < i1; ++i, s += sStep) std::memcpy(o + 3 * static_cast<std::size_t>(i), s, 3);
  }
}

}  // namespace

void transposeTurn(ConstPlane src, Plane out, int width, int height, int bytesPerPixel, long x0, int xStep, long y0,
                   int yStep) {
#if defined(__SSE2__)
  if (bytesPerPixel == 1) {
    int i = 0;
    for (; i + kBand <= width; i += kBand) {
      int j = 0;
      for (; j + 16 <= height; j += 16) transposeBlock8(src, out, i, j, x0, xStep, y0, yStep);
      transposeScalar(src, out, i, i + kBand, j, height, 1, x0, xStep, y0, yStep);
    }
    transposeScalar(src, out, i, width, 0, height, 1, x0, xStep, y0, yStep);
    return;
  }
#endif
  // Square tiles for the word moves of 3-byte pixels and for the plain fallback.  Within
  // a row the tiles go left to right, so each word's spill is overwritten afterwards.
  for (int it = 0; it < width; it += kTile) {
    const int iEnd = std::min(width, it + kTile);
    for (int jt = 0; jt < height; jt += kTile) {
      const int jEnd = std::min(height, jt + kTile);
      if (bytesPerPixel == 3) {
        transposeTile24(src, out, it, iEnd, jt, jEnd, width, x0, xStep, y0, yStep);
      } else {
        transposeScalar(src, out, it, iEnd, jt, jEnd, 1, x0, xStep, y0, yStep);
      }
    }
  }
}

void rowTurn(ConstPlane src, Plane out, int width, int height, int bytesPerPixel, long x0, int xStep, long y0,
             int yStep) {
  const std::size_t bpp = static_cast<std::size_t>(bytesPerPixel);
  for (int j = 0; j < height; ++j) {
    std::uint8_t* o = out.data + static_cast<std::size_t>(j) * out.stride;
    const long y = y0 + static_cast<long>(j) * yStep;
    if (xStep > 0) {
      std::memcpy(o, at(src, x0, y, bytesPerPixel), bpp * static_cast<std::size_t>(width));
      continue;
    }
    const std::uint8_t* s = at(src, x0, y, bytesPerPixel);
    for (int i = 0; i < width; ++i, s -= bpp) copyPixel(s, o + bpp * static_cast<std::size_t>(i), bytesPerPixel);
  }
}

}  // namespace rotateimage::detail
