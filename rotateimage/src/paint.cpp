#include "rotateimage/paint.h"

#include <cmath>
#include <stdexcept>

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

std::uint8_t DrawMix(int level, std::uint8_t q, std::uint8_t p) {
  int v = q;
  switch (level) {
    case 1: v = q - q / 8 + p / 8; break;
    case 2: v = q - q / 4 + p / 4; break;
    case 3: v = q - q / 4 - q / 8 + p / 4 + p / 8; break;
    case 4: v = q - q / 2 + p / 2; break;
    case 5: v = q / 4 + q / 8 + p - p / 4 - p / 8; break;
    case 6: v = q / 4 + p - p / 4; break;
    case 7: v = q / 8 + p - p / 8; break;
    default: break;
  }
  return static_cast<std::uint8_t>(v);
}

BitmapCanvas::BitmapCanvas(platform::Bitmap& target, Point origin) : target_(target), origin_(origin) {
  if (target.bitsPerPixel() != 24) throw std::invalid_argument("BitmapCanvas needs a 24-bit bitmap");
}

DeviceMapping BitmapCanvas::mapping() const {
  return {1.0, 1.0, static_cast<double>(origin_.x), static_cast<double>(origin_.y)};
}

Rect BitmapCanvas::clipBox() const {
  return {-origin_.x, -origin_.y, target_.width() - origin_.x, target_.height() - origin_.y};
}

void BitmapCanvas::drawDashedFrame(const Rect& r) {
  const auto dot = [this](int x, int y) {
    const int dx = x + origin_.x, dy = y + origin_.y;
    if (dx >= 0 && dy >= 0 && dx < target_.width() && dy < target_.height() && (x + y) % 4 < 2)
      target_.setPixel(dx, dy, 0);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    dot(x, r.bottom - 1);
  }
  for (int y = r.top; y < r.bottom; ++y) {
    dot(r.left, y);
    dot(r.right - 1, y);
  }
}

void BitmapCanvas::drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) {
  const auto image = picture.image;
  const auto mask = picture.mask;
  if (!IsValidDib(image) || dest.empty()) return;
  const DibInfo info = readDibInfo(image);
  if (info.bitCount != 8 && info.bitCount != 24) return;
  const bool masked = IsValidDib(mask);
  const DibInfo maskInfo = masked ? readDibInfo(mask) : DibInfo{};
  if (masked && (maskInfo.width != info.width || maskInfo.height != info.height)) return;
  const Rect device = dest.intersected(clipBox());
  for (int y = device.top; y < device.bottom; ++y) {
    const int sy =
        info.height - 1 - static_cast<int>(static_cast<long long>(y - dest.top) * info.height / dest.height());
    for (int x = device.left; x < device.right; ++x) {
      const Point at{x + origin_.x, y + origin_.y};
      if (!clip.empty() && std::none_of(clip.begin(), clip.end(), [&](const Rect& c) {
            return at.x >= c.left && at.x < c.right && at.y >= c.top && at.y < c.bottom;
          }))
        continue;
      const int sx = static_cast<int>(static_cast<long long>(x - dest.left) * info.width / dest.width());
      if (masked &&
          mask[maskInfo.pixelOffset + static_cast<std::size_t>(sy) * maskInfo.stride + static_cast<std::size_t>(sx)] !=
              0)
        continue;
      const std::size_t pixel = info.pixelOffset + static_cast<std::size_t>(sy) * info.stride;
      std::uint32_t colour = 0;
      if (info.bitCount == 24) {
        const std::size_t p = pixel + 3 * static_cast<std::size_t>(sx);
        colour = static_cast<std::uint32_t>(image[p] | image[p + 1] << 8 | image[p + 2] << 16);
      } else {
        const std::size_t index = image[pixel + static_cast<std::size_t>(sx)];
        colour = dib::paletteColour(image, info, index);
      }
      target_.setPixel(at.x, at.y, colour);
    }
  }
}

platform::Bitmap BitmapCanvas::grab(const Rect& r) {
  platform::Bitmap copy(std::max(r.width(), 0), std::max(r.height(), 0), 24);
  for (int y = 0; y < copy.height(); ++y)
    for (int x = 0; x < copy.width(); ++x) {
      const int tx = r.left + x + origin_.x, ty = r.top + y + origin_.y;
      if (tx >= 0 && ty >= 0 && tx < target_.width() && ty < target_.height())
        copy.setPixel(x, y, target_.pixel(tx, ty));
    }
  return copy;
}

void BitmapCanvas::put(Point at, const platform::Bitmap& picture) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const int tx = at.x + x + origin_.x, ty = at.y + y + origin_.y;
      if (tx >= 0 && ty >= 0 && tx < target_.width() && ty < target_.height())
        target_.setPixel(tx, ty, picture.pixel(x, y));
    }
}

}  // namespace rotateimage
