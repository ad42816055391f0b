// A Qt widget that hosts a TRotateImage and shows it as the control it is: painted over
// whatever lies behind it, see-through on a display, with clicks on background pixels
// passed to the widget behind when TransparentMouse is on, and system colours that are
// the desktop palette's.
#pragma once

#include <QPointer>
#include <QWidget>

#include "rotateimage/qt/qt_canvas.h"
#include "rotateimage/rotate_image.h"

class QMouseEvent;

namespace rotateimage::qt {

class RotateImageWidget : public QWidget, private rotateimage::ControlParent {
  Q_OBJECT

 public:
  explicit RotateImageWidget(QWidget* parent = nullptr);

  // The hosted control: load, turn and set its properties here; the widget repaints
  // what the control invalidates.  Its bounds follow the widget's geometry.
  rotateimage::TRotateImage& control() { return control_; }
  const rotateimage::TRotateImage& control() const { return control_; }

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The control's parent window: its rectangles are in our parent's coordinates.
  void invalidateRect(const rotateimage::Rect& r, bool erase) override;
  void syncBounds();
  QWidget* widgetBehind(QPointF position);
  bool forwardMouse(QWidget* target, QMouseEvent* event);

  rotateimage::TRotateImage control_;
  PictureCache picture_;
  // Where a press that fell through went: its moves and release follow it.
  QPointer<QWidget> mouseTarget_;
};

}  // namespace rotateimage::qt
