// The widget painting its turned picture over a background, with the mask, with the
// mask region and at see-through levels 1, 4 and 7 (also with the region), beside Qt's
// own drawImage of the same masked picture (opaque, and at opacity one half) in the same
// run.  Items per second are pixels of the widget per second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/qt/image.h"
#include "rotateimage/qt/rotate_image_widget.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// One application for the run, never torn down: widgets need it until the process ends.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "rotateview_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

platform::Bitmap stripes() {
    platform::Bitmap bitmap(400, 300, 24);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, (x / 7 + y / 5) % 3 ? 0xC04080u : 0xFFFFFFu);
    return bitmap;
}

// A parent that fills itself with one colour, so that the widget has something behind it.
class Backdrop : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0x9c, 0xc4, 0xe4));
    }
};

void setRates(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kWidth) * kHeight);
}

// Arguments: see-through level, display mode (0 mask, 1 region).
void BM_WidgetPaint(benchmark::State& state) {
    ensureApplication();
    Backdrop backdrop;
    backdrop.resize(kWidth, kHeight);
    auto* widget = new rotateimage::qt::RotateImageWidget(&backdrop);
    widget->setGeometry(0, 0, kWidth, kHeight);
    auto& control = widget->control();
    control.SetBitmap(stripes());
    control.SetTransparentColor(0xFFFFFF);
    control.SetTransparent(true);
    control.SetAngle(30);
    control.SetTrnsIndex(static_cast<int>(state.range(0)));
    control.SetDispMode(state.range(1) ? rotateimage::TRotateImageDispMode::ridmRegion
                                       : rotateimage::TRotateImageDispMode::ridmMask);
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        backdrop.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    setRates(state);
}
BENCHMARK(BM_WidgetPaint)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({4, 0})
    ->Args({1, 0})
    ->Args({7, 0})
    ->Args({4, 1})
    ->Unit(benchmark::kMillisecond);

// Reference: the background filled and the masked picture drawn by Qt, opaque or at half
// opacity.  Argument: opacity in eighths of a step (0 opaque, 4 half).
void BM_QtDrawImage(benchmark::State& state) {
    ensureApplication();
    rotateimage::TRotateImage control;
    control.SetBitmap(stripes());
    control.SetTransparentColor(0xFFFFFF);
    control.SetTransparent(true);
    control.SetAngle(30);
    const QImage picture = platform::qt::dibToImage(control.Rotated(), control.Mask());
    const QPoint corner((kWidth - picture.width()) / 2, (kHeight - picture.height()) / 2);
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.fillRect(target.rect(), QColor(0x9c, 0xc4, 0xe4));
        painter.setOpacity(1.0 - static_cast<double>(state.range(0)) / 8);
        painter.drawImage(corner, picture);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    setRates(state);
}
BENCHMARK(BM_QtDrawImage)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
