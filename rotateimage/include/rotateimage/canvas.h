// The drawing surface the component paints on.  A toolkit widget, a printer or a
// memory bitmap implements it; the component itself knows no toolkit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/graphics.h"

namespace rotateimage {

// The toolkit's names for the colour type and its two plain colours.
using TColor = platform::Color;
inline constexpr TColor clBlack = platform::kBlack;
inline constexpr TColor clWhite = platform::kWhite;

using platform::Point;
using platform::Rect;

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

// Pixels as a display holds them: one word per pixel, 0xFFRRGGBB (full opacity above the
// colour), rows top-down one after the other.  What a canvas gives back of what it shows,
// and what the component paints into in memory.
class Pixels {
 public:
  static constexpr std::uint32_t kOpaque = 0xFF000000;

  Pixels() = default;
  // Every word `word`; by default 0: no colour, not even opaque black.
  Pixels(int width, int height, std::uint32_t word = 0)
      : width_(std::max(width, 0)),
        height_(std::max(height, 0)),
        words_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), word) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return words_.empty(); }
  std::span<std::uint32_t> row(int y) { return std::span(words_).subspan(offset(y), static_cast<std::size_t>(width_)); }
  std::span<const std::uint32_t> row(int y) const {
    return std::span(words_).subspan(offset(y), static_cast<std::size_t>(width_));
  }

 private:
  std::size_t offset(int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> words_;
};

// Pixel words held elsewhere, rows `stride` words apart: a Pixels' own, or a display's
// lent to be painted in place.  Like a span, it hands out its words from a const view.
class PixelRows {
 public:
  PixelRows() = default;
  // Not explicit: wherever rows are painted, Pixels will do.
  PixelRows(Pixels& pixels)
      : PixelRows(pixels.empty() ? nullptr : pixels.row(0).data(), pixels.width(), pixels.height(),
                  static_cast<std::size_t>(pixels.width())) {}
  PixelRows(std::uint32_t* first, int width, int height, std::size_t stride)
      : first_(first), width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(stride) {}

  int width() const { return width_; }
  int height() const { return height_; }
  std::span<std::uint32_t> row(int y) const {
    return {first_ + static_cast<std::size_t>(y) * stride_, static_cast<std::size_t>(width_)};
  }

 private:
  std::uint32_t* first_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
};

// A display's own pixels under part of a rectangle, and the logical position of the first.
struct LentPixels {
  PixelRows pixels;
  Point at;
};

// A DIB the component draws (8 or 24 bits), its mask (an 8-bit DIB of the image's size, or
// nothing) and a stamp that names the content of the two: a canvas may keep what it made
// of a picture and use it again for as long as the stamp stays the same.  Stamp 0 names
// nothing.
struct DibPicture {
  std::span<const std::uint8_t> image;
  std::span<const std::uint8_t> mask;
  std::uint64_t stamp = 0;
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
  // Draws the picture's image stretched onto the logical rectangle `dest`.  With a mask
  // only pixels whose mask byte is 0 are drawn.  With `clip` rectangles (device
  // coordinates) only pixels inside them are.
  virtual void drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) = 0;
  // A copy of what the canvas shows under `r` (logical; black where it shows nothing),
  // and its way back.
  virtual Pixels grab(const Rect& r) = 0;
  virtual void put(Point at, const Pixels& picture) = 0;
  // The device's own pixels under `r` (logical), to be painted on in place of a grab and
  // its put, where that paints exactly what they would: the part of `r` the device holds
  // and the paint may reach (perhaps nothing), all of it writable.  Nothing where the
  // canvas cannot lend them, the default.
  virtual std::optional<LentPixels> lend(const Rect&) { return std::nullopt; }
};

}  // namespace rotateimage
