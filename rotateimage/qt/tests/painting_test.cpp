// What a person sees of the widget: the picture painted over its parent, background
// pixels left alone, see-through levels, the pivot and the design-time frame.
#include "rotateimage/qt/rotate_image_widget.h"

#include <QRegion>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <sstream>

#include "rotateimage/paint.h"
#include "scene.h"

namespace rotateimage::qt {
namespace {

using testing::Backdrop;
using testing::kKeyColour;
using testing::picture;
using testing::shoot;

// Source pixel (top-down x, y) shown at output pixel (c, r) of a picture turned by a right
// angle: the table of the turn's exact results.
QPoint sourceOf(int angle, int c, int r, int width, int height) {
  switch (angle) {
    case 90: return {r, height - 1 - c};
    case 180: return {width - 1 - c, height - 1 - r};
    case 270: return {width - 1 - r, c};
    default: return {c, r};
  }
}

struct TurnRow {
  int angle;
  int width, height;  // the picture
  QRect widget;       // in the backdrop
  rotateimage::TRotateImageDispMode mode;
};

TEST(WidgetPainting, RightAnglesOverTheBackgroundWithTheMask) {
  using enum rotateimage::TRotateImageDispMode;
  const TurnRow kRows[] = {
      {0, 12, 7, {0, 0, 60, 40}, ridmMask},      // 0
      {90, 12, 7, {5, 9, 61, 41}, ridmMask},     // 1: odd sizes, widget off the origin
      {180, 9, 13, {17, 3, 40, 50}, ridmMask},   // 2
      {270, 12, 7, {1, 2, 33, 29}, ridmMask},    // 3
      {90, 12, 7, {5, 9, 61, 41}, ridmRegion},   // 4: clipped by the mask region instead
      {270, 9, 13, {0, 0, 21, 20}, ridmRegion},  // 5: picture wider than the widget
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const TurnRow& row = kRows[i];
    Backdrop backdrop;
    backdrop.resize(80, 70);
    auto* widget = new RotateImageWidget(&backdrop);
    widget->setGeometry(row.widget);
    auto& control = widget->control();
    control.SetBitmap(picture(row.width, row.height));
    control.SetTransparent(true);
    control.SetAngle(row.angle);
    control.SetDispMode(row.mode);
    const QImage shot = shoot(backdrop);

    const bool across = row.angle % 180 != 0;
    const int wo = across ? row.height : row.width;
    const int ho = across ? row.width : row.height;
    const QPoint corner =
        row.widget.topLeft() + QPoint(row.widget.width() / 2 - wo / 2, row.widget.height() / 2 - ho / 2);
    int pictureSeen = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        QRgb expected = backdrop.colourAt(x, y);
        const int c = x - corner.x(), r = y - corner.y();
        if (row.widget.contains(x, y) && c >= 0 && r >= 0 && c < wo && r < ho) {
          const QPoint s = sourceOf(row.angle, c, r, row.width, row.height);
          const std::uint32_t colour = picture(row.width, row.height).pixel(s.x(), s.y());
          if (colour != kKeyColour) {
            expected = 0xFF000000 | colour;
            ++pictureSeen;
          }
        }
        ASSERT_EQ(shot.pixel(x, y), expected) << "row " << i << " at " << x << "," << y;
      }
    EXPECT_GT(pictureSeen, 0) << "row " << i;
  }
}

TEST(WidgetPainting, APictureOfBackgroundOnlyLeavesEverythingBehindIt) {
  using enum rotateimage::TRotateImageDispMode;
  for (const auto mode : {ridmMask, ridmRegion}) {
    Backdrop backdrop;
    backdrop.resize(40, 30);
    auto* widget = new RotateImageWidget(&backdrop);
    widget->setGeometry(2, 3, 36, 24);
    platform::Bitmap key(10, 6, 24);
    key.fill(kKeyColour);
    auto& control = widget->control();
    control.SetBitmap(key);
    control.SetTransparent(true);
    control.SetAngle(30);
    control.SetDispMode(mode);
    const QImage shot = shoot(backdrop);
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        ASSERT_EQ(shot.pixel(x, y), backdrop.colourAt(x, y))
            << "mode " << static_cast<int>(mode) << " at " << x << "," << y;
  }
}

// Grey levels painted at see-through level L over a grey background: the blend table's
// byte for each (picture, background) pair.
struct MixRow {
  int level;
  int overDark;   // picture 200 over background 40
  int overLight;  // picture 200 over background 248
  int odd;        // picture 255 over background 1
};

TEST(WidgetPainting, SeeThroughLevelsBlendEveryByte) {
  const MixRow kRows[] = {
      {1, 180, 206, 224},  // 0: 255 - 31 + 0
      {2, 160, 212, 192},  // 1: 255 - 63 + 0
      {3, 140, 218, 161},  // 2: 255 - 63 - 31 + 0 + 0
      {4, 120, 224, 128},  // 3: 255 - 127 + 0
      {5, 100, 230, 95},   // 4: 63 + 31 + 1 - 0 - 0
      {6, 80, 236, 64},    // 5: 63 + 1 - 0
      {7, 60, 242, 32},    // 6: 31 + 1 - 0
  };
  // Stripes of dark and light, and a corner of 1s under the odd picture.
  const auto background = [](int x, int y) -> QRgb {
    if (y >= 150) return qRgb(1, 1, 1);
    return x / 3 % 2 ? qRgb(248, 248, 248) : qRgb(40, 40, 40);
  };
  for (const MixRow& row : kRows) {
    Backdrop backdrop(background);
    backdrop.resize(320, 300);
    // 300 x 290 pixels: more than one band of 65536.
    auto* widget = new RotateImageWidget(&backdrop);
    widget->setGeometry(7, 5, 300, 290);
    platform::Bitmap grey(260, 280, 24);
    for (int y = 0; y < grey.height(); ++y)
      for (int x = 0; x < grey.width(); ++x) grey.setPixel(x, y, y + 10 >= 150 ? 0xFFFFFF : 0xC8C8C8);
    widget->control().SetBitmap(grey);
    widget->control().SetTrnsIndex(row.level);
    const QImage shot = shoot(backdrop);
    // The picture covers widget columns 20..279 and rows 5..284, backdrop rows 10..289.
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        const bool onPicture = x >= 27 && x < 287 && y >= 10 && y < 290;
        QRgb expected = backdrop.colourAt(x, y);
        if (onPicture) {
          const int p = qRed(expected);
          const int v = p == 1 ? row.odd : p == 40 ? row.overDark : row.overLight;
          expected = qRgb(v, v, v);
        }
        ASSERT_EQ(shot.pixel(x, y), expected) << "level " << row.level << " at " << x << "," << y;
      }
  }
}

// An 8-bit picture of as many palette colours as the backdrop has none of, with the
// key colour at the bottom-left pixel and along the diagonal.
platform::Bitmap indexedPicture(int width, int height) {
  platform::Bitmap bitmap(width, height, 8);
  std::vector<platform::Rgb> palette{{0x00, 0xFF, 0x00}};
  for (int i = 1; i < 200; ++i)
    palette.push_back({static_cast<std::uint8_t>(0x80 | i), static_cast<std::uint8_t>(i * 37), 0xC0});
  bitmap.setPalette(palette);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, x == y ? 0 : 1 + (x * 13 + y * 7) % 199);
  bitmap.setPixel(0, height - 1, 0);
  return bitmap;
}

// What a person should see of the backdrop with the widget at `area` over it: the
// control's turned picture where its mask is 0, inside the widget, each byte blended with
// the backdrop's by the see-through table at `level`; the backdrop everywhere else, and
// everywhere when the control holds no picture.
QImage expectedScene(const Backdrop& backdrop, const QRect& area, const rotateimage::TRotateImage& control, int level) {
  platform::Bitmap turned, mask;
  const bool shown = turned.loadFromDib(control.Rotated()) && mask.loadFromDib(control.Mask());
  rotateimage::Point centre{area.width() / 2, area.height() / 2};
  if (control.Pivot()) control.OffsetPivot(centre);
  const QPoint corner = area.topLeft() + QPoint(centre.x - turned.width() / 2, centre.y - turned.height() / 2);
  QImage scene(backdrop.size(), QImage::Format_RGB32);
  for (int y = 0; y < scene.height(); ++y)
    for (int x = 0; x < scene.width(); ++x) {
      QRgb seen = backdrop.colourAt(x, y);
      const int c = x - corner.x(), r = y - corner.y();
      if (shown && area.contains(x, y) && c >= 0 && r >= 0 && c < turned.width() && r < turned.height() &&
          mask.pixel(c, r) == 0) {
        std::uint32_t colour = turned.pixel(c, r);
        if (turned.bitsPerPixel() == 8) {
          const platform::Rgb entry = turned.palette()[colour];
          colour = static_cast<std::uint32_t>(entry.red << 16 | entry.green << 8 | entry.blue);
        }
        const auto mix = [&](int shift) {
          const auto q = static_cast<std::uint8_t>(colour >> shift), p = static_cast<std::uint8_t>(seen >> shift);
          return static_cast<QRgb>(rotateimage::DrawMix(level, q, p)) << shift;
        };
        seen = 0xFF000000 | mix(16) | mix(8) | mix(0);
      }
      scene.setPixel(x, y, seen);
    }
  return scene;
}

struct SceneRow {
  int angleEx;  // tenths of a degree
  int zoom;
  bool indexed;  // an 8-bit picture rather than a 24-bit one
  QSize picture;
  QRect widget;  // in the backdrop
  rotateimage::TRotateImageDispMode mode;
  int level;        // see-through
  QPoint pivot;     // source pixel turned about; (-1, -1) for the centre
  QRegion exposed;  // what is repainted, in the backdrop; empty for all of it
};

TEST(WidgetPainting, TheMaskedPictureAtAnyAngleModeAndLevel) {
  using enum rotateimage::TRotateImageDispMode;
  const QPoint centred(-1, -1);
  const QRegion ell = QRegion(10, 8, 40, 30) + QRegion(30, 38, 45, 25);
  const SceneRow kRows[] = {
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmMask, 0, centred, {}},                // 0
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmRegion, 0, centred, {}},              // 1
      {1375, 150, true, {23, 17}, {3, 6, 71, 62}, ridmRegion, 0, {3, 5}, {}},               // 2: pivot, 8 bits
      {2000, 75, false, {90, 70}, {10, 9, 55, 41}, ridmRegion, 0, centred, {}},             // 3: cut by the widget
      {450, 100, false, {31, 27}, {5, 4, 70, 60}, ridmRegion, 0, {0, 26}, {}},              // 4: pivot at the key pixel
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmMask, 1, centred, {}},                // 5
      {610, 100, true, {40, 30}, {5, 4, 70, 60}, ridmMask, 2, centred, {}},                 // 6
      {900, 125, false, {33, 21}, {5, 4, 70, 60}, ridmRegion, 3, centred, {}},              // 7
      {3333, 100, true, {40, 30}, {5, 4, 70, 60}, ridmMask, 4, {7, 2}, {}},                 // 8
      {1800, 80, false, {40, 30}, {5, 4, 70, 60}, ridmRegion, 5, centred, {}},              // 9
      {100, 100, false, {40, 30}, {5, 4, 70, 60}, ridmMask, 6, centred, {}},                // 10
      {2700, 100, true, {40, 30}, {5, 4, 70, 60}, ridmRegion, 7, centred, {}},              // 11
      {300, 300, false, {80, 70}, {2, 3, 330, 250}, ridmMask, 3, centred, {}},              // 12: in bands
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmMask, 0, centred, {20, 10, 31, 24}},  // 13: part repainted
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmRegion, 0, centred, {20, 10, 31, 24}},  // 14
      {450, 100, true, {40, 30}, {5, 4, 70, 60}, ridmMask, 4, {2, 3}, {0, 30, 50, 20}},       // 15
      {450, 100, false, {40, 30}, {5, 4, 70, 60}, ridmRegion, 6, centred, {40, 0, 9, 80}},    // 16
      {300, 100, false, {40, 30}, {5, 4, 70, 60}, ridmMask, 5, centred, ell},                 // 17: an L
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const SceneRow& row = kRows[i];
    Backdrop backdrop;
    backdrop.resize(row.widget.right() + 6, row.widget.bottom() + 5);
    auto* widget = new RotateImageWidget(&backdrop);
    widget->setGeometry(row.widget);
    auto& control = widget->control();
    control.SetBitmap(row.indexed ? indexedPicture(row.picture.width(), row.picture.height())
                                  : picture(row.picture.width(), row.picture.height()));
    control.SetTransparent(true);
    control.SetAngleEx(row.angleEx);
    control.SetZoom(row.zoom);
    control.SetDispMode(row.mode);
    control.SetTrnsIndex(row.level);
    if (row.pivot != centred) {
      control.SetPivot(true);
      control.SetPivotX(row.pivot.x());
      control.SetPivotY(row.pivot.y());
    }
    QImage expected = expectedScene(backdrop, row.widget, control, row.level);
    QImage shot;
    if (row.exposed.isEmpty()) {
      shot = shoot(backdrop);
    } else {
      shot = QImage(backdrop.size(), QImage::Format_RGB32);
      shot.fill(Qt::magenta);
      backdrop.render(&shot, row.exposed.boundingRect().topLeft(), row.exposed);
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
          if (!row.exposed.contains(QPoint(x, y))) expected.setPixel(x, y, qRgb(255, 0, 255));
    }
    int changed = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        ASSERT_EQ(shot.pixel(x, y), expected.pixel(x, y)) << "row " << i << " at " << x << "," << y;
        if (expected.pixel(x, y) != backdrop.colourAt(x, y)) ++changed;
      }
    EXPECT_GT(changed, 20) << "row " << i;
  }
}

// One widget painted again after each change: every paint shows the picture as it is now.
TEST(WidgetPainting, EachRepaintShowsTheLatestPicture) {
  using rotateimage::TRotateImage;
  struct Step {
    const char* change;
    std::function<void(TRotateImage&)> apply;
  };
  const Step kSteps[] = {
      {"angle", [](TRotateImage& c) { c.SetAngleEx(250); }},                                                   // 0
      {"negative", [](TRotateImage& c) { c.SetNegative(true); }},                                              // 1
      {"region mode", [](TRotateImage& c) { c.SetDispMode(rotateimage::TRotateImageDispMode::ridmRegion); }},  // 2
      {"zoom", [](TRotateImage& c) { c.SetZoom(140); }},                                                       // 3
      {"see-through", [](TRotateImage& c) { c.SetTrnsIndex(5); }},                                             // 4
      {"saved",
       [](TRotateImage& c) {
         std::stringstream bytes;
         c.SaveToStream(bytes, rotateimage::clWhite);
       }},                                                                            // 5
      {"new picture", [](TRotateImage& c) { c.SetBitmap(indexedPicture(21, 34)); }},  // 6
      {"cleared", [](TRotateImage& c) { c.ClearImage(); }},                           // 7
      {"loaded again", [](TRotateImage& c) { c.SetBitmap(picture(30, 12)); }},        // 8
  };
  Backdrop backdrop;
  backdrop.resize(80, 70);
  auto* widget = new RotateImageWidget(&backdrop);
  const QRect area(4, 6, 70, 60);
  widget->setGeometry(area);
  auto& control = widget->control();
  control.SetBitmap(picture(25, 18));
  control.SetTransparent(true);
  shoot(backdrop);
  for (std::size_t i = 0; i < std::size(kSteps); ++i) {
    kSteps[i].apply(control);
    const QImage shot = shoot(backdrop);
    const QImage expected = expectedScene(backdrop, area, control, control.TrnsIndex());
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        ASSERT_EQ(shot.pixel(x, y), expected.pixel(x, y))
            << "step " << i << " (" << kSteps[i].change << ") at " << x << "," << y;
  }
}

TEST(WidgetPainting, PivotAtTheOriginPutsTheTopLeftPixelAtTheCentre) {
  Backdrop backdrop;
  backdrop.resize(50, 40);
  auto* widget = new RotateImageWidget(&backdrop);
  widget->setGeometry(0, 0, 50, 40);
  auto& control = widget->control();
  control.SetBitmap(picture(10, 8));
  control.SetPivot(true);
  control.SetPivotX(0);
  control.SetPivotY(0);
  const QImage shot = shoot(backdrop);
  const QPoint centre(25, 20);
  EXPECT_EQ(shot.pixel(centre), 0xFF000000 | kKeyColour);  // the diagonal's first pixel
  EXPECT_EQ(shot.pixel(centre + QPoint(1, 0)), 0xFF000000 | testing::pictureColour(1, 0));
  EXPECT_EQ(shot.pixel(centre + QPoint(9, 7)), 0xFF000000 | testing::pictureColour(9, 7));
  EXPECT_EQ(shot.pixel(centre - QPoint(1, 1)), backdrop.colourAt(24, 19));
  EXPECT_EQ(shot.pixel(centre + QPoint(10, 0)), backdrop.colourAt(35, 20));
}

TEST(WidgetPainting, FortyFiveDegreesLeavesTheCornersToTheBackground) {
  Backdrop backdrop;
  backdrop.resize(60, 60);
  auto* widget = new RotateImageWidget(&backdrop);
  widget->setGeometry(0, 0, 60, 60);
  platform::Bitmap square(30, 30, 24);
  square.fill(0xC04080);
  widget->control().SetBitmap(square);
  widget->control().SetAngle(45);
  const QImage shot = shoot(backdrop);
  // The turned square's box is round(30 * sqrt 2) = 42 wide, from 9 to 50.
  const int side = static_cast<int>(std::lround(30 * std::sqrt(2.0)));
  ASSERT_EQ(side, 42);
  const int first = 30 - side / 2, last = first + side - 1;
  int picturePixels = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const QRgb seen = shot.pixel(x, y);
      if (seen == 0xFFC04080) {
        ++picturePixels;
        continue;
      }
      ASSERT_EQ(seen, backdrop.colourAt(x, y)) << x << "," << y;
    }
  for (const QPoint corner : {QPoint(first, first), QPoint(last, first), QPoint(first, last), QPoint(last, last),
                              QPoint(first + 8, first + 2)})
    EXPECT_EQ(shot.pixel(corner), backdrop.colourAt(corner.x(), corner.y())) << corner.x() << "," << corner.y();
  EXPECT_EQ(shot.pixel(30, 30), 0xFFC04080u);
  // Nearly all of the 900 source pixels survive the turn.
  EXPECT_NEAR(picturePixels, 900, 60);
}

TEST(WidgetPainting, DesignTimeFrameOnlyWithoutAPicture) {
  Backdrop backdrop;
  backdrop.resize(40, 30);
  auto* widget = new RotateImageWidget(&backdrop);
  widget->setGeometry(4, 3, 30, 20);
  widget->control().SetDesigning(true);
  // Dots on each of the widget's edge pixels: top, bottom, left, right.  A frame drawn
  // outside them is clipped away by the widget.
  const auto sides = [](int x, int y) { return std::array<bool, 4>{y == 3, y == 22, x == 4, x == 33}; };
  QImage shot = shoot(backdrop);
  int black = 0;
  std::array<int, 4> dots{};
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool onFrame = (x == 4 || x == 33 || y == 3 || y == 22) && x >= 4 && x <= 33 && y >= 3 && y <= 22;
      if (shot.pixel(x, y) == 0xFF000000) {
        ASSERT_TRUE(onFrame) << x << "," << y;
        ++black;
        for (std::size_t side = 0; side < dots.size(); ++side) dots[side] += sides(x, y)[side];
      } else {
        ASSERT_EQ(shot.pixel(x, y), backdrop.colourAt(x, y)) << x << "," << y;
      }
    }
  // Dashed: some of the 96 frame pixels, not all.
  EXPECT_GT(black, 20);
  EXPECT_LT(black, 96);
  for (std::size_t side = 0; side < dots.size(); ++side) EXPECT_GT(dots[side], 0) << "side " << side;

  // See-through, frame pixels are black blended once with the backdrop at half strength.
  widget->control().SetTrnsIndex(4);
  shot = shoot(backdrop);
  int blended = 0;
  dots = {};
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const QRgb under = backdrop.colourAt(x, y);
      if (shot.pixel(x, y) == under) continue;
      const bool onFrame = (x == 4 || x == 33 || y == 3 || y == 22) && x >= 4 && x <= 33 && y >= 3 && y <= 22;
      ASSERT_TRUE(onFrame) << x << "," << y;
      ASSERT_EQ(shot.pixel(x, y),
                qRgb(DrawMix(4, 0, qRed(under)), DrawMix(4, 0, qGreen(under)), DrawMix(4, 0, qBlue(under))))
          << x << "," << y;
      ++blended;
      for (std::size_t side = 0; side < dots.size(); ++side) dots[side] += sides(x, y)[side];
    }
  EXPECT_GT(blended, 20);
  EXPECT_LT(blended, 96);
  for (std::size_t side = 0; side < dots.size(); ++side) EXPECT_GT(dots[side], 0) << "see-through side " << side;

  widget->control().SetBitmap(picture(5, 5));
  shot = shoot(backdrop);
  EXPECT_EQ(shot.pixel(4, 3), backdrop.colourAt(4, 3));
}

}  // namespace
}  // namespace rotateimage::qt
