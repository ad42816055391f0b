#include "rotateimage/rotation_engine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <numbers>
#include <exception>
#include <thread>
#include <vector>

#include "platform/little_endian.h"
#include "general_walk.h"
#include "right_angle.h"

namespace rotateimage {
namespace dib = platform::dib;

namespace {

constexpr double kFixedOne = 65536.0;        // 16.16 fixed point
constexpr double kConstantStep = 0.001;      // below this a coordinate is constant along a row
constexpr double kRangeMargin = 0.1;         // keeps samples strictly inside the source
constexpr std::size_t kMaskPaletteSize = 2;  // black for picture, white for background

// Round to nearest, ties to even (the FPU's default mode).
double roundEven(double v) { return std::nearbyint(v); }

// The walk's plan: each output row's column range and fixed-point start, and the steps.
struct Walk {
  std::vector<detail::RowStart> rows;
  std::int64_t dx = 0;
  std::int64_t dy = 0;
};

Walk planWalk(const Dimension& d, int width, int height, OutputSize out) {
  const double g = out.width / 2.0 - 0.5;
  const double k = out.height / 2.0 - 0.5;
  const float x0 = static_cast<float>(width / 2.0 - g * d.colStepX - k * d.rowStepX);
  const float y0 = static_cast<float>(height / 2.0 - g * d.colStepY - k * d.rowStepY);
  Walk walk;
  walk.dx = static_cast<std::int64_t>(roundEven(d.colStepX * kFixedOne));
  walk.dy = static_cast<std::int64_t>(roundEven(d.colStepY * kFixedOne));
  walk.rows.resize(static_cast<std::size_t>(out.height));
  for (int j = 0; j < out.height; ++j) {
    const double rowX = static_cast<double>(j) * d.rowStepX + x0;
    const double rowY = static_cast<double>(j) * d.rowStepY + y0;
    const ColumnSpan sx = ColumnRange(width, static_cast<float>(rowX), d.colStepX, out.width);
    const ColumnSpan sy = ColumnRange(height, static_cast<float>(rowY), d.colStepY, out.width);
    detail::RowStart& row = walk.rows[static_cast<std::size_t>(j)];
    if (sx.empty() || sy.empty()) continue;
    row.lo = std::max(sx.lo, sy.lo);
    row.hi = std::min(sx.hi, sy.hi);
    if (row.empty()) continue;
    row.x = static_cast<std::int64_t>(roundEven((rowX + row.lo * static_cast<double>(d.colStepX)) * kFixedOne));
    row.y = static_cast<std::int64_t>(roundEven((rowY + row.lo * static_cast<double>(d.colStepY)) * kFixedOne));
  }
  return walk;
}

// A right-angle walk whose every row covers all columns and whose samples follow whole
// steps without clamping, described as the block copy it equals.
struct RightAngle {
  bool transpose = false;  // output columns walk source rows
  long x0 = 0, y0 = 0;
  int xStep = 1, yStep = 1;
};

// Where a row's walk samples first and last, if it stays inside without clamping; the
// steps are whole pixels, so non-negative ends mean truncation never differs from floor.
struct Ends {
  std::int64_t first, last;
};
std::optional<Ends> unclamped(std::int64_t start, std::int64_t step, int count, std::int64_t size) {
  const std::int64_t end = start + step * (count - 1);
  if (start < 0 || end < 0 || start / 65536 >= size || end / 65536 >= size) return std::nullopt;
  return Ends{start / 65536, end / 65536};
}

std::optional<RightAngle> rightAngle(const Walk& walk, int width, int height, OutputSize out) {
  const bool transpose = walk.dx == 0 && (walk.dy == 65536 || walk.dy == -65536);
  const bool rows = walk.dy == 0 && (walk.dx == 65536 || walk.dx == -65536);
  if (!transpose && !rows) return std::nullopt;
  RightAngle r;
  r.transpose = transpose;
  // Along a row one coordinate walks, the other stays; across rows the staying one must
  // move by whole steps and the walking one must start in the same place.
  for (int j = 0; j < out.height; ++j) {
    const detail::RowStart& row = walk.rows[static_cast<std::size_t>(j)];
    if (row.lo != 0 || row.hi != out.width - 1) return std::nullopt;
    const auto walking =
        transpose ? unclamped(row.y, walk.dy, out.width, height) : unclamped(row.x, walk.dx, out.width, width);
    const auto staying = transpose ? unclamped(row.x, 0, 1, width) : unclamped(row.y, 0, 1, height);
    if (!walking || !staying) return std::nullopt;
    long& walkStart = transpose ? r.y0 : r.x0;
    long& stayStart = transpose ? r.x0 : r.y0;
    int& stayStep = transpose ? r.xStep : r.yStep;
    if (j == 0) {
      walkStart = static_cast<long>(walking->first);
      stayStart = static_cast<long>(staying->first);
    } else if (j == 1) {
      stayStep = static_cast<int>(staying->first - stayStart);
      if (stayStep != 1 && stayStep != -1) return std::nullopt;
    }
    if (walking->first != walkStart || staying->first != stayStart + static_cast<long>(j) * stayStep)
      return std::nullopt;
  }
  (transpose ? r.yStep : r.xStep) = (transpose ? walk.dy : walk.dx) > 0 ? 1 : -1;
  return r;
}

std::uint32_t read24(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

void write24(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
}

// The colour options on one 24-bit colour, in the order colour code then negative.
std::uint32_t recolour(std::uint32_t colour, const RenderOptions& options) {
  if (options.colorCode != 0) colour = ApplyColorCode(colour, options.colorCode);
  if (options.negative) colour = ~colour & 0xFFFFFF;
  return colour;
}

// Everything one render needs, shared by the workers; each writes only its own rows.
struct Render {
  detail::Source src;
  const Walk* walk = nullptr;
  std::optional<RightAngle> turn;
  RenderOptions options;
  detail::Kernels kernels = detail::Kernels::portable;
  OutputSize out;
  detail::Plane pixels;
  detail::Plane mask;
  std::uint8_t fill = 0;   // the bytes no sample writes
  bool recolours = false;  // 24 bits with a colour code or negative
};

// The bytes of row j that no sample writes: left and right of its range, and the padding.
void fillOutside(const Render& r, int j) {
  const detail::RowStart& row = r.walk->rows[static_cast<std::size_t>(j)];
  const std::size_t bpp = static_cast<std::size_t>(r.src.bytesPerPixel);
  std::uint8_t* line = r.pixels.data + static_cast<std::size_t>(j) * r.pixels.stride;
  if (row.empty()) {
    std::memset(line, r.fill, r.pixels.stride);
    return;
  }
  std::memset(line, r.fill, static_cast<std::size_t>(row.lo) * bpp);
  const std::size_t end = static_cast<std::size_t>(row.hi + 1) * bpp;
  std::memset(line + end, r.fill, r.pixels.stride - end);
}

// Row j's mask: background outside its range and where the sample is the transparent
// value; then the colour options on the 24-bit pixels that are not transparent.  After a
// block copy the mask rows are already clear: every pixel has a sample.
void finishRow(const Render& r, int j) {
  const detail::RowStart& row = r.walk->rows[static_cast<std::size_t>(j)];
  std::uint8_t* mask = r.mask.data + static_cast<std::size_t>(j) * r.mask.stride;
  const std::size_t width = static_cast<std::size_t>(r.out.width);
  if (row.empty()) {
    std::memset(mask, 1, width);
    std::memset(mask + width, 0, r.mask.stride - width);
    return;
  }
  if (!r.turn) std::memset(mask + width, 0, r.mask.stride - width);
  const std::size_t lo = static_cast<std::size_t>(row.lo);
  const std::size_t hi = static_cast<std::size_t>(row.hi);
  if (!r.turn) {
    std::memset(mask, 1, lo);
    std::memset(mask + lo, 0, hi + 1 - lo);
    std::memset(mask + hi + 1, 1, width - hi - 1);
  }
  const std::uint32_t transparent = r.options.transparent;
  if (transparent == kNoTransparent && !r.recolours) return;
  std::uint8_t* line = r.pixels.data + static_cast<std::size_t>(j) * r.pixels.stride;
  if (r.src.bytesPerPixel == 1) {
    for (std::size_t i = lo; i <= hi; ++i) mask[i] = line[i] == transparent;
    return;
  }
  for (std::size_t i = lo; i <= hi; ++i) {
    std::uint8_t* pixel = line + 3 * i;
    const std::uint32_t colour = read24(pixel);
    if (colour == transparent) {
      mask[i] = 1;
    } else if (r.recolours) {
      write24(pixel, recolour(colour, r.options));
    }
  }
}

// The block copy of output rows [j0, j1).
void turnRows(const Render& r, int j0, int j1) {
  const RightAngle& a = *r.turn;
  detail::Turn t;
  t.src = r.src.plane;
  t.out = {r.pixels.data + static_cast<std::size_t>(j0) * r.pixels.stride, r.pixels.stride};
  t.width = r.out.width;
  t.height = j1 - j0;
  t.bytesPerPixel = r.src.bytesPerPixel;
  t.x0 = a.x0 + (a.transpose ? static_cast<long>(j0) * a.xStep : 0);
  t.xStep = a.xStep;
  t.y0 = a.y0 + (a.transpose ? 0 : static_cast<long>(j0) * a.yStep);
  t.yStep = a.yStep;
  (a.transpose ? detail::transposeTurn : detail::rowTurn)(t, r.kernels);
}

void renderRows(const Render& r, int j0, int j1) {
  for (int j = j0; j < j1; ++j) fillOutside(r, j);
  if (r.turn) {
    turnRows(r, j0, j1);
    detail::clearBytes(r.mask.data + static_cast<std::size_t>(j0) * r.mask.stride,
                       static_cast<std::size_t>(j1 - j0) * r.mask.stride, r.kernels);
  } else {
    const auto rows = std::span(r.walk->rows).subspan(static_cast<std::size_t>(j0), static_cast<std::size_t>(j1 - j0));
    const detail::Plane band{r.pixels.data + static_cast<std::size_t>(j0) * r.pixels.stride, r.pixels.stride};
    detail::walkTiles(r.src, rows, r.walk->dx, r.walk->dy, band, r.kernels);
  }
  for (int j = j0; j < j1; ++j) finishRow(r, j);
}

// Large pictures are rendered in chunks of output rows by one thread per core, each
// taking the next chunk when done, so that a thread slowed by other work takes fewer.
// Below kThreadedPixels output pixels a second thread costs more than it saves.
constexpr std::int64_t kThreadedPixels = std::int64_t{1} << 18;
constexpr int kChunkRows = 256;  // two rows of the walk's tiles

int workersFor(const RenderOptions& options, OutputSize out) {
  int workers = options.threads;
  if (workers <= 0) {
    const bool large = static_cast<std::int64_t>(out.width) * out.height >= kThreadedPixels;
    workers = large ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) : 1;
  }
  return std::min(workers, (out.height + kChunkRows - 1) / kChunkRows);
}

// Runs renderRows over all chunks on `workers` threads, the calling one among them.
void renderInChunks(const Render& r, int workers) {
  const int chunks = (r.out.height + kChunkRows - 1) / kChunkRows;
  std::atomic<int> next{0};
  const auto work = [&r, &next, chunks] {
    for (int c = next++; c < chunks; c = next++)
      renderRows(r, c * kChunkRows, std::min(r.out.height, (c + 1) * kChunkRows));
  };
  std::vector<std::jthread> helpers;
  try {
    helpers.reserve(static_cast<std::size_t>(workers - 1));
    for (int k = 1; k < workers; ++k) helpers.emplace_back(work);
  } catch (const std::exception&) {
    // A worker that cannot be started leaves its chunks to the others.
  }
  work();
}

void transformPalette(std::span<std::uint8_t> rotated, const RenderOptions& options) {
  if (options.colorCode == 0 && !options.negative) return;
  const auto clrUsed = *platform::readU32(rotated, dib::kClrUsed);
  const std::size_t entries = (clrUsed == 0 || clrUsed > 256) ? 256 : clrUsed;
  for (std::size_t e = 0; e < entries; ++e) {
    const std::size_t at = dib::kHeadersSize + e * dib::kPaletteEntrySize;
    std::uint32_t colour = read24(&rotated[at]);
    colour = recolour(colour, options);
    write24(&rotated[at], colour);
  }
}

int toneChannel(int v, int s) {
  if (s == 0) return v;
  const int m = s / 8;
  const int curve = s * v * (255 - v) / 32768;
  if (s > 0) return m + (255 - m) * v / 255 + curve;
  return (255 + m) * v / 255 + curve;
}

}  // namespace

bool acceptsDimension(const Dimension& stored, const Dimension& next) {
  // Products of two floats are exact in double, so the singularity test is exact.
  const double ad = static_cast<double>(next.colStepX) * next.rowStepY;
  const double bc = static_cast<double>(next.colStepY) * next.rowStepX;
  if (ad == bc) return false;
  if (next.colStepX == 0 && next.colStepY == 0) return false;
  if (next.rowStepX == 0 && next.rowStepY == 0) return false;
  return !(next == stored);
}

Dimension dimensionFor(float angle, float zoom) {
  const double c = std::cos(static_cast<double>(angle)) / zoom;
  const double s = std::sin(static_cast<double>(angle)) / zoom;
  return {static_cast<float>(c), static_cast<float>(s), static_cast<float>(-s), static_cast<float>(c)};
}

std::optional<OutputSize> outputSize(const Dimension& d, int width, int height) {
  const float det =
      static_cast<float>(static_cast<double>(d.colStepX) * d.rowStepY - static_cast<double>(d.colStepY) * d.rowStepX);
  if (det == 0.0f) return std::nullopt;
  const double w = roundEven(std::abs(width * static_cast<double>(d.rowStepY) / det) +
                             std::abs(height * static_cast<double>(d.rowStepX) / det));
  const double h = roundEven(std::abs(width * static_cast<double>(d.colStepY) / det) +
                             std::abs(height * static_cast<double>(d.colStepX) / det));
  // Checked in floating point first: a nearly singular matrix gives enormous boxes.
  constexpr auto kLimit = static_cast<double>(dib::kMaxPixels);
  if (!(w <= kLimit && h <= kLimit && w * h <= kLimit)) return std::nullopt;
  // Every source position the walk visits must fit 16.16 fixed point in 64 bits.
  const double steps = std::abs(static_cast<double>(d.colStepX)) + std::abs(static_cast<double>(d.colStepY)) +
                       std::abs(static_cast<double>(d.rowStepX)) + std::abs(static_cast<double>(d.rowStepY));
  if (!((steps * (w + h) + width + height) * kFixedOne < 0x1p62)) return std::nullopt;
  return OutputSize{static_cast<int>(w), static_cast<int>(h)};
}

ColumnSpan ColumnRange(int size, float start, float step, int outputWidth) {
  if (std::abs(static_cast<double>(step)) <= kConstantStep) {
    if (start >= 0 && start < static_cast<float>(size)) return {0, outputWidth - 1};
    return {};
  }
  const float t0 = static_cast<float>((0.0 - start) / step);
  const float t1 = static_cast<float>((size - static_cast<double>(start)) / step);
  const double lo = std::ceil(std::min(t0, t1) + kRangeMargin);
  const double hi = std::floor(std::max(t0, t1) - kRangeMargin);
  // Clipped in floating point, so that far-off rows convert safely.
  const double clippedLo = std::max(lo, 0.0);
  const double clippedHi = std::min(hi, static_cast<double>(outputWidth - 1));
  if (!(clippedLo <= clippedHi)) return {};
  return {static_cast<int>(clippedLo), static_cast<int>(clippedHi)};
}

bool ExecuteDimension(std::span<const std::uint8_t> source, const Dimension& d, const RenderOptions& options,
                      DibBuffer& rotated, DibBuffer& mask) {
  if (!IsValidDib(source)) return false;
  const DibInfo in = readDibInfo(source);
  if (in.bitCount != 8 && in.bitCount != 24) return false;
  const int bytesPerPixel = in.bitCount / 8;
  // A 24-bit source is read with 3-byte moves here, but the block copy reads words.
  if (bytesPerPixel == 3 && source.size() < in.pixelOffset + in.stride * static_cast<std::size_t>(in.height) + 1)
    return false;
  const auto out = outputSize(d, in.width, in.height);
  if (!out) return false;
  if (out->empty()) {
    rotated.clear();
    mask.clear();
    return true;
  }

  Render r;
  const Walk walk = planWalk(d, in.width, in.height, *out);
  r.walk = &walk;
  r.turn = options.generalWalkOnly ? std::nullopt : rightAngle(walk, in.width, in.height, *out);
  r.src = {{source.data() + in.pixelOffset, in.stride}, in.width, in.height, bytesPerPixel};
  r.options = options;
  r.kernels = options.vectorKernels ? detail::fastestKernels() : detail::Kernels::portable;
  r.out = *out;
  r.fill = options.whiteFill && bytesPerPixel == 3 ? 0xFF : 0x00;
  r.recolours = bytesPerPixel == 3 && (options.colorCode != 0 || options.negative);

  // Past this point nothing fails.  The outputs are rebuilt in place, keeping their
  // storage; every byte of their pixel areas is written once, by the workers.
  const std::size_t stride =
      static_cast<std::size_t>(dib::stride(static_cast<std::uint64_t>(out->width), static_cast<unsigned>(in.bitCount)));
  const std::size_t imageSize = in.pixelOffset + stride * static_cast<std::size_t>(out->height);
  rotated.resize(imageSize + (bytesPerPixel == 3 ? 1 : 0));
  std::copy_n(source.begin(), in.pixelOffset, rotated.begin());
  dib::Header header = *dib::readHeader(source);
  header.fileSize = static_cast<std::uint32_t>(imageSize);
  header.width = out->width;
  header.height = out->height;
  header.sizeImage = 0;
  dib::writeHeader(rotated, header);
  if (bytesPerPixel == 3) rotated.back() = 0;  // the spare byte
  r.pixels = {rotated.data() + in.pixelOffset, stride};

  const std::size_t maskStride = static_cast<std::size_t>(dib::stride(static_cast<std::uint64_t>(out->width), 8));
  const dib::Header maskHeader = dib::newHeader(out->width, out->height, 8, kMaskPaletteSize);
  const std::size_t maskOffset = maskHeader.offBits;
  mask.resize(maskHeader.fileSize);
  dib::writeHeader(mask, maskHeader);
  std::fill_n(mask.begin() + dib::kHeadersSize, 4, std::uint8_t{0x00});
  std::fill_n(mask.begin() + dib::kHeadersSize + dib::kPaletteEntrySize, 3, std::uint8_t{0xFF});
  mask[dib::kHeadersSize + dib::kPaletteEntrySize + 3] = 0;
  r.mask = {mask.data() + maskOffset, maskStride};

  renderInChunks(r, workersFor(options, *out));
  if (bytesPerPixel == 1) transformPalette(rotated, options);
  return true;
}

std::uint32_t ApplyColorCode(std::uint32_t colour, std::uint32_t code) {
  const int r = static_cast<int>(colour >> 16 & 0xFF);
  const int g = static_cast<int>(colour >> 8 & 0xFF);
  const int b = static_cast<int>(colour & 0xFF);
  const int k = static_cast<int>(code >> 24);
  const int r1 = (k * (g + b) + r * (510 - 2 * k)) / 510;
  const int g1 = (k * (r + b) + g * (510 - 2 * k)) / 510;
  const int b1 = (k * (r + g) + b * (510 - 2 * k)) / 510;
  const auto tone = [code](int shift) { return static_cast<int>(static_cast<std::int8_t>(code >> shift & 0xFF)); };
  const int r2 = toneChannel(r1, tone(0));
  const int g2 = toneChannel(g1, tone(8));
  const int b2 = toneChannel(b1, tone(16));
  return static_cast<std::uint32_t>(b2) | static_cast<std::uint32_t>(g2) << 8 | static_cast<std::uint32_t>(r2) << 16;
}

DibBuffer BuildSketch(std::span<const std::uint8_t> source) {
  if (!IsValidDib(source)) return {};
  const DibInfo in = readDibInfo(source);
  if (in.bitCount != 8 && in.bitCount != 24) return {};
  constexpr std::size_t kGreyPalette = 256;
  const std::size_t width = static_cast<std::size_t>(in.width);
  const std::size_t outStride = (width + 3) & ~std::size_t{3};
  const dib::Header header = dib::newHeader(in.width, in.height, 8, kGreyPalette);
  const std::size_t offset = header.offBits;
  DibBuffer sketch(header.fileSize, 0);
  dib::writeHeader(sketch, header);
  for (std::size_t i = 0; i < kGreyPalette; ++i)
    std::fill_n(sketch.begin() + static_cast<std::ptrdiff_t>(dib::kHeadersSize + 4 * i), 3,
                static_cast<std::uint8_t>(i));

  // One source row as colours, padded with its first and last pixel on either side.
  const auto loadRow = [&](int y, std::vector<std::uint32_t>& colours) {
    const std::uint8_t* row = source.data() + in.pixelOffset + static_cast<std::size_t>(y) * in.stride;
    for (std::size_t x = 0; x < width; ++x) {
      if (in.bitCount == 24) {
        colours[x + 1] = read24(row + 3 * x);
      } else {
        // An index past the palette has no colour of its own: it reads as black.
        colours[x + 1] =
            row[x] < in.paletteSize ? read24(source.data() + dib::kHeadersSize + 4 * std::size_t{row[x]}) : 0;
      }
    }
    colours[0] = colours[1];
    colours[width + 1] = colours[width];
  };
  std::array<std::vector<std::uint32_t>, 3> rows;  // previous, current, next
  for (auto& r : rows) r.assign(width + 2, 0);
  loadRow(0, rows[0]);
  rows[1] = rows[0];
  for (int y = 0; y < in.height; ++y) {
    if (y + 1 < in.height) {
      loadRow(y + 1, rows[2]);
    } else {
      rows[2] = rows[1];
    }
    std::uint8_t* out = sketch.data() + offset + static_cast<std::size_t>(y) * outStride;
    for (std::size_t x = 1; x <= width; ++x) {
      const std::uint32_t c = rows[1][x];
      long sum = 0;
      for (const auto& r : rows)
        for (std::size_t dx = x - 1; dx <= x + 1; ++dx) {
          const std::uint32_t n = r[dx];
          for (int shift = 0; shift < 24; shift += 8) {
            const long delta = static_cast<long>(n >> shift & 0xFF) - static_cast<long>(c >> shift & 0xFF);
            sum += delta * delta;
          }
        }
      const int t = static_cast<int>(roundEven(std::sqrt(static_cast<double>(sum) / 3.0 / 2.0)));
      const int f = t > 120 ? 280 + t / 5 : t * 304 / 120;
      out[x - 1] = static_cast<std::uint8_t>(255 - f / 2);
    }
    std::rotate(rows.begin(), rows.begin() + 1, rows.end());
  }
  return sketch;
}

}  // namespace rotateimage
