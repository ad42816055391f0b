#include "right_angle.h"

#include <algorithm>
#include <cstring>

#if defined(ROTATEIMAGE_AVX2)
#include <immintrin.h>
#endif

namespace rotateimage::detail {
namespace {

// Transposes go tile by tile, output row bands of tiles from left to right, so that
// within an output row every 3-byte word move spills only into a pixel written
// afterwards.  Tiles are large: each reads pieces of a few hundred bytes from many
// source rows, and shorter pieces cost the memory system far more than their bytes.
constexpr int kTile8 = 512;   // output rows and columns of a tile of 1-byte pixels
constexpr int kTile24 = 256;  // and of 3-byte ones

inline const std::uint8_t* at(const Turn& t, long x, long y) {
  return t.src.data + static_cast<std::size_t>(y) * t.src.stride +
         static_cast<std::size_t>(x) * static_cast<std::size_t>(t.bytesPerPixel);
}

inline std::uint8_t* outAt(const Turn& t, int i, int j) {
  return t.out.data + static_cast<std::size_t>(j) * t.out.stride +
         static_cast<std::size_t>(i) * static_cast<std::size_t>(t.bytesPerPixel);
}

// The source column of output row j in a transpose, and the source row of output column i.
inline long columnOf(const Turn& t, int j) { return t.x0 + static_cast<long>(j) * t.xStep; }
inline long rowOf(const Turn& t, int i) { return t.y0 + static_cast<long>(i) * t.yStep; }

// The tiles take their Turn by value: stores through the output cannot alias a copy, so
// its fields stay in registers.

// Output columns [i0, i1) of rows [j0, j1), one pixel at a time.  3-byte pixels move as
// 4-byte words, each spilling one byte into the next pixel of the row, which is written
// afterwards; the last pixel of a row is written exactly.
void transposeScalar(const Turn t, int i0, int i1, int j0, int j1) {
  const std::ptrdiff_t sStep = static_cast<std::ptrdiff_t>(t.src.stride) * t.yStep;
  for (int j = j0; j < j1; ++j) {
    const std::uint8_t* s = at(t, columnOf(t, j), rowOf(t, i0));
    std::uint8_t* o = outAt(t, i0, j);
    if (t.bytesPerPixel == 1) {
      for (int i = i0; i < i1; ++i, s += sStep) *o++ = *s;
      continue;
    }
    const int wordEnd = std::min(i1, t.width - 1);
    int i = i0;
    for (; i < wordEnd; ++i, s += sStep, o += 3) std::memcpy(o, s, 4);
    for (; i < i1; ++i, s += sStep, o += 3) std::memcpy(o, s, 3);
  }
}

template <class Tile>
void forEachTile(const Turn& t, Tile tile) {
  const int side = t.bytesPerPixel == 1 ? kTile8 : kTile24;
  for (int jt = 0; jt < t.height; jt += side)
    for (int it = 0; it < t.width; it += side)
      tile(it, std::min(t.width, it + side), jt, std::min(t.height, jt + side));
}

#if defined(ROTATEIMAGE_AVX2)
// Transposes two 16x16 blocks of bytes at once, one per 128-bit lane, held one row per
// register: after it, r[k] holds column k of each block, byte m coming from row m.
ROTATEIMAGE_AVX2_TARGET inline void transpose16x16(__m256i r[16]) {
  __m256i s[16];
  ROTATEIMAGE_UNROLL
  for (int p = 0; p < 8; ++p) {
    s[2 * p] = _mm256_unpacklo_epi8(r[2 * p], r[2 * p + 1]);      // columns 0..7, two rows
    s[2 * p + 1] = _mm256_unpackhi_epi8(r[2 * p], r[2 * p + 1]);  // columns 8..15
  }
  __m256i u[16];
  ROTATEIMAGE_UNROLL
  for (int q = 0; q < 4; ++q) {
    u[4 * q] = _mm256_unpacklo_epi16(s[4 * q], s[4 * q + 2]);  // columns 0..3, four rows
    u[4 * q + 1] = _mm256_unpackhi_epi16(s[4 * q], s[4 * q + 2]);
    u[4 * q + 2] = _mm256_unpacklo_epi16(s[4 * q + 1], s[4 * q + 3]);
    u[4 * q + 3] = _mm256_unpackhi_epi16(s[4 * q + 1], s[4 * q + 3]);
  }
  ROTATEIMAGE_UNROLL
  for (int h = 0; h < 2; ++h) ROTATEIMAGE_UNROLL
  for (int c = 0; c < 4; ++c) {
    s[8 * h + 2 * c] = _mm256_unpacklo_epi32(u[8 * h + c], u[8 * h + 4 + c]);  // two columns, eight rows
    s[8 * h + 2 * c + 1] = _mm256_unpackhi_epi32(u[8 * h + c], u[8 * h + 4 + c]);
  }
  ROTATEIMAGE_UNROLL
  for (int e = 0; e < 8; ++e) {
    r[2 * e] = _mm256_unpacklo_epi64(s[e], s[8 + e]);
    r[2 * e + 1] = _mm256_unpackhi_epi64(s[e], s[8 + e]);
  }
}

ROTATEIMAGE_AVX2_TARGET inline __m256i load2(const std::uint8_t* low, const std::uint8_t* high) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// The step between the source rows of neighbouring output columns.
inline std::ptrdiff_t sourceStep(const Turn& t) { return static_cast<std::ptrdiff_t>(t.src.stride) * t.yStep; }

constexpr std::uintptr_t kLine = 64;

// The bytes from `at` to the next line boundary, at most `count`.
inline std::size_t toLine(const std::uint8_t* at, std::size_t count) {
  return std::min(count, static_cast<std::size_t>((kLine - reinterpret_cast<std::uintptr_t>(at) % kLine) % kLine));
}

// Writes `count` bytes to `to`: the whole 64-byte lines streamed past the caches (the
// output is not read back soon, and plain stores would first read every line), the
// bytes of partial lines stored plainly, so that no line is written both ways.
ROTATEIMAGE_AVX2_TARGET void streamBytes(std::uint8_t* to, const std::uint8_t* from, std::size_t count) {
  const std::size_t head = toLine(to, count);
  std::memcpy(to, from, head);
  std::size_t k = head;
  for (; k + kLine <= count; k += kLine) {
    _mm256_stream_si256(reinterpret_cast<__m256i*>(to + k),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + k)));
    _mm256_stream_si256(reinterpret_cast<__m256i*>(to + k + 32),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + k + 32)));
  }
  std::memcpy(to + k, from + k, count - k);
}

// Sets `count` bytes to 0 the way streamBytes writes them.
ROTATEIMAGE_AVX2_TARGET void streamZeros(std::uint8_t* at, std::size_t count) {
  const std::size_t head = toLine(at, count);
  std::memset(at, 0, head);
  const __m256i zero = _mm256_setzero_si256();
  std::size_t k = head;
  for (; k + kLine <= count; k += kLine) {
    _mm256_stream_si256(reinterpret_cast<__m256i*>(at + k), zero);
    _mm256_stream_si256(reinterpret_cast<__m256i*>(at + k + 32), zero);
  }
  std::memset(at + k, 0, count - k);
  _mm_sfence();  // streamed stores are ordered before whatever publishes them
}

// 8 bits, blocks of output rows j..j+15 and columns i..i+31: 32 source rows of 16 bytes,
// rows i..i+15 in the low lanes and i+16..i+31 in the high ones, so that each output row
// is one 32-byte store.  The 16 rows are gathered in a small buffer across the tile and
// then streamed out whole.
ROTATEIMAGE_AVX2_TARGET void transposeTile8(const Turn t, int i0, int i1, int j0, int j1) {
  alignas(32) std::uint8_t staged[16][kTile8];
  const std::ptrdiff_t sStep = sourceStep(t);
  int j = j0;
  for (; j + 16 <= j1; j += 16) {
    const std::uint8_t* s = at(t, std::min(columnOf(t, j), columnOf(t, j + 15)), rowOf(t, i0));
    int i = i0;
    for (; i + 32 <= i1; i += 32, s += 32 * sStep) {
      __m256i r[16];
      ROTATEIMAGE_UNROLL
      for (int m = 0; m < 16; ++m) r[m] = load2(s + m * sStep, s + (16 + m) * sStep);
      transpose16x16(r);
      // r[k] holds source column first + k: output row j + k, or j + 15 - k mirrored.
      ROTATEIMAGE_UNROLL
      for (int k = 0; k < 16; ++k)
        _mm256_store_si256(reinterpret_cast<__m256i*>(&staged[t.xStep > 0 ? k : 15 - k][i - i0]), r[k]);
    }
    for (int k = 0; k < 16; ++k) streamBytes(outAt(t, i0, j + k), staged[k], static_cast<std::size_t>(i - i0));
    transposeScalar(t, i, i1, j, j + 16);
  }
  transposeScalar(t, i0, i1, j, j1);
  _mm_sfence();  // streamed stores are ordered before whatever publishes them
}

// 3 bytes, blocks of output rows j..j+7 and columns i..i+3: four source rows of eight
// pixels, read as two 16-byte halves; each pixel widened to 4 bytes, the 4x4 blocks
// transposed as 32-bit words, narrowed back.  A block reads to one byte after pixel
// xa + 8, where xa is its first source column; blocks reaching past the last column read
// go pixel by pixel.  The eight rows are gathered across the tile in a small buffer,
// each 16-byte store spilling into the next pixels there, and then streamed out whole.
ROTATEIMAGE_AVX2_TARGET void transposeTile24(const Turn t, int i0, int i1, int j0, int j1) {
  const __m256i widen = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                         0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i narrow = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  alignas(32) std::uint8_t staged[8][3 * kTile24 + 4];
  const long xLast = std::max(columnOf(t, 0), columnOf(t, t.height - 1));
  const std::ptrdiff_t sStep = sourceStep(t);
  // Rows jBegin..jEnd-1 go by blocks: whole blocks whose reads stay within the last
  // column, which are the first ones or, mirrored, the last ones.
  const auto fits = [&t, xLast](int j) { return std::min(columnOf(t, j), columnOf(t, j + 7)) + 8 <= xLast; };
  int jBegin = j0;
  while (jBegin + 8 <= j1 && !fits(jBegin)) jBegin += 8;
  int jEnd = jBegin;
  while (jEnd + 8 <= j1 && fits(jEnd)) jEnd += 8;
  for (int j = jBegin; j < jEnd; j += 8) {
    const long xa = std::min(columnOf(t, j), columnOf(t, j + 7));
    const std::uint8_t* s = at(t, xa, rowOf(t, i0));
    int i = i0;
    for (; i + 4 <= i1; i += 4, s += 4 * sStep) {
      __m256i r[4];
      ROTATEIMAGE_UNROLL
      for (int m = 0; m < 4; ++m) r[m] = _mm256_shuffle_epi8(load2(s + m * sStep, s + m * sStep + 12), widen);
      const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]);
      const __m256i t1 = _mm256_unpackhi_epi32(r[0], r[1]);
      const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]);
      const __m256i t3 = _mm256_unpackhi_epi32(r[2], r[3]);
      const __m256i columns[4] = {_mm256_unpacklo_epi64(t0, t2), _mm256_unpackhi_epi64(t0, t2),
                                  _mm256_unpacklo_epi64(t1, t3), _mm256_unpackhi_epi64(t1, t3)};
      const std::size_t at = 3 * static_cast<std::size_t>(i - i0);
      ROTATEIMAGE_UNROLL
      for (int p = 0; p < 4; ++p) {
        // Source columns xa + p (low lane) and xa + 4 + p: rows p and 4 + p of the block,
        // counted from its other end when mirrored.
        const __m256i c = _mm256_shuffle_epi8(columns[p], narrow);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&staged[t.xStep > 0 ? p : 7 - p][at]), _mm256_castsi256_si128(c));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&staged[t.xStep > 0 ? 4 + p : 3 - p][at]),
                         _mm256_extracti128_si256(c, 1));
      }
    }
    for (int k = 0; k < 8; ++k) streamBytes(outAt(t, i0, j + k), staged[k], 3 * static_cast<std::size_t>(i - i0));
    transposeScalar(t, i, i1, j, j + 8);
  }
  transposeScalar(t, i0, i1, j0, jBegin);
  transposeScalar(t, i0, i1, jEnd, j1);
  _mm_sfence();  // streamed stores are ordered before whatever publishes them
}

// 8 bits reversed: 32 source bytes, reversed within lanes and the lanes swapped.
ROTATEIMAGE_AVX2_TARGET int reverseRow8(const std::uint8_t* s, std::uint8_t* o, int width) {
  const __m256i reverse = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  //
                                           15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  int i = 0;
  for (; i + 32 <= width; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s - i - 31));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + i),
                        _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, reverse), 0x4E));
  }
  return i;
}

// 3 bytes reversed, eight pixels at a time: two 16-byte loads that end with four pixels
// each, reversed within the lanes, the lanes' 12 bytes joined and stored as 32 bytes
// that spill into the three following pixels.  Stops where a load would start before
// the row's first pixel or a store would spill past its last.
ROTATEIMAGE_AVX2_TARGET int reverseRow24(const std::uint8_t* s, std::uint8_t* o, int width) {
  const __m256i reverse = _mm256_setr_epi8(13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, -1, -1, -1, -1,  //
                                           13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, -1, -1, -1, -1);
  const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  int i = 0;
  for (; i + 11 <= width; i += 8) {
    // Source pixels -i-3..-i in the top 12 bytes of the low half, -i-7..-i-4 of the high.
    const std::uint8_t* low = s - 3 * static_cast<std::ptrdiff_t>(i + 3) - 4;
    const __m256i v = _mm256_shuffle_epi8(load2(low, low - 12), reverse);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 3 * static_cast<std::size_t>(i)),
                        _mm256_permutevar8x32_epi32(v, join));
  }
  return i;
}
#endif

}  // namespace

void transposeTurn(const Turn& t, Kernels kernels) {
  auto tile = transposeScalar;
#if defined(ROTATEIMAGE_AVX2)
  if (kernels == Kernels::avx2) tile = t.bytesPerPixel == 1 ? transposeTile8 : transposeTile24;
#endif
  (void)kernels;
  forEachTile(t, [&t, tile](int i0, int i1, int j0, int j1) { tile(t, i0, i1, j0, j1); });
}

void rowTurn(const Turn& t, Kernels kernels) {
  (void)kernels;
  const std::size_t bpp = static_cast<std::size_t>(t.bytesPerPixel);
  for (int j = 0; j < t.height; ++j) {
    std::uint8_t* o = outAt(t, 0, j);
    const std::uint8_t* s = at(t, t.x0, rowOf(t, j));
    if (t.xStep > 0) {
      std::memcpy(o, s, bpp * static_cast<std::size_t>(t.width));
      continue;
    }
    int i = 0;
#if defined(ROTATEIMAGE_AVX2)
    if (kernels == Kernels::avx2) i = (bpp == 1 ? reverseRow8 : reverseRow24)(s, o, t.width);
#endif
    for (s -= bpp * static_cast<std::size_t>(i); i < t.width; ++i, s -= bpp)
      std::memcpy(o + bpp * static_cast<std::size_t>(i), s, bpp);
  }
}

void clearBytes(std::uint8_t* at, std::size_t count, Kernels kernels) {
#if defined(ROTATEIMAGE_AVX2)
  if (kernels == Kernels::avx2) {
    streamZeros(at, count);
    return;
  }
#endif
  (void)kernels;
  std::memset(at, 0, count);
}

}  // namespace rotateimage::detail
