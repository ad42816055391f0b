// The widget as a control among others: clicks through background pixels, and the area
// repainted when the picture's geometry changes.
#include "rotateimage/qt/rotate_image_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "scene.h"

namespace rotateimage::qt {
namespace {

using testing::picture;

// Remembers the presses and releases that reach it.
template <typename Base>
class Listening : public Base {
 public:
  using Base::Base;
  int presses = 0;
  int releases = 0;
  QPoint lastPress;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    ++presses;
    lastPress = event->position().toPoint();
  }
  void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

struct HitRow {
  bool transparentMouse;
  bool pivot;
  QPoint at;  // in the picture widget
  bool hitsPicture;
};

TEST(WidgetControl, ClicksOnBackgroundPixelsFallThrough) {
  // The widget is 40 x 30; the 10 x 8 picture sits at (15, 11), or with the pivot at
  // source pixel (0, 0) at the centre (20, 15).  Its diagonal and bottom-left pixel are
  // the transparent colour.
  const HitRow kRows[] = {
      {true, false, {16, 11}, true},   // 0: picture pixel (1, 0)
      {true, false, {15, 11}, false},  // 1: pixel (0, 0), transparent
      {true, false, {15, 18}, false},  // 2: bottom-left pixel, transparent
      {true, false, {24, 18}, true},   // 3: bottom-right pixel (9, 7)
      {true, false, {25, 18}, false},  // 4: just right of the picture
      {true, false, {3, 3}, false},    // 5: far outside the picture
      {false, false, {15, 11}, true},  // 6: off: the whole widget takes clicks
      {false, false, {3, 3}, true},    // 7
      {true, true, {21, 15}, true},    // 8: pivot: pixel (1, 0) at the centre plus one
      {true, true, {20, 15}, false},   // 9: pixel (0, 0), transparent
      {true, true, {16, 11}, false},   // 10: where (1, 0) was without the pivot
      {true, true, {29, 22}, true},    // 11: pixel (9, 7)
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const HitRow& row = kRows[i];
    QWidget window;
    window.resize(60, 50);
    auto* behind = new Listening<QWidget>(&window);
    behind->setGeometry(0, 0, 60, 50);
    auto* widget = new Listening<RotateImageWidget>(&window);
    widget->setGeometry(10, 10, 40, 30);
    auto& control = widget->control();
    control.SetBitmap(picture(10, 8));
    control.SetTransparent(true);
    control.SetTransparentMouse(row.transparentMouse);
    control.SetPivot(row.pivot);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QPoint inWindow = row.at + QPoint(10, 10);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inWindow);
    EXPECT_EQ(widget->presses, row.hitsPicture ? 1 : 0) << "row " << i;
    EXPECT_EQ(behind->presses, row.hitsPicture ? 0 : 1) << "row " << i;
    EXPECT_EQ(behind->releases, behind->presses) << "row " << i;
    if (!row.hitsPicture) {
      EXPECT_EQ(behind->lastPress, inWindow) << "row " << i;
    }
  }
}

// Records what each paint was asked to cover.
class RecordingWidget : public RotateImageWidget {
 public:
  using RotateImageWidget::RotateImageWidget;
  QRegion painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    painted += event->region();
    RotateImageWidget::paintEvent(event);
  }
};

struct RepaintRow {
  const char* change;
  std::function<void(rotateimage::TRotateImage&)> apply;
  QRegion expected;  // in the widget
};

TEST(WidgetControl, GeometryChangesRepaintTheOldAndNewPictureOnly) {
  // A 20 x 10 picture centred in a 100 x 80 widget sits at (40, 35).
  const QRect wide(40, 35, 20, 10);
  const RepaintRow kRows[] = {
      {"angle 90", [](auto& c) { c.SetAngle(90); }, QRegion(wide) + QRect(45, 30, 10, 20)},  // 0
      {"zoom 200", [](auto& c) { c.SetZoom(200); }, QRegion(QRect(30, 30, 40, 20))},         // 1: old inside new
      {"pivot on at (0, 0)", [](auto& c) { c.SetPivot(true); }, QRegion(wide) + QRect(50, 40, 20, 10)},  // 2
      {"negative", [](auto& c) { c.SetNegative(true); }, QRegion(wide)},              // 3: no geometry change
      {"pivot X while off", [](auto& c) { c.SetPivotX(3); }, QRegion()},              // 4: stored only
      {"zoom 400", [](auto& c) { c.SetZoom(400); }, QRegion(QRect(10, 20, 80, 40))},  // 5
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const RepaintRow& row = kRows[i];
    QWidget window;
    window.resize(120, 100);
    auto* widget = new RecordingWidget(&window);
    widget->setGeometry(10, 10, 100, 80);
    widget->control().SetBitmap(picture(20, 10));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    widget->painted = QRegion();
    row.apply(widget->control());
    QApplication::processEvents();
    EXPECT_EQ(widget->painted, row.expected)
        << "row " << i << " (" << row.change << "): painted " << widget->painted.boundingRect().x() << ","
        << widget->painted.boundingRect().y() << " " << widget->painted.boundingRect().width() << "x"
        << widget->painted.boundingRect().height() << " in " << widget->painted.rectCount() << " rectangles";
  }
}

}  // namespace
}  // namespace rotateimage::qt
