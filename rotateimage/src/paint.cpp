#include "rotateimage/paint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "pixel_planes.h"
#include "rotateimage/dib_buffer.h"

namespace rotateimage {
namespace dib = platform::dib;

std::vector<Rect> MaskToRegion(std::span<const std::uint8_t> mask, const DeviceMapping* device, bool printer) {
  std::vector<Rect> rects;
  if (!IsValidDib(mask)) return rects;
  const DibInfo info = readDibInfo(mask);
  for (int top = 0; top < info.height; ++top) {
    const std::uint8_t* row =
        mask.data() + info.pixelOffset + static_cast<std::size_t>(info.height - 1 - top) * info.stride;
    for (int x = 0; x < info.width;) {
      if (row[x] != 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < info.width && row[x] == 0) ++x;
      Rect r{start, top, x, top + 1};
      if (device) {
        r = {static_cast<int>(std::lround(r.left * device->scaleX + device->offsetX)),
             static_cast<int>(std::lround(r.top * device->scaleY + device->offsetY)),
             static_cast<int>(std::lround(r.right * device->scaleX + device->offsetX)),
             static_cast<int>(std::lround(r.bottom * device->scaleY + device->offsetY))};
        if (printer) {
          ++r.left;
          --r.right;
        }
      }
      rects.push_back(r);
    }
  }
  return rects;
}

namespace {

// x / 2^shift, rounding down, for a byte or for each byte of a pixel word alike.
constexpr std::uint8_t down(std::uint8_t x, int shift) { return static_cast<std::uint8_t>(x >> shift); }
constexpr std::uint32_t down(std::uint32_t x, int shift) { return x >> shift & 0x01010101u * (0xFFu >> shift); }

// The blend table's share of k eighths (1..4) of x: a sum of halvings, each rounded down.
template <int k, class Bytes>
constexpr Bytes share(Bytes x) {
  if constexpr (k == 1) return down(x, 3);
  if constexpr (k == 2) return down(x, 2);
  if constexpr (k == 3) return static_cast<Bytes>(down(x, 2) + down(x, 3));
  if constexpr (k == 4) return down(x, 1);
}

// k eighths of `from` given up for the same share of `to`.  No byte leaves 0..255 on the
// way, so a pixel word blends as each of its bytes would.
template <int k, class Bytes>
constexpr Bytes fade(Bytes from, Bytes to) {
  return static_cast<Bytes>(from - share<k>(from) + share<k>(to));
}

// Level L is L eighths of background: up to 4 the painted byte q gives up L eighths,
// beyond that the background byte p gives up the other 8 - L.  Level 0 is opaque.
template <int level, class Bytes>
constexpr Bytes mix(Bytes q, Bytes p) {
  if constexpr (level == 0) {
    return q;
  } else if constexpr (level <= 4) {
    return fade<level>(q, p);
  } else {
    return fade<8 - level>(p, q);
  }
}

// Calls `f` with the level (0..7) as a constant, so that a blend is chosen once and not at
// every pixel.  Any other level is 0.
template <class F>
decltype(auto) atLevel(int level, F f) {
  switch (level) {
    case 1: return f(std::integral_constant<int, 1>{});
    case 2: return f(std::integral_constant<int, 2>{});
    case 3: return f(std::integral_constant<int, 3>{});
    case 4: return f(std::integral_constant<int, 4>{});
    case 5: return f(std::integral_constant<int, 5>{});
    case 6: return f(std::integral_constant<int, 6>{});
    case 7: return f(std::integral_constant<int, 7>{});
    default: return f(std::integral_constant<int, 0>{});
  }
}

using Blend = void (*)(std::span<const std::uint32_t> from, std::span<std::uint32_t> to);

// Paints the words `from` onto the pixels `to`, each blended at `level` with the pixel it
// covers, and leaves a pixel alone under a word of 0 (hidden by the mask).  Without a
// branch: a mask of fine detail would cost a mispredicted one at every change, and the
// loop runs over whole runs of words in vector registers.  Always inlined, so that it is
// vectorised for the registers of the function it is compiled into.
template <int level>
[[gnu::always_inline]] inline void blendWords(std::span<const std::uint32_t> from, std::span<std::uint32_t> to) {
  for (std::size_t i = 0; i < from.size(); ++i) {
    const std::uint32_t word = from[i], pixel = to[i];
    // All ones for a word shown (the top bit of its opacity), 0 for one hidden.
    const auto shown = static_cast<std::uint32_t>(static_cast<std::int32_t>(word) >> 31);
    to[i] = (mix<level>(word, pixel) & shown) | (pixel & ~shown);
  }
}

template <int level>
void blend(std::span<const std::uint32_t> from, std::span<std::uint32_t> to) {
  blendWords<level>(from, to);
}

#if defined(ROTATEIMAGE_AVX2)
template <int level>
ROTATEIMAGE_AVX2_TARGET void blendAvx2(std::span<const std::uint32_t> from, std::span<std::uint32_t> to) {
  blendWords<level>(from, to);
}
#endif

// The blend at `level` in the widest vector registers the processor has.
template <int level>
Blend fastestBlend() {
#if defined(ROTATEIMAGE_AVX2)
  if (detail::fastestKernels() == detail::Kernels::avx2) return blendAvx2<level>;
#endif
  return blend<level>;
}

// Copies `from` onto `to` with its top-left pixel at `at` in `to`, as far as they overlap.
template <class Rows>
void copyShifted(const Rows& from, Point at, PixelRows to) {
  const Rect overlap =
      Rect{at.x, at.y, at.x + from.width(), at.y + from.height()}.intersected({0, 0, to.width(), to.height()});
  if (overlap.empty()) return;
  for (int y = overlap.top; y < overlap.bottom; ++y)
    std::ranges::copy(from.row(y - at.y).subspan(static_cast<std::size_t>(overlap.left - at.x),
                                                 static_cast<std::size_t>(overlap.width())),
                      to.row(y).begin() + overlap.left);
}

// The picture's pixels as words, rows from the top, 0 where the mask hides a pixel; empty
// for anything but a valid 8- or 24-bit DIB with, if any, a mask of its size.
Pixels wordsOfPicture(const DibPicture& picture) {
  if (!IsValidDib(picture.image)) return {};
  const DibInfo info = readDibInfo(picture.image);
  if (info.bitCount != 8 && info.bitCount != 24) return {};
  const bool masked = IsValidDib(picture.mask);
  const DibInfo maskInfo = masked ? readDibInfo(picture.mask) : DibInfo{};
  if (masked && (maskInfo.width != info.width || maskInfo.height != info.height)) return {};
  std::array<std::uint32_t, 256> palette{};
  if (info.bitCount == 8)
    for (std::size_t i = 0; i < palette.size(); ++i)
      palette[i] = Pixels::kOpaque | dib::paletteColour(picture.image, info, i);
  Pixels words(info.width, info.height);
  for (int y = 0; y < info.height; ++y) {
    const auto stored = static_cast<std::size_t>(info.height - 1 - y);
    const std::uint8_t* from = picture.image.data() + info.pixelOffset + stored * info.stride;
    const std::uint8_t* hidden =
        masked ? picture.mask.data() + maskInfo.pixelOffset + stored * maskInfo.stride : nullptr;
    const std::span<std::uint32_t> to = words.row(y);
    for (std::size_t x = 0; x < to.size(); ++x) {
      if (hidden && hidden[x] != 0) continue;
      to[x] =
          info.bitCount == 24
              ? Pixels::kOpaque | static_cast<std::uint32_t>(from[3 * x + 2] << 16 | from[3 * x + 1] << 8 | from[3 * x])
              : palette[from[x]];
    }
  }
  return words;
}

}  // namespace

std::uint8_t DrawMix(int level, std::uint8_t q, std::uint8_t p) {
  return atLevel(level, [&](auto l) { return mix<decltype(l)::value>(q, p); });
}

MemoryCanvas::MemoryCanvas(PixelRows target, Point origin, int seeThrough, PixelsCache* cache)
    : target_(target), origin_(origin), seeThrough_(std::clamp(seeThrough, 0, 7)), cache_(cache) {}

void MemoryCanvas::paint(std::uint32_t& pixel, std::uint32_t colour) const {
  pixel = atLevel(seeThrough_, [&](auto l) { return mix<decltype(l)::value>(colour, pixel); });
}

DeviceMapping MemoryCanvas::mapping() const {
  return {1.0, 1.0, static_cast<double>(origin_.x), static_cast<double>(origin_.y)};
}

Rect MemoryCanvas::clipBox() const {
  return {-origin_.x, -origin_.y, target_.width() - origin_.x, target_.height() - origin_.y};
}

void MemoryCanvas::drawDashedFrame(const Rect& r) {
  if (r.empty()) return;
  // Each pixel of the frame once: painted twice, a see-through pixel would blend twice.
  const auto dot = [this](int x, int y) {
    const int dx = x + origin_.x, dy = y + origin_.y;
    if (dx >= 0 && dy >= 0 && dx < target_.width() && dy < target_.height() && (x + y) % 4 < 2)
      paint(target_.row(dy)[static_cast<std::size_t>(dx)], Pixels::kOpaque);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 != r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 != r.left) dot(r.right - 1, y);
  }
}

const Pixels& MemoryCanvas::wordsOf(const DibPicture& picture, Pixels& made) {
  if (!cache_ || picture.stamp == 0) return made = wordsOfPicture(picture);
  if (cache_->stamp != picture.stamp) *cache_ = {picture.stamp, wordsOfPicture(picture)};
  return cache_->words;
}

void MemoryCanvas::drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) {
  if (dest.empty()) return;
  Pixels made;
  const Pixels& words = wordsOf(picture, made);
  const Rect device = dest.intersected(clipBox());
  if (words.empty() || device.empty()) return;
  // An unstretched picture's rows are read in place; a stretched one's are gathered
  // through the picture's column under each column drawn, worked out once.
  const auto width = static_cast<std::size_t>(device.width());
  const bool stretched = dest.width() != words.width();
  std::vector<std::size_t> columns(stretched ? width : 0);
  for (std::size_t x = 0; x < columns.size(); ++x)
    columns[x] = static_cast<std::size_t>(static_cast<long long>(device.left - dest.left + static_cast<int>(x)) *
                                          words.width() / dest.width());
  std::vector<std::uint32_t> gathered(columns.size());
  std::vector<std::pair<int, int>> spans;  // columns [first, second) of a row
  atLevel(seeThrough_, [&](auto level) {
    const Blend blendRun = fastestBlend<decltype(level)::value>();
    for (int y = device.top; y < device.bottom; ++y) {
      // The picture's words under the columns drawn, and the pixels they go to.
      const auto row =
          words.row(static_cast<int>(static_cast<long long>(y - dest.top) * words.height() / dest.height()));
      std::span<const std::uint32_t> from = gathered;
      if (stretched) {
        std::ranges::transform(columns, gathered.begin(), [&row](std::size_t c) { return row[c]; });
      } else {
        from = row.subspan(static_cast<std::size_t>(device.left - dest.left), width);
      }
      const std::span<std::uint32_t> to =
          target_.row(y + origin_.y).subspan(static_cast<std::size_t>(device.left + origin_.x), width);
      // Columns [left, right) of this row, in one loop over whole runs of words.
      const auto run = [&](int left, int right) {
        if (left >= right) return;
        const auto first = static_cast<std::size_t>(left - device.left);
        const auto count = static_cast<std::size_t>(right - left);
        blendRun(from.subspan(first, count), to.subspan(first, count));
      };
      // The clip rectangles' columns in this row, overlaps taken once: a see-through pixel
      // painted twice would blend twice.
      spans.clear();
      if (clip.empty()) spans.emplace_back(device.left, device.right);
      const int line = y + origin_.y;
      for (const Rect& c : clip)
        if (line >= c.top && line < c.bottom)
          spans.emplace_back(std::max(device.left, c.left - origin_.x), std::min(device.right, c.right - origin_.x));
      std::ranges::sort(spans);
      int done = device.left;
      for (const auto& [left, right] : spans) {
        run(std::max(left, done), right);
        done = std::max(done, right);
      }
    }
  });
}

Pixels MemoryCanvas::grab(const Rect& r) {
  Pixels copy(r.width(), r.height(), Pixels::kOpaque);
  copyShifted(target_, {-r.left - origin_.x, -r.top - origin_.y}, copy);
  return copy;
}

void MemoryCanvas::put(Point at, const Pixels& picture) {
  copyShifted(picture, {at.x + origin_.x, at.y + origin_.y}, target_);
}

}  // namespace rotateimage
