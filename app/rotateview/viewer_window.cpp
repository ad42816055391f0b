#include "viewer_window.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>
#include <iterator>

#include "rotateimage/qt/printing.h"
#include "rotateimage/qt/rotate_image_widget.h"

namespace rotateview {
namespace {

using rotateimage::qt::printRotateImage;
using rotateimage::qt::RotateImageWidget;

constexpr int kCheckerSize = 12;

// A checkerboard behind the control, so that background pixels and see-through levels
// show as what they are.
class Stage : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (int y = 0; y < height(); y += kCheckerSize)
      for (int x = 0; x < width(); x += kCheckerSize)
        painter.fillRect(
            x, y, kCheckerSize, kCheckerSize,
            (x / kCheckerSize + y / kCheckerSize) % 2 ? QColor(0x9c, 0xc4, 0xe4) : QColor(0xf0, 0xf0, 0xf0));
  }
};

QSlider* slider(int minimum, int maximum, int value) {
  auto* s = new QSlider(Qt::Horizontal);
  s->setRange(minimum, maximum);
  s->setValue(value);
  return s;
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("rotateview"));
  stage_ = new Stage;
  stage_->setMinimumSize(320, 240);
  image_ = new RotateImageWidget(stage_);
  auto* stageLayout = new QVBoxLayout(stage_);
  stageLayout->setContentsMargins(0, 0, 0, 0);
  stageLayout->addWidget(image_);
  stage_->installEventFilter(this);
  image_->installEventFilter(this);

  angle_ = slider(0, 3599, 0);
  zoom_ = slider(25, 400, 100);
  level_ = slider(0, 7, 0);
  level_->setTickPosition(QSlider::TicksBelow);
  transparent_ = new QCheckBox(tr("&Transparent"));
  monochrome_ = new QCheckBox(tr("&Monochrome"));
  sepia_ = new QCheckBox(tr("Se&pia"));
  negative_ = new QCheckBox(tr("&Negative"));
  sketch_ = new QCheckBox(tr("S&ketch"));
  clickThrough_ = new QCheckBox(tr("&Clicks through background"));
  auto* saveButton = new QPushButton(tr("&Save..."));
  auto* printButton = new QPushButton(tr("P&rint..."));
  state_ = new QLabel;

  auto* form = new QFormLayout;
  form->addRow(tr("Angle (Left/Right)"), angle_);
  form->addRow(tr("Zoom (Up/Down)"), zoom_);
  form->addRow(tr("See-through (0-7)"), level_);
  auto* switches = new QGridLayout;
  QCheckBox* const boxes[] = {transparent_, monochrome_, sepia_, negative_, sketch_, clickThrough_};
  for (int i = 0; i < static_cast<int>(std::size(boxes)); ++i) switches->addWidget(boxes[i], i / 3, i % 3);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(state_, 1);
  bottom->addWidget(saveButton);
  bottom->addWidget(printButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stage_, 1);
  layout->addLayout(form);
  layout->addLayout(switches);
  layout->addLayout(bottom);

  rotateimage::TRotateImage& c = image_->control();
  connect(angle_, &QSlider::valueChanged, this, [this, &c](int v) {
    c.SetAngleEx(v);
    showState();
  });
  connect(zoom_, &QSlider::valueChanged, this, [this, &c](int v) {
    c.SetZoom(v);
    showState();
  });
  connect(level_, &QSlider::valueChanged, this, [this, &c](int v) {
    c.SetTrnsIndex(v);
    showState();
  });
  connect(transparent_, &QCheckBox::toggled, this, [&c](bool on) { c.SetTransparent(on); });
  // Monochrome and sepia are one colour code: switching one on turns the other off.
  connect(monochrome_, &QCheckBox::toggled, this, [this, &c](bool on) {
    c.SetMonochrome(on);
    sepia_->setChecked(c.Sepia());
  });
  connect(sepia_, &QCheckBox::toggled, this, [this, &c](bool on) {
    c.SetSepia(on);
    monochrome_->setChecked(c.Monochrome());
  });
  connect(negative_, &QCheckBox::toggled, this, [&c](bool on) { c.SetNegative(on); });
  connect(sketch_, &QCheckBox::toggled, this, [&c](bool on) { c.SetSketch(on); });
  connect(clickThrough_, &QCheckBox::toggled, this, [&c](bool on) { c.SetTransparentMouse(on); });
  connect(saveButton, &QPushButton::clicked, this, &ViewerWindow::save);
  connect(printButton, &QPushButton::clicked, this, &ViewerWindow::print);
  buildShortcuts();
  showState();
}

void ViewerWindow::buildShortcuts() {
  const auto key = [this](const QKeySequence& sequence, auto action) {
    connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
  };
  const auto step = [](QSlider* s, int by) { s->setValue(s->value() + by); };
  key(Qt::Key_Right, [this, step] { step(angle_, 10); });
  key(Qt::Key_Left, [this, step] { step(angle_, -10); });
  key(Qt::SHIFT | Qt::Key_Right, [this, step] { step(angle_, 1); });
  key(Qt::SHIFT | Qt::Key_Left, [this, step] { step(angle_, -1); });
  key(Qt::Key_Up, [this, step] { step(zoom_, 10); });
  key(Qt::Key_Down, [this, step] { step(zoom_, -10); });
  for (int level = 0; level <= 7; ++level)
    key(QKeySequence(Qt::Key_0 + level), [this, level] { level_->setValue(level); });
  key(QKeySequence::Save, [this] { save(); });
  key(QKeySequence::Print, [this] { print(); });
  key(QKeySequence::Quit, [this] { close(); });
}

bool ViewerWindow::open(const std::filesystem::path& file) {
  try {
    image_->control().LoadFromFile(file);
  } catch (const std::exception&) {
    return false;
  }
  setWindowTitle(QStringLiteral("rotateview - %1").arg(QString::fromStdString(file.filename().string())));
  showState();
  return !image_->control().Source().empty();
}

void ViewerWindow::showState() {
  const rotateimage::TRotateImage& c = image_->control();
  state_->setText(tr("%1.%2 degrees, %3 %, see-through %4/8%5")
                      .arg(c.AngleEx() / 10)
                      .arg(c.AngleEx() % 10)
                      .arg(c.Zoom())
                      .arg(c.TrnsIndex())
                      .arg(lastClick_.isEmpty() ? QString() : QStringLiteral("  |  ") + lastClick_));
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
  // Which widget a click reached shows the hit test at work.
  if (event->type() == QEvent::MouseButtonPress && (watched == stage_ || watched == image_)) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    lastClick_ = (watched == image_ ? tr("click on the picture at %1,%2") : tr("click on the background at %1,%2"))
                     .arg(at.x())
                     .arg(at.y());
    showState();
  }
  return QWidget::eventFilter(watched, event);
}

void ViewerWindow::save() {
  const QString file =
      QFileDialog::getSaveFileName(this, tr("Save the turned image"), QString(), tr("Bitmaps (*.bmp)"));
  if (file.isEmpty()) return;
  try {
    image_->control().SaveToFile(QFile::encodeName(file).toStdString(), rotateimage::clWhite);
  } catch (const std::exception& e) {
    QMessageBox::warning(this, windowTitle(), tr("Cannot save %1: %2").arg(file, QString::fromLocal8Bit(e.what())));
  }
}

void ViewerWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!printRotateImage(image_->control(), printer))
    QMessageBox::warning(this, windowTitle(), tr("The printer could not be opened."));
}

}  // namespace rotateview
