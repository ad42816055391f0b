// Painting helpers of the component: the mask as a list of one-pixel-high rectangles,
// the see-through blend, and a canvas over pixels in memory.
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
// painted byte, p the background byte.  Level 0 paints q.
std::uint8_t DrawMix(int level, std::uint8_t q, std::uint8_t p);

// The words a memory canvas made of the last stamped picture it drew (0 where the mask
// hides a pixel), kept by whoever has the same picture painted again and again: a picture
// is converted once per render, not at every paint.
struct PixelsCache {
  std::uint64_t stamp = 0;
  Pixels words;
};

// A canvas over pixels in memory (its own, or a display's lent) whose logical origin sits
// at `origin` in them.  At a see-through level (1..7) every pixel it paints is blended, as
// DrawMix blends each of its bytes, with the pixel it covers: what painting an opaque copy
// and blending the copy with the original would give, since a byte blended with itself
// stays as it is.  Without a cache every picture is converted where it is drawn.
class MemoryCanvas : public Canvas {
 public:
  MemoryCanvas(PixelRows target, Point origin = {}, int seeThrough = 0, PixelsCache* cache = nullptr);
  DeviceKind deviceKind() const override { return DeviceKind::Memory; }
  DeviceMapping mapping() const override;
  Rect clipBox() const override;
  // A memory canvas draws no text and fills nothing: the colours play no part.
  void setFontColor(TColor) override {}
  void setBrushColor(TColor) override {}
  void drawDashedFrame(const Rect& r) override;
  void drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) override;
  Pixels grab(const Rect& r) override;
  void put(Point at, const Pixels& picture) override;

 private:
  void paint(std::uint32_t& pixel, std::uint32_t colour) const;
  // The picture's words: the cache's, or `made` filled.
  const Pixels& wordsOf(const DibPicture& picture, Pixels& made);

  PixelRows target_;
  Point origin_;
  int seeThrough_;
  PixelsCache* cache_;
};

}  // namespace rotateimage
