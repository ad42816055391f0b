// The canvas's clipping: rectangles in device coordinates, whatever the painter's scale,
// and rectangles narrowed to nothing clip everything away.
#include "rotateimage/qt/qt_canvas.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

#include "platform/bitmap.h"

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

}  // namespace
}  // namespace rotateimage::qt
