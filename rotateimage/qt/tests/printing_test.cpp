// Printing to PDF: the page, rendered back with pdftoppm, shows the turned picture at
// 1/96 inch a pixel, background pixels left as white paper, and the control keeps its
// screen rendering afterwards.  A mask that leaves nothing to print leaves the page blank:
// the PDF engine, unlike the raster one, would draw all of a picture clipped to nothing.
#include "rotateimage/qt/printing.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "scene.h"
#include "rotateimage/rotate_image.h"

namespace rotateimage::qt {
namespace {

using testing::kKeyColour;
using testing::picture;

constexpr int kRenderDpi = 384;  // four rendered pixels a screen pixel
constexpr int kScale = kRenderDpi / static_cast<int>(kScreenDpi);

// Prints the control to a PDF at `dpi` and renders its page back.
QImage printAndRender(rotateimage::TCustomRotateImage& control, const QTemporaryDir& dir, int dpi = 1200) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(dpi);
  printer.setOutputFileName(dir.filePath("page.pdf"));
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QPageSize::A6));
  if (!printRotateImage(control, printer)) return {};
  const int status = QProcess::execute(
      "pdftoppm", {"-r", QString::number(kRenderDpi), "-singlefile", dir.filePath("page.pdf"), dir.filePath("page")});
  if (status != 0) return {};
  return QImage(dir.filePath("page.ppm")).convertToFormat(QImage::Format_RGB32);
}

struct PrintRow {
  int angle;
  int quality;  // PrintQuality
  int width, height;
  bool deferred;  // printed between BeginUpdate and EndUpdate
};

TEST(Printing, PageShowsTheTurnedPictureOnWhitePaper) {
  ASSERT_FALSE(QStandardPaths::findExecutable("pdftoppm").isEmpty()) << "pdftoppm (poppler-utils) is needed";
  const PrintRow kRows[] = {
      {90, 4, 12, 7, false},    // 0: the default quality renders twice as fine
      {0, 1, 12, 7, false},     // 1: no oversampling
      {270, 16, 9, 13, false},  // 2: four times as fine
      {180, 9, 9, 13, false},   // 3: three times
      {90, 4, 12, 7, true},     // 4: no render while deferred: the picture shown, same size
      {270, 16, 9, 13, true},   // 5
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const PrintRow& row = kRows[i];
    rotateimage::TRotateImage control;
    control.SetBounds(0, 0, 40, 30);
    control.SetBitmap(picture(row.width, row.height));
    control.SetTransparent(true);
    control.SetAngle(row.angle);
    control.SetPrintQuality(row.quality);
    control.SetTrnsIndex(4);  // screen only: paper shows the picture at full strength
    const rotateimage::DibBuffer screenImage = control.Rotated();
    const rotateimage::DibBuffer screenMask = control.Mask();
    platform::Bitmap turned;
    control.SaveToBitmap(turned, rotateimage::clWhite);

    QTemporaryDir dir;
    if (row.deferred) control.BeginUpdate();
    const QImage page = printAndRender(control, dir);
    if (row.deferred) control.EndUpdate();
    ASSERT_FALSE(page.isNull()) << "row " << i;
    EXPECT_EQ(control.Rotated(), screenImage) << "row " << i;
    EXPECT_EQ(control.Mask(), screenMask) << "row " << i;

    // Every screen pixel of the control's area, sampled at its centre on the page.
    const QPoint corner(20 - turned.width() / 2, 15 - turned.height() / 2);
    int keyPixels = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const QPoint at = QPoint(x, y) - corner;
        const bool inside = at.x() >= 0 && at.y() >= 0 && at.x() < turned.width() && at.y() < turned.height();
        const std::uint32_t expected = inside ? turned.pixel(at.x(), at.y()) : 0xFFFFFF;
        if (inside && expected == 0xFFFFFF) ++keyPixels;
        ASSERT_NE(expected, kKeyColour);
        const QRgb seen = page.pixel(x * kScale + kScale / 2, y * kScale + kScale / 2) & 0xFFFFFF;
        ASSERT_EQ(seen, expected) << "row " << i << " at " << x << "," << y;
      }
    EXPECT_GT(keyPixels, 0) << "row " << i;
  }
}

// Pictures whose mask keeps nothing, and keeps single pixels, with the key colour at the
// bottom-left pixel.
platform::Bitmap keyOnly(int width, int height) {
  platform::Bitmap bitmap(width, height, 24);
  bitmap.fill(kKeyColour);
  return bitmap;
}
platform::Bitmap checkered(int width, int height) {
  platform::Bitmap bitmap = picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((x + height - 1 - y) % 2 == 0) bitmap.setPixel(x, y, kKeyColour);
  return bitmap;
}

struct RegionRow {
  platform::Bitmap (*make)(int width, int height);
  int dpi;      // the printer's
  int quality;  // PrintQuality
  bool blank;   // nothing left to print
};

TEST(Printing, AMaskThatLeavesNothingGivesABlankPage) {
  ASSERT_FALSE(QStandardPaths::findExecutable("pdftoppm").isEmpty()) << "pdftoppm (poppler-utils) is needed";
  const RegionRow kRows[] = {
      {keyOnly, 1200, 4, true},     // 0: no pixel kept
      {keyOnly, 1200, 1, true},     // 1
      {keyOnly, 150, 1, true},      // 2
      {checkered, 150, 1, true},    // 3: each pixel 1.56 device pixels, one taken off either end
      {checkered, 150, 4, true},    // 4: rendered twice as fine, each 0.78 device pixels
      {checkered, 1200, 1, false},  // 5: the same pixels 12.5 device pixels wide
      {picture, 150, 1, false},     // 6: runs of many pixels
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const RegionRow& row = kRows[i];
    rotateimage::TRotateImage control;
    control.SetBounds(0, 0, 40, 30);
    control.SetBitmap(row.make(12, 7));
    control.SetTransparent(true);
    control.SetPrintQuality(row.quality);
    QTemporaryDir dir;
    const QImage page = printAndRender(control, dir, row.dpi);
    ASSERT_FALSE(page.isNull()) << "row " << i;
    int printed = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) printed += (page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    if (row.blank) {
      EXPECT_EQ(printed, 0) << "row " << i;
    } else {
      EXPECT_GT(printed, 0) << "row " << i;
    }
  }
}

TEST(Printing, AnUnwritableFileIsReported) {
  rotateimage::TRotateImage control;
  control.SetBounds(0, 0, 10, 10);
  control.SetBitmap(picture(4, 4));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-folder/page.pdf");
  EXPECT_FALSE(printRotateImage(control, printer));
}

}  // namespace
}  // namespace rotateimage::qt
