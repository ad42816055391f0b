// The drawing surface the component paints on.  A toolkit widget, a printer or a
// memory bitmap implements it; the component itself knows no toolkit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "platform/bitmap.h"

namespace rotateimage {

// A colour as the toolkit stores it: red in the low byte, 0x00BBGGRR.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Left and top inside, right and bottom outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  Rect intersected(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class DeviceKind { RasterDisplay, Printer, Memory };

// How logical coordinates reach the device: device = logical * scale + offset.  A scale
// of 1 is plain pixel mapping.
struct DeviceMapping {
  double scaleX = 1.0;
  double scaleY = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  bool plainPixels() const { return scaleX == 1.0 && scaleY == 1.0; }
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual DeviceKind deviceKind() const = 0;
  virtual DeviceMapping mapping() const = 0;
  // The area drawing can reach, in logical coordinates.
  virtual Rect clipBox() const = 0;
  virtual void setFontColor(TColor colour) = 0;
  virtual void setBrushColor(TColor colour) = 0;
  // A dashed black frame along the inside of `r`, nothing filled.
  virtual void drawDashedFrame(const Rect& r) = 0;
  // Draws the DIB `image` (8 or 24 bits) stretched onto the logical rectangle `dest`.
  // With a mask (an 8-bit DIB of the image's size) only pixels whose mask byte is 0 are
  // drawn.  With `clip` rectangles (device coordinates) only pixels inside them are.
  virtual void drawDib(const Rect& dest, std::span<const std::uint8_t> image, std::span<const std::uint8_t> mask,
                       std::span<const Rect> clip) = 0;
  // A 24-bit copy of what the canvas shows under `r` (logical), and its way back.
  virtual platform::Bitmap grab(const Rect& r) = 0;
  virtual void put(Point at, const platform::Bitmap& picture) = 0;
};

}  // namespace rotateimage
