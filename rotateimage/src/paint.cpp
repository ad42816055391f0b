#include "rotateimage/paint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <type_traits>
#include <utility>

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

// Copies `from` onto `to` with its top-left pixel at `at` in `to`, as far as they overlap.
void copyShifted(const Pixels& from, Point at, Pixels& to) {
  const Rect overlap =
      Rect{at.x, at.y, at.x + from.width(), at.y + from.height()}.intersected({0, 0, to.width(), to.height()});
  if (overlap.empty()) return;
  for (int y = overlap.top; y < overlap.bottom; ++y)
    std::ranges::copy(from.row(y - at.y).subspan(static_cast<std::size_t>(overlap.left - at.x),
                                                 static_cast<std::size_t>(overlap.width())),
                      to.row(y).begin() + overlap.left);
}

}  // namespace

std::uint8_t DrawMix(int level, std::uint8_t q, std::uint8_t p) {
  return atLevel(level, [&](auto l) { return mix<decltype(l)::value>(q, p); });
}

MemoryCanvas::MemoryCanvas(Pixels& target, Point origin, int seeThrough)
    : target_(target), origin_(origin), seeThrough_(std::clamp(seeThrough, 0, 7)) {}

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

void MemoryCanvas::drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) {
  const auto image = picture.image;
  const auto mask = picture.mask;
  if (!IsValidDib(image) || dest.empty()) return;
  const DibInfo info = readDibInfo(image);
  if (info.bitCount != 8 && info.bitCount != 24) return;
  const bool masked = IsValidDib(mask);
  const DibInfo maskInfo = masked ? readDibInfo(mask) : DibInfo{};
  if (masked && (maskInfo.width != info.width || maskInfo.height != info.height)) return;
  const Rect device = dest.intersected(clipBox());
  if (device.empty()) return;
  // The source column under each column drawn, and the palette as the bitmap's bytes,
  // worked out once rather than at every pixel.
  std::vector<int> columns(static_cast<std::size_t>(device.width()));
  for (int x = device.left; x < device.right; ++x)
    columns[static_cast<std::size_t>(x - device.left)] =
        static_cast<int>(static_cast<long long>(x - dest.left) * info.width / dest.width());
  std::array<std::uint32_t, 256> colours{};
  if (info.bitCount == 8)
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = Pixels::kOpaque | dib::paletteColour(image, info, i);
  std::vector<std::pair<int, int>> spans;  // columns [first, second) of a row
  atLevel(seeThrough_, [&](auto level) {
    for (int y = device.top; y < device.bottom; ++y) {
      const auto sy = static_cast<std::size_t>(
          info.height - 1 - static_cast<int>(static_cast<long long>(y - dest.top) * info.height / dest.height()));
      const std::uint8_t* from = image.data() + info.pixelOffset + sy * info.stride;
      const std::uint8_t* keep = masked ? mask.data() + maskInfo.pixelOffset + sy * maskInfo.stride : nullptr;
      const std::span<std::uint32_t> to = target_.row(y + origin_.y);
      // Columns [left, right) of this row.
      const auto run = [&](int left, int right) {
        for (int x = left; x < right; ++x) {
          const auto sx = static_cast<std::size_t>(columns[static_cast<std::size_t>(x - device.left)]);
          if (keep && keep[sx] != 0) continue;
          const std::uint32_t colour =
              info.bitCount == 24 ? Pixels::kOpaque | static_cast<std::uint32_t>(from[3 * sx + 2] << 16 |
                                                                                 from[3 * sx + 1] << 8 | from[3 * sx])
                                  : colours[from[sx]];
          std::uint32_t& pixel = to[static_cast<std::size_t>(x + origin_.x)];
          pixel = mix<decltype(level)::value>(colour, pixel);
        }
      };
      // The clip rectangles' columns in this row, overlaps taken once: a see-through pixel
      // painted twice would blend twice.
      spans.clear();
      if (clip.empty()) spans.emplace_back(device.left, device.right);
      const int row = y + origin_.y;
      for (const Rect& c : clip)
        if (row >= c.top && row < c.bottom)
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
  Pixels copy(r.width(), r.height());
  copyShifted(target_, {-r.left - origin_.x, -r.top - origin_.y}, copy);
  return copy;
}

void MemoryCanvas::put(Point at, const Pixels& picture) {
  copyShifted(picture, {at.x + origin_.x, at.y + origin_.y}, target_);
}

}  // namespace rotateimage
