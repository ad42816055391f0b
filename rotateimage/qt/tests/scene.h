// A known world for the widget tests: a parent whose every pixel has a known colour, a
// picture whose pixels can be told apart, and a way to see what a person would see.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>

#include "platform/bitmap.h"

namespace rotateimage::qt::testing {

using Colouring = std::function<QRgb(int x, int y)>;

// The default background: no two neighbours alike, no colour a picture below uses.
inline QRgb gradient(int x, int y) { return qRgb(1 + x * 7 % 120, 1 + y * 11 % 120, 1 + (x + y) * 5 % 120); }

class Backdrop : public QWidget {
 public:
  explicit Backdrop(Colouring colouring = gradient) : colouring_(std::move(colouring)) {}
  QRgb colourAt(int x, int y) const { return colouring_(x, y) | 0xFF000000; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage image(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) image.setPixel(x, y, colourAt(x, y));
    QPainter(this).drawImage(0, 0, image);
  }

 private:
  Colouring colouring_;
};

// Colours with the high bit set in red, so never one of the backdrop's.
inline std::uint32_t pictureColour(int x, int y) {
  return static_cast<std::uint32_t>((0x80 | (x * 5 & 0x7F)) << 16 | ((0x40 + y * 9) & 0xFF) << 8 | 0xC0);
}
inline constexpr std::uint32_t kKeyColour = 0x00FF00;

// A 24-bit picture of pictureColour, with the key colour at the bottom-left pixel (which
// makes it the transparent colour in automatic mode) and along the diagonal.
inline platform::Bitmap picture(int width, int height) {
  platform::Bitmap bitmap(width, height, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, x == y ? kKeyColour : pictureColour(x, y));
  bitmap.setPixel(0, height - 1, kKeyColour);
  return bitmap;
}

// The widget and its children as they appear on screen.
inline QImage shoot(QWidget& widget) {
  QImage shot(widget.size(), QImage::Format_RGB32);
  shot.fill(Qt::magenta);
  widget.render(&shot);
  return shot;
}

}  // namespace rotateimage::qt::testing
