// The canvas's clipping: rectangles in device coordinates, whatever the painter's scale,
// and rectangles narrowed to nothing clip everything away.  What it shows comes back and
// goes back unchanged, and see-through painting on pixels it lends is painting through
// that copy.  The dashed frame, here and on the memory canvas, lies on its rectangle's own
// edge pixels.
#include "rotateimage/qt/qt_canvas.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/bitmap.h"
#include "rotateimage/paint.h"
#include "rotateimage/rotate_image.h"
#include "scene.h"

namespace rotateimage::qt {
namespace {

struct ClipRow {
  std::vector<rotateimage::Rect> clip;  // device coordinates
  QRect painted;                        // device pixels that turn red
};

TEST(QtCanvas, ClipRectanglesAreDevicePixels) {
  // The picture goes to logical (1, 1)-(5, 3), device (2, 2)-(10, 6) at scale 2.
  const ClipRow kRows[] = {
      {{}, QRect(2, 2, 8, 4)},                              // 0: no clipping
      {{{3, 2, 5, 6}}, QRect(3, 2, 2, 4)},                  // 1: one device column pair
      {{{0, 0, 20, 3}, {0, 3, 20, 4}}, QRect(2, 2, 8, 2)},  // 2: two bands
      {{{4, 3, 4, 5}, {6, 3, 5, 5}}, QRect()},              // 3: narrowed to nothing
  };
  platform::Bitmap red(4, 2, 24);
  red.fill(0xFF0000);
  const auto dib = red.saveToDib();
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    QImage device(20, 10, QImage::Format_RGB32);
    device.fill(Qt::white);
    {
      QPainter painter(&device);
      painter.scale(2, 2);
      QtCanvas canvas(painter, rotateimage::DeviceKind::Printer, QRect(0, 0, 10, 5));
      canvas.drawDib({1, 1, 5, 3}, {dib, {}}, kRows[i].clip);
    }
    for (int y = 0; y < device.height(); ++y)
      for (int x = 0; x < device.width(); ++x)
        ASSERT_EQ(device.pixel(x, y), kRows[i].painted.contains(x, y) ? 0xFFFF0000 : 0xFFFFFFFF)
            << "row " << i << " at " << x << "," << y;
  }
}

struct GrabRow {
  QImage::Format format;  // of the device
  double scale;
  QPoint shift;  // of the painter's origin, in device pixels
  rotateimage::Rect area;
};

TEST(QtCanvas, WhatItShowsComesBackAndGoesBackUnchanged) {
  using rotateimage::Rect;
  const GrabRow kRows[] = {
      {QImage::Format_RGB32, 1, {0, 0}, Rect{3, 2, 20, 9}},                  // 0: read in place
      {QImage::Format_RGB32, 1, {5, 3}, Rect{-7, -4, 12, 6}},                // 1: partly off the device
      {QImage::Format_ARGB32_Premultiplied, 1, {2, 1}, Rect{1, 1, 30, 15}},  // 2: through a conversion
      {QImage::Format_RGB16, 1, {0, 0}, Rect{0, 0, 31, 17}},                 // 3
      {QImage::Format_RGB32, 2, {1, 0}, Rect{2, 1, 12, 8}},                  // 4: a scaled display
      {QImage::Format_ARGB32_Premultiplied, 2, {0, 3}, Rect{-1, -2, 9, 5}},  // 5
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const GrabRow& row = kRows[i];
    QImage device(31, 17, QImage::Format_RGB32);
    for (int y = 0; y < device.height(); ++y)
      for (int x = 0; x < device.width(); ++x) device.setPixel(x, y, qRgb(x * 8, y * 15, (x + y) * 5 % 256));
    device = device.convertToFormat(row.format);
    const QImage before = device;
    QPainter painter(&device);
    painter.translate(row.shift);
    painter.scale(row.scale, row.scale);
    QtCanvas canvas(painter, rotateimage::DeviceKind::RasterDisplay, device.rect());
    ASSERT_EQ(canvas.deviceKind(), rotateimage::DeviceKind::RasterDisplay) << "row " << i;
    const rotateimage::Pixels pixels = canvas.grab(row.area);
    ASSERT_EQ(pixels.width(), row.area.width()) << "row " << i;
    ASSERT_EQ(pixels.height(), row.area.height()) << "row " << i;
    // Each logical pixel is the device pixel its top-left corner maps to, black off the
    // device.
    for (int y = 0; y < pixels.height(); ++y)
      for (int x = 0; x < pixels.width(); ++x) {
        const QPoint at = row.shift + QPoint(static_cast<int>((row.area.left + x) * row.scale),
                                             static_cast<int>((row.area.top + y) * row.scale));
        const std::uint32_t expected = before.rect().contains(at) ? before.pixel(at) : 0xFF000000u;
        ASSERT_EQ(pixels.row(y)[static_cast<std::size_t>(x)], expected) << "row " << i << " at " << x << "," << y;
      }
    // Put back, each logical pixel covers its device pixels with the one it came from:
    // unscaled, nothing changes.
    canvas.put({row.area.left, row.area.top}, pixels);
    painter.end();
    for (int y = 0; y < device.height(); ++y)
      for (int x = 0; x < device.width(); ++x) {
        const QPoint at = QPoint(static_cast<int>(std::floor((x - row.shift.x()) / row.scale)),
                                 static_cast<int>(std::floor((y - row.shift.y()) / row.scale))) -
                          QPoint(row.area.left, row.area.top);
        const bool covered = at.x() >= 0 && at.y() >= 0 && at.x() < pixels.width() && at.y() < pixels.height();
        const QRgb expected = covered ? pixels.row(at.y())[static_cast<std::size_t>(at.x())] : before.pixel(x, y);
        ASSERT_EQ(device.pixel(x, y), expected) << "row " << i << " at " << x << "," << y;
        if (row.scale == 1) {
          ASSERT_EQ(device.pixel(x, y), before.pixel(x, y));
        }
      }
  }
}

struct FrameRow {
  rotateimage::Rect frame;  // logical
  QPoint shift;             // of the painter's origin, in device pixels
};

// A white device with the frame drawn by the Qt canvas or, when `memory`, by the memory
// canvas the see-through paint uses.
QImage frameOn(bool memory, const FrameRow& row) {
  QImage device(24, 18, QImage::Format_RGB32);
  device.fill(Qt::white);
  if (memory) {
    rotateimage::Pixels pixels(device.width(), device.height(), 0xFFFFFFFF);
    rotateimage::MemoryCanvas(pixels, {row.shift.x(), row.shift.y()}).drawDashedFrame(row.frame);
    for (int y = 0; y < device.height(); ++y)
      std::memcpy(device.scanLine(y), pixels.row(y).data(), pixels.row(y).size_bytes());
  } else {
    QPainter painter(&device);
    painter.translate(row.shift);
    QtCanvas(painter, rotateimage::DeviceKind::RasterDisplay, device.rect()).drawDashedFrame(row.frame);
  }
  return device;
}

TEST(DashedFrame, DashesOnTheRectanglesOwnEdgeOnEveryCanvas) {
  const FrameRow kRows[] = {
      {{2, 3, 14, 10}, {0, 0}},    // 0
      {{-3, -2, 9, 8}, {5, 4}},    // 1: device (2, 2)-(14, 12)
      {{0, 0, 24, 18}, {0, 0}},    // 2: the whole device, every edge on its border
      {{6, 2, 7, 12}, {0, 0}},     // 3: one pixel wide
      {{3, 9, 20, 10}, {1, 1}},    // 4: one pixel high
      {{20, 14, 30, 30}, {0, 0}},  // 5: partly off the device
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    for (const bool memory : {false, true}) {
      const FrameRow& row = kRows[i];
      const QImage device = frameOn(memory, row);
      const QRect frame =
          QRect(row.frame.left, row.frame.top, row.frame.width(), row.frame.height()).translated(row.shift);
      // Dashes on each edge the device shows: top, bottom, left, right.
      std::array<int, 4> dashes{};
      for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x) {
          if (device.pixel(x, y) == 0xFFFFFFFF) continue;
          ASSERT_EQ(device.pixel(x, y), 0xFF000000) << "row " << i << " memory " << memory << " at " << x << "," << y;
          const std::array<bool, 4> on = {y == frame.top(), y == frame.bottom(), x == frame.left(), x == frame.right()};
          ASSERT_TRUE(frame.contains(x, y) && std::ranges::any_of(on, std::identity{}))
              << "row " << i << " memory " << memory << " at " << x << "," << y;
          for (std::size_t side = 0; side < on.size(); ++side) dashes[side] += on[side];
        }
      // A frame one pixel across is a line, whose dashes Qt lays differently: some there.
      if (frame.width() == 1 || frame.height() == 1) {
        EXPECT_GT(dashes[0] + dashes[2], 0) << "row " << i << " memory " << memory;
        continue;
      }
      const QRect seen = frame.intersected(device.rect());
      const std::array<bool, 4> shown = {frame.top() == seen.top(), frame.bottom() == seen.bottom(),
                                         frame.left() == seen.left(), frame.right() == seen.right()};
      const std::array<int, 4> length = {seen.width(), seen.width(), seen.height(), seen.height()};
      for (std::size_t side = 0; side < dashes.size(); ++side) {
        if (!shown[side]) continue;
        EXPECT_GT(dashes[side], 0) << "row " << i << " memory " << memory << " side " << side;
        if (length[side] >= 8) {
          EXPECT_LT(dashes[side], length[side]) << "row " << i << " memory " << memory << " side " << side;
        }
      }
    }
}

struct LendRow {
  QImage::Format format;  // of the device
  bool translucent;       // a patch of the device under the picture not opaque
  QPointF shift;          // of the painter's origin, in device pixels
  double scale;
  QRect clip;  // the painter's, logical; empty for none
  double opacity;
  bool lends;
};

// A display canvas that lends what the Qt canvas lends, counting the bands, or, told not
// to, paints through grab and put alone.
class WatchedCanvas : public QtCanvas {
 public:
  WatchedCanvas(QPainter& painter, bool lends)
      : QtCanvas(painter, rotateimage::DeviceKind::RasterDisplay, QRect(0, 0, 50, 36)), lends_(lends) {}
  std::optional<rotateimage::LentPixels> lend(const rotateimage::Rect& r) override {
    if (!lends_) return std::nullopt;
    auto pixels = QtCanvas::lend(r);
    lent += pixels.has_value();
    return pixels;
  }
  int lent = 0;

 private:
  bool lends_;
};

// Paints the control on `device` through a painter set up as the row says; the number of
// bands painted on lent pixels.
int paintOn(QImage& device, const LendRow& row, rotateimage::TRotateImage& control, bool lends) {
  QPainter painter(&device);
  painter.translate(row.shift);
  painter.scale(row.scale, row.scale);
  if (!row.clip.isEmpty()) painter.setClipRect(row.clip);
  painter.setOpacity(row.opacity);
  WatchedCanvas canvas(painter, lends);
  control.Paint(canvas);
  return canvas.lent;
}

TEST(QtCanvas, SeeThroughOnLentPixelsIsSeeThroughThroughACopy) {
  const LendRow kRows[] = {
      {QImage::Format_RGB32, false, {3, 2}, 1, {}, 1, true},                     // 0
      {QImage::Format_ARGB32_Premultiplied, false, {-4, 5}, 1, {}, 1, true},     // 1
      {QImage::Format_RGB32, false, {-30, -12}, 1, {}, 1, true},                 // 2: partly off the device
      {QImage::Format_ARGB32_Premultiplied, true, {3, 2}, 1, {}, 1, false},      // 3: through a conversion
      {QImage::Format_RGB16, false, {3, 2}, 1, {}, 1, false},                    // 4
      {QImage::Format_RGB32, false, {2.5, 1}, 1, {}, 1, false},                  // 5: between device pixels
      {QImage::Format_RGB32, false, {1, 1}, 2, {}, 1, false},                    // 6: scaled
      {QImage::Format_RGB32, false, {0, 0}, 1, QRect(12, 5, 20, 18), 1, false},  // 7: clipped
      {QImage::Format_ARGB32_Premultiplied, false, {0, 0}, 1, {}, 0.5, false},   // 8: faded
  };
  rotateimage::TRotateImage control;
  control.SetBounds(0, 0, 50, 36);
  control.SetBitmap(testing::picture(30, 20));
  control.SetTransparent(true);
  control.SetAngle(30);
  control.SetTrnsIndex(3);
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const LendRow& row = kRows[i];
    QImage before(60, 44, QImage::Format_RGB32);
    for (int y = 0; y < before.height(); ++y)
      for (int x = 0; x < before.width(); ++x) before.setPixel(x, y, testing::gradient(x, y));
    before = before.convertToFormat(row.format);
    if (row.translucent) {
      QPainter patch(&before);
      patch.setCompositionMode(QPainter::CompositionMode_Source);
      patch.fillRect(25, 18, 4, 3, QColor(200, 100, 50, 128));
    }
    QImage lent = before.copy(), copied = before.copy();
    const int bands = paintOn(lent, row, control, true);
    paintOn(copied, row, control, false);
    EXPECT_EQ(bands > 0, row.lends) << "row " << i;
    EXPECT_NE(copied, before) << "row " << i;
    for (int y = 0; y < lent.height(); ++y)
      ASSERT_EQ(
          0, std::memcmp(lent.constScanLine(y), copied.constScanLine(y), static_cast<std::size_t>(lent.bytesPerLine())))
          << "row " << i << " line " << y;
  }
}

}  // namespace
}  // namespace rotateimage::qt
