// Painting helpers of the component: the mask as a list of one-pixel-high rectangles,
// the see-through blend, and a canvas over a 24-bit memory bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "rotateimage/canvas.h"

namespace rotateimage {

// Every maximal run of picture pixels (mask byte 0) in a row of the 8-bit mask DIB, as a
// rectangle one pixel high, rows from the top of the picture down.  With a mapping the
// rectangles are in device coordinates (mask pixel (0, 0) at logical (0, 0)); on a
// printer each is narrowed by one device unit on the left and the right.
std::vector<Rect> MaskToRegion(std::span<const std::uint8_t> mask, const DeviceMapping* device = nullptr,
                               bool printer = false);

// One colour byte painted at see-through level 1..7 (eighths of background): q is the
// painted byte, p the background byte.
std::uint8_t DrawMix(int level, std::uint8_t q, std::uint8_t p);

// A canvas over a 24-bit bitmap whose logical origin sits at `origin` in the bitmap.
class BitmapCanvas : public Canvas {
 public:
  BitmapCanvas(platform::Bitmap& target, Point origin = {});
  DeviceKind deviceKind() const override { return DeviceKind::Memory; }
  DeviceMapping mapping() const override;
  Rect clipBox() const override;
  // A memory canvas draws no text and fills nothing: the colours play no part.
  void setFontColor(TColor) override {}
  void setBrushColor(TColor) override {}
  void drawDashedFrame(const Rect& r) override;
  void drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) override;
  platform::Bitmap grab(const Rect& r) override;
  void put(Point at, const platform::Bitmap& picture) override;

 private:
  platform::Bitmap& target_;
  Point origin_;
};

}  // namespace rotateimage
