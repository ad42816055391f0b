// The component's drawing surface over a QPainter: a widget being painted, a printer
// page, or any other paint device.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <span>

#include "rotateimage/canvas.h"

class QPainter;

namespace rotateimage::qt {

class QtCanvas : public rotateimage::Canvas {
 public:
  // `area` is what the current paint may reach, in the painter's logical coordinates.
  // Only a painter that works on an image in memory can give back what it shows; on any
  // other device a display is reported as a plain memory device, so that see-through
  // painting, which needs that read-back, falls back to opaque.
  QtCanvas(QPainter& painter, rotateimage::DeviceKind kind, const QRect& area);

  rotateimage::DeviceKind deviceKind() const override { return kind_; }
  // The painter's logical-to-base mapping (world and view transforms).
  rotateimage::DeviceMapping mapping() const override;
  rotateimage::Rect clipBox() const override;
  void setFontColor(rotateimage::TColor colour) override;
  void setBrushColor(rotateimage::TColor colour) override;
  void drawDashedFrame(const rotateimage::Rect& r) override;
  void drawDib(const rotateimage::Rect& dest, std::span<const std::uint8_t> image, std::span<const std::uint8_t> mask,
               std::span<const rotateimage::Rect> clip) override;
  platform::Bitmap grab(const rotateimage::Rect& r) override;
  void put(rotateimage::Point at, const platform::Bitmap& picture) override;

 private:
  const QImage* target() const;

  QPainter& painter_;
  rotateimage::DeviceKind kind_;
  QRect area_;
};

}  // namespace rotateimage::qt
