// rotateview FILE.bmp: shows a DIB file in the rotation component, to turn, zoom,
// recolour and save it.
#include <QApplication>
#include <QFile>
#include <QTranslator>

#include <cstdio>
#include <filesystem>

#include "lorrin/language.h"
#include "viewer_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("rotateview"));
  // The language lorrin shows, from the catalogue lorrin's package installs.
  const lorrin::CatalogueFolders catalogues =
      lorrin::catalogueFolders(std::filesystem::path(QApplication::applicationDirPath().toStdString()));
  const std::string language = lorrin::useLanguage(lorrin::localeLanguage(), catalogues);
  QTranslator translator;
  if (translator.load(QString::fromStdString(lorrin::qtCatalogue(catalogues.qt, language).string())))
    QApplication::installTranslator(&translator);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 2) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(QApplication::translate("rotateview", "usage: rotateview FILE.bmp")));
    return 2;
  }
  rotateview::ViewerWindow window;
  if (!window.open(QFile::encodeName(arguments[1]).toStdString())) {
    std::fprintf(stderr, "rotateview: %s\n",
                 qUtf8Printable(QApplication::translate("rotateview", "%1: not a bitmap the component can show")
                                .arg(arguments[1])));
    return 1;
  }
  window.resize(640, 560);
  window.show();
  return QApplication::exec();
}
