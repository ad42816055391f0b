#include "general_walk.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#if defined(ROTATEIMAGE_AVX2)
#include <immintrin.h>
#endif

namespace rotateimage::detail {
namespace {

// Output rows and columns of one tile.  Its samples cover a source area about as large,
// whatever the angle, so its source lines stay cached while it is walked.
constexpr int kTileRows = 128;
constexpr int kTileCols = 128;

// A run of consecutive samples of one row.
struct Run {
  std::int64_t x, y, dx, dy;
  int count;
};

// Truncation toward zero and an arithmetic shift differ only for negative coordinates,
// which both clamp to 0.
inline std::int64_t clampIndex(std::int64_t fixed, int size) {
  return std::clamp<std::int64_t>(fixed >> 16, 0, size - 1);
}

inline const std::uint8_t* sampleAt(const Source& s, std::int64_t x, std::int64_t y) {
  return s.plane.data + static_cast<std::size_t>(clampIndex(y, s.height)) * s.plane.stride +
         static_cast<std::size_t>(clampIndex(x, s.width)) * static_cast<std::size_t>(s.bytesPerPixel);
}

// Samples [from, run.count) one at a time.  3-byte pixels move as 4-byte words, each
// spilling into the next pixel of the run, which is written afterwards; the run's last
// pixel is written exactly.
void sampleScalar(const Source& s, const Run& run, int from, std::uint8_t* out) {
  std::int64_t x = run.x + from * run.dx;
  std::int64_t y = run.y + from * run.dy;
  if (s.bytesPerPixel == 1) {
    for (int k = from; k < run.count; ++k, x += run.dx, y += run.dy) out[k] = *sampleAt(s, x, y);
    return;
  }
  for (int k = from; k < run.count; ++k, x += run.dx, y += run.dy)
    std::memcpy(out + 3 * static_cast<std::size_t>(k), sampleAt(s, x, y), k + 1 < run.count ? 4 : 3);
}

#if defined(ROTATEIMAGE_AVX2)
// The vector walk keeps positions in 32-bit lanes and gathers by 32-bit offsets: both
// ends of the run must fit, and so must every offset into the source.
bool fitsLanes(const Source& s, const Run& run) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 30;
  const std::int64_t lastX = run.x + (run.count - 1) * run.dx;
  const std::int64_t lastY = run.y + (run.count - 1) * run.dy;
  const auto fits = [](std::int64_t v) { return v > -kLimit && v < kLimit; };
  return fits(run.x) && fits(run.y) && fits(lastX) && fits(lastY) && fits(8 * run.dx) && fits(8 * run.dy) &&
         s.plane.stride * static_cast<std::size_t>(s.height) < static_cast<std::size_t>(kLimit);
}

// Eight positions of a run in 32-bit lanes, stepped by adds.
struct Lanes {
  __m256i x, y, stepX, stepY, lastColumn, lastRow, stride;
};

// Positions start, start + step, ..., start + 7 step.
ROTATEIMAGE_AVX2_TARGET inline __m256i lanePositions(std::int64_t start, std::int64_t step) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(start)),
                          _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int>(step))));
}

ROTATEIMAGE_AVX2_TARGET inline Lanes startLanes(const Source& s, const Run& run) {
  return {lanePositions(run.x, run.dx),
          lanePositions(run.y, run.dy),
          _mm256_set1_epi32(static_cast<int>(8 * run.dx)),
          _mm256_set1_epi32(static_cast<int>(8 * run.dy)),
          _mm256_set1_epi32(s.width - 1),
          _mm256_set1_epi32(s.height - 1),
          _mm256_set1_epi32(static_cast<int>(s.plane.stride))};
}

// The source offsets of the lanes' samples, indices clamped; the lanes move on by eight.
ROTATEIMAGE_AVX2_TARGET inline __m256i nextOffsets(Lanes& l, int bytesPerPixel) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i column = _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(l.x, 16), zero), l.lastColumn);
  const __m256i row = _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(l.y, 16), zero), l.lastRow);
  l.x = _mm256_add_epi32(l.x, l.stepX);
  l.y = _mm256_add_epi32(l.y, l.stepY);
  if (bytesPerPixel == 3) column = _mm256_add_epi32(column, _mm256_add_epi32(column, column));
  return _mm256_add_epi32(_mm256_mullo_epi32(row, l.stride), column);
}

// Eight samples at a time: the source offsets gathered.  Returns how many samples were
// written.
ROTATEIMAGE_AVX2_TARGET int sampleVector(const Source& s, const Run& run, std::uint8_t* out) {
  const int count = run.count;  // kept apart from `out`, which may alias anything
  if (s.bytesPerPixel == 3 ? count < 11 : count < 8) return 0;
  if (!fitsLanes(s, run)) return 0;
  Lanes lanes = startLanes(s, run);
  int k = 0;
  if (s.bytesPerPixel == 1) {
    // Words that end at the sample: their top bytes, four per lane, then the two lanes'.
    const __m256i top = _mm256_setr_epi8(3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  //
                                         3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 4, 0, 0, 0, 0, 0, 0);
    const int* base = reinterpret_cast<const int*>(s.plane.data - 3);
    for (; k + 8 <= count; k += 8) {
      const __m256i words = _mm256_i32gather_epi32(base, nextOffsets(lanes, s.bytesPerPixel), 1);
      const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, top), join);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm256_castsi256_si128(bytes));
    }
    return k;
  }
  // Words that start at the sample: their low three bytes, twelve per lane, joined and
  // stored as 32 bytes that spill into the three following pixels of the run.
  const __m256i low3 = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  const int* base = reinterpret_cast<const int*>(s.plane.data);
  for (; k + 11 <= count; k += 8) {
    const __m256i words = _mm256_i32gather_epi32(base, nextOffsets(lanes, s.bytesPerPixel), 1);
    const __m256i pixels = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, low3), join);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 3 * static_cast<std::size_t>(k)), pixels);
  }
  return k;
}
#endif

void sampleRun(const Source& s, const Run& run, std::uint8_t* out, Kernels kernels) {
  int from = 0;
#if defined(ROTATEIMAGE_AVX2)
  if (kernels == Kernels::avx2) from = sampleVector(s, run, out);
#endif
  (void)kernels;
  sampleScalar(s, run, from, out);
}

}  // namespace

namespace {

// Rows [first, first + count) of a band, columns [c0, c1] of the columns up to groupHi
// that the rows cover.
struct Tile {
  std::size_t first, count;
  int c0, c1, groupHi;
};

// A band's tiles in walking order: groups of rows from the top, in each group from left
// to right.  The first tile of the first group at or after row `first` that has samples.
std::optional<Tile> firstTileFrom(std::span<const RowStart> rows, std::size_t first) {
  for (; first < rows.size(); first += kTileRows) {
    const std::size_t count = std::min<std::size_t>(kTileRows, rows.size() - first);
    int lo = std::numeric_limits<int>::max();
    int hi = -1;
    for (const RowStart& row : rows.subspan(first, count))
      if (!row.empty()) {
        lo = std::min(lo, row.lo);
        hi = std::max(hi, row.hi);
      }
    if (lo <= hi) return Tile{first, count, lo, std::min(hi, lo + kTileCols - 1), hi};
  }
  return std::nullopt;
}

std::optional<Tile> tileAfter(std::span<const RowStart> rows, const Tile& tile) {
  if (tile.c1 < tile.groupHi)
    return Tile{tile.first, tile.count, tile.c1 + 1, std::min(tile.groupHi, tile.c1 + kTileCols), tile.groupHi};
  return firstTileFrom(rows, tile.first + tile.count);
}

// The source lines a tile reads, asked for a few at a time while the tile before it is
// walked: walked on demand, its scattered reads would wait for memory one line after
// another.  The lines are those of the bounding box of the tile's corner positions.
class TileFetch {
 public:
  TileFetch(const Source& s, std::span<const RowStart> rows, const Tile& tile, std::int64_t dx, std::int64_t dy)
      : src_(s) {
    std::int64_t x0 = std::numeric_limits<std::int64_t>::max(), x1 = std::numeric_limits<std::int64_t>::min();
    std::int64_t y0 = x0, y1 = x1;
    const auto corners = [&](const RowStart& row) {
      for (int c : {tile.c0, tile.c1}) {
        const std::int64_t x = (row.x + (c - row.lo) * dx) >> 16;
        const std::int64_t y = (row.y + (c - row.lo) * dy) >> 16;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
    };
    const auto tileRows = rows.subspan(tile.first, tile.count);
    const auto first = std::find_if(tileRows.begin(), tileRows.end(), [](const RowStart& r) { return !r.empty(); });
    const auto last = std::find_if(tileRows.rbegin(), tileRows.rend(), [](const RowStart& r) { return !r.empty(); });
    if (first == tileRows.end()) return;
    corners(*first);
    corners(*last);
    const std::size_t bpp = static_cast<std::size_t>(s.bytesPerPixel);
    const auto clampTo = [](std::int64_t v, int size) { return std::clamp<std::int64_t>(v, 0, size - 1); };
    row_ = clampTo(y0, s.height);
    lastRow_ = clampTo(y1, s.height);
    from_ = static_cast<std::size_t>(clampTo(x0, s.width)) * bpp;
    bytes_ = static_cast<std::size_t>(clampTo(x1, s.width) + 1) * bpp - from_;
  }

  std::size_t lines() const {
    return lastRow_ < row_ ? 0 : static_cast<std::size_t>(lastRow_ - row_ + 1) * (bytes_ / kLine + 2);
  }

  void fetch(std::size_t lines) {
    for (; lines > 0 && row_ <= lastRow_; --lines) {
      const std::uint8_t* at = src_.plane.data + static_cast<std::size_t>(row_) * src_.plane.stride + from_ + offset_;
#if defined(__GNUC__)
      __builtin_prefetch(at);
#endif
      offset_ += kLine;
      if (offset_ >= bytes_ + kLine - 1) {
        offset_ = 0;
        ++row_;
      }
    }
  }

 private:
  static constexpr std::size_t kLine = 64;
  const Source& src_;
  std::int64_t row_ = 0, lastRow_ = -1;
  std::size_t from_ = 0, bytes_ = 0, offset_ = 0;
};

}  // namespace

void walkTiles(const Source& src, std::span<const RowStart> rows, std::int64_t dx, std::int64_t dy, Plane out,
               Kernels kernels) {
  const std::size_t bpp = static_cast<std::size_t>(src.bytesPerPixel);
  for (auto tile = firstTileFrom(rows, 0); tile;) {
    const auto next = tileAfter(rows, *tile);
    std::optional<TileFetch> fetch;
    if (next) fetch.emplace(src, rows, *next, dx, dy);
    const std::size_t perRow = fetch ? fetch->lines() / tile->count + 1 : 0;
    for (std::size_t r = tile->first; r < tile->first + tile->count; ++r) {
      if (fetch) fetch->fetch(perRow);
      const RowStart& row = rows[r];
      const int a = std::max(row.lo, tile->c0);
      const int b = std::min(row.hi, tile->c1);
      if (a > b) continue;
      const std::int64_t skipped = a - row.lo;
      const Run run{row.x + skipped * dx, row.y + skipped * dy, dx, dy, b - a + 1};
      sampleRun(src, run, out.data + r * out.stride + static_cast<std::size_t>(a) * bpp, kernels);
    }
    tile = next;
  }
}

}  // namespace rotateimage::detail
