// rotateview FILE.bmp: shows a DIB file in the rotation component, to turn, zoom,
// recolour and save it.
#include <QApplication>
#include <QFile>

#include <cstdio>

#include "viewer_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rotateview"));
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 2) {
    std::fprintf(stderr, "usage: rotateview FILE.bmp\n");
    return 2;
  }
  rotateview::ViewerWindow window;
  if (!window.open(QFile::encodeName(arguments[1]).toStdString())) {
    std::fprintf(stderr, "rotateview: %s: not a bitmap the component can show\n", qPrintable(arguments[1]));
    return 1;
  }
  window.resize(640, 560);
  window.show();
  return QApplication::exec();
}
