#include "rotateimage/qt/rotate_image_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "rotateimage/qt/desktop_colours.h"
#include "rotateimage/qt/qt_canvas.h"

namespace rotateimage::qt {
namespace {

rotateimage::Point clientPoint(QPointF p) {
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

RotateImageWidget::RotateImageWidget(QWidget* parent) : QWidget(parent) {
  // Not opaque: the parent paints behind the control, as a graphic control expects.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  control_.SetParent(this);
  control_.SetSystemColours(desktopSystemColours(palette()));
  syncBounds();
}

void RotateImageWidget::changeEvent(QEvent* event) {
  // The desktop's colours change with its palette (a new theme, or one set on a parent).
  if (event->type() == QEvent::PaletteChange) control_.SetSystemColours(desktopSystemColours(palette()));
  QWidget::changeEvent(event);
}

void RotateImageWidget::syncBounds() { control_.SetBounds(x(), y(), width(), height()); }

void RotateImageWidget::moveEvent(QMoveEvent* event) {
  syncBounds();
  QWidget::moveEvent(event);
}

void RotateImageWidget::resizeEvent(QResizeEvent* event) {
  syncBounds();
  QWidget::resizeEvent(event);
}

void RotateImageWidget::invalidateRect(const rotateimage::Rect& r, bool) {
  // Erasing is implied: the widget is not opaque, so Qt repaints what lies behind first.
  update(QRect(r.left - control_.Left(), r.top - control_.Top(), r.width(), r.height()));
}

void RotateImageWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QtCanvas canvas(painter, rotateimage::DeviceKind::RasterDisplay, event->rect(), &picture_);
  control_.Paint(canvas);
}

QWidget* RotateImageWidget::widgetBehind(QPointF position) {
  QWidget* top = window();
  if (top == this) return nullptr;
  const QPoint at = mapTo(top, position.toPoint());
  setAttribute(Qt::WA_TransparentForMouseEvents, true);
  QWidget* behind = top->childAt(at);
  setAttribute(Qt::WA_TransparentForMouseEvents, false);
  return behind ? behind : top;
}

bool RotateImageWidget::forwardMouse(QWidget* target, QMouseEvent* event) {
  const QPointF local = target->mapFrom(window(), mapTo(window(), event->position()));
  QMouseEvent copy(event->type(), local, event->scenePosition(), event->globalPosition(), event->button(),
                   event->buttons(), event->modifiers(), event->pointingDevice());
  // Sent, not posted: an ignored event still climbs the target's parents.
  QCoreApplication::sendEvent(target, &copy);
  event->setAccepted(copy.isAccepted());
  return true;
}

bool RotateImageWidget::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      mouseTarget_ = nullptr;
      if (control_.CMHitTest(clientPoint(mouse->position())) != 0) break;
      mouseTarget_ = widgetBehind(mouse->position());
      if (!mouseTarget_) {
        event->ignore();
        return true;
      }
      return forwardMouse(mouseTarget_, mouse);
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      if (!mouseTarget_) break;
      auto* mouse = static_cast<QMouseEvent*>(event);
      QPointer<QWidget> target = mouseTarget_;
      if (event->type() == QEvent::MouseButtonRelease && mouse->buttons() == Qt::NoButton) mouseTarget_ = nullptr;
      return forwardMouse(target, mouse);
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      if (control_.CMHitTest(clientPoint(wheel->position())) != 0) break;
      QWidget* target = widgetBehind(wheel->position());
      if (!target) {
        event->ignore();
        return true;
      }
      QWheelEvent copy(target->mapFrom(window(), mapTo(window(), wheel->position())), wheel->globalPosition(),
                       wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(),
                       wheel->inverted(), wheel->source(), wheel->pointingDevice());
      QCoreApplication::sendEvent(target, &copy);
      event->setAccepted(copy.isAccepted());
      return true;
    }
    default: break;
  }
  return QWidget::event(event);
}

}  // namespace rotateimage::qt
