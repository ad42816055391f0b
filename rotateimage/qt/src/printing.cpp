#include "rotateimage/qt/printing.h"

#include <QPainter>
#include <QPrinter>

#include "rotateimage/qt/qt_canvas.h"
#include "rotateimage/rotate_image.h"

namespace rotateimage::qt {

bool printRotateImage(rotateimage::TCustomRotateImage& control, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // Bars and lettering must not come out of JPEG compression blurred.
  painter.setRenderHint(QPainter::LosslessImageRendering);
  painter.scale(printer.resolution() / kScreenDpi, printer.resolution() / kScreenDpi);
  const QRect page = painter.worldTransform().inverted().mapRect(QRect(0, 0, printer.width(), printer.height()));
  QtCanvas canvas(painter, rotateimage::DeviceKind::Printer, page);
  control.Paint(canvas);
  return painter.end();
}

}  // namespace rotateimage::qt
