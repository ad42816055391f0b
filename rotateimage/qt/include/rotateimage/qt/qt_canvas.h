// The component's drawing surface over a QPainter: a widget being painted, a printer
// page, or any other paint device.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>
#include <span>

#include "rotateimage/canvas.h"

class QPainter;

namespace rotateimage::qt {

// The image made of the last stamped picture drawn, kept by whoever paints the same
// control again and again (its widget): a picture is converted once per render, not at
// every paint.
struct PictureCache {
  std::uint64_t stamp = 0;
  QImage image;
};

class QtCanvas : public rotateimage::Canvas {
 public:
  // `area` is what the current paint may reach, in the painter's logical coordinates.
  // Only a painter that works on an image in memory can give back what it shows; on any
  // other device a display is reported as a plain memory device, so that see-through
  // painting, which needs that read-back, falls back to opaque.  Without a cache every
  // picture is converted where it is drawn.
  QtCanvas(QPainter& painter, rotateimage::DeviceKind kind, const QRect& area, PictureCache* cache = nullptr);

  rotateimage::DeviceKind deviceKind() const override { return kind_; }
  // The painter's logical-to-base mapping (world and view transforms).
  rotateimage::DeviceMapping mapping() const override;
  rotateimage::Rect clipBox() const override;
  void setFontColor(rotateimage::TColor colour) override;
  void setBrushColor(rotateimage::TColor colour) override;
  void drawDashedFrame(const rotateimage::Rect& r) override;
  void drawDib(const rotateimage::Rect& dest, const rotateimage::DibPicture& picture,
               std::span<const rotateimage::Rect> clip) override;
  rotateimage::Pixels grab(const rotateimage::Rect& r) override;
  void put(rotateimage::Point at, const rotateimage::Pixels& picture) override;
  // An image of 32-bit pixels, all opaque where lent, lends them to a painter that maps
  // logical pixels to whole device pixels unscaled, at full opacity, clipped to no more
  // than the paint's own area, and that in one rectangle where the pixels lie.
  std::optional<rotateimage::LentPixels> lend(const rotateimage::Rect& r) override;

 private:
  const QImage* target() const;
  QImage imageOf(const rotateimage::DibPicture& picture);

  QPainter& painter_;
  rotateimage::DeviceKind kind_;
  QRect area_;
  PictureCache* cache_;
};

}  // namespace rotateimage::qt
