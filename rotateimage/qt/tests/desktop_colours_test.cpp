// System colours in the widget are the desktop palette's, from the start and after the
// palette changes.
#include "rotateimage/qt/desktop_colours.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <vector>

#include "rotateimage/qt/rotate_image_widget.h"

namespace rotateimage::qt {
namespace {

using rotateimage::SystemColour;

rotateimage::TColor tColour(const QColor& c) {
  return static_cast<rotateimage::TColor>(c.red() | c.green() << 8 | c.blue() << 16);
}

TEST(DesktopColours, IndicesTakeTheirPaletteRoles) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
  palette.setColor(QPalette::ToolTipBase, QColor(250, 250, 200));
  const rotateimage::SystemColours colours = desktopSystemColours(palette);
  struct Row {
    SystemColour index;
    rotateimage::TColor expected;
  };
  const Row kRows[] = {
      {SystemColour::BtnFace, 0x563412},     // 0
      {SystemColour::GrayText, 0x030201},    // 1: the disabled text colour
      {SystemColour::InfoBk, 0xC8FAFA},      // 2
      {SystemColour::Background, 0xA56E3A},  // 3: no counterpart: the standard desktop
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    EXPECT_EQ(colours.colour(static_cast<std::size_t>(kRows[i].index)), kRows[i].expected) << "row " << i;
}

TEST(DesktopColours, TheWidgetsControlFollowsThePalette) {
  RotateImageWidget widget;
  rotateimage::TRotateImage& control = widget.control();
  const auto btnFace = static_cast<std::size_t>(SystemColour::BtnFace);
  EXPECT_EQ(control.GetSystemColours().colour(btnFace),
            tColour(QApplication::palette().color(QPalette::Active, QPalette::Button)));

  // A button face colour in the picture becomes background, whichever the palette says.
  platform::Bitmap source(3, 1, 24);
  source.setPixel(0, 0, 0x123456);
  source.setPixel(1, 0, 0x654321);
  source.setPixel(2, 0, 0x000001);
  control.SetBitmap(source);
  control.SetTransparent(true);
  control.SetTransparentColor(rotateimage::systemColor(SystemColour::BtnFace));
  const auto masked = [&control] {
    const rotateimage::DibInfo mask = rotateimage::readDibInfo(control.Mask());
    std::vector<int> columns;
    for (int x = 0; x < mask.width; ++x)
      if (control.Mask()[mask.pixelOffset + static_cast<std::size_t>(x)] == 1) columns.push_back(x);
    return columns;
  };
  struct Row {
    QColor button;
    std::vector<int> masked;
  };
  const Row kRows[] = {{QColor(0x12, 0x34, 0x56), {0}}, {QColor(0x65, 0x43, 0x21), {1}}, {QColor(9, 9, 9), {}}};
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Button, kRows[i].button);
    widget.setPalette(palette);
    EXPECT_EQ(control.GetSystemColours().colour(btnFace), tColour(kRows[i].button)) << "row " << i;
    EXPECT_EQ(masked(), kRows[i].masked) << "row " << i;
  }
}

}  // namespace
}  // namespace rotateimage::qt
