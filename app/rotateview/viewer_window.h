// The rotateview window: a DIB file shown in a RotateImageWidget over a checkerboard,
// with sliders and switches for every rendering option of the control.
#pragma once

#include <QWidget>

#include <filesystem>

class QCheckBox;
class QLabel;
class QSlider;

namespace rotateimage::qt {
class RotateImageWidget;
}

namespace rotateview {

class ViewerWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ViewerWindow(QWidget* parent = nullptr);

  // False when the file cannot be read or holds no usable bitmap.
  bool open(const std::filesystem::path& file);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildShortcuts();
  void showState();
  void save();
  void print();

  rotateimage::qt::RotateImageWidget* image_ = nullptr;
  QWidget* stage_ = nullptr;
  QSlider* angle_ = nullptr;
  QSlider* zoom_ = nullptr;
  QSlider* level_ = nullptr;
  QCheckBox* transparent_ = nullptr;
  QCheckBox* monochrome_ = nullptr;
  QCheckBox* sepia_ = nullptr;
  QCheckBox* negative_ = nullptr;
  QCheckBox* sketch_ = nullptr;
  QCheckBox* clickThrough_ = nullptr;
  QLabel* state_ = nullptr;
  QString lastClick_;
};

}  // namespace rotateview
