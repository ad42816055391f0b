#include "rotateimage/qt/desktop_colours.h"

#include <QPalette>

#include <array>

namespace rotateimage::qt {
namespace {

using rotateimage::SystemColour;

struct PaletteSource {
  SystemColour index;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// Where each system colour index finds its colour in a Qt palette.  The desktop, the
// alternate button face and the caption gradients have no counterpart and keep the
// standard scheme's.
constexpr std::array kPaletteSources = {
    PaletteSource{SystemColour::ScrollBar, QPalette::Active, QPalette::Button},
    PaletteSource{SystemColour::ActiveCaption, QPalette::Active, QPalette::Highlight},
    PaletteSource{SystemColour::InactiveCaption, QPalette::Inactive, QPalette::Highlight},
    PaletteSource{SystemColour::Menu, QPalette::Active, QPalette::Window},
    PaletteSource{SystemColour::Window, QPalette::Active, QPalette::Base},
    PaletteSource{SystemColour::WindowFrame, QPalette::Active, QPalette::Shadow},
    PaletteSource{SystemColour::MenuText, QPalette::Active, QPalette::WindowText},
    PaletteSource{SystemColour::WindowText, QPalette::Active, QPalette::Text},
    PaletteSource{SystemColour::CaptionText, QPalette::Active, QPalette::HighlightedText},
    PaletteSource{SystemColour::ActiveBorder, QPalette::Active, QPalette::Window},
    PaletteSource{SystemColour::InactiveBorder, QPalette::Inactive, QPalette::Window},
    PaletteSource{SystemColour::AppWorkSpace, QPalette::Active, QPalette::Mid},
    PaletteSource{SystemColour::Highlight, QPalette::Active, QPalette::Highlight},
    PaletteSource{SystemColour::HighlightText, QPalette::Active, QPalette::HighlightedText},
    PaletteSource{SystemColour::BtnFace, QPalette::Active, QPalette::Button},
    PaletteSource{SystemColour::BtnShadow, QPalette::Active, QPalette::Dark},
    PaletteSource{SystemColour::GrayText, QPalette::Disabled, QPalette::Text},
    PaletteSource{SystemColour::BtnText, QPalette::Active, QPalette::ButtonText},
    PaletteSource{SystemColour::InactiveCaptionText, QPalette::Inactive, QPalette::HighlightedText},
    PaletteSource{SystemColour::BtnHighlight, QPalette::Active, QPalette::Light},
    PaletteSource{SystemColour::DkShadow3D, QPalette::Active, QPalette::Shadow},
    PaletteSource{SystemColour::Light3D, QPalette::Active, QPalette::Midlight},
    PaletteSource{SystemColour::InfoText, QPalette::Active, QPalette::ToolTipText},
    PaletteSource{SystemColour::InfoBk, QPalette::Active, QPalette::ToolTipBase},
    PaletteSource{SystemColour::HotLight, QPalette::Active, QPalette::Link},
    PaletteSource{SystemColour::MenuHighlight, QPalette::Active, QPalette::Highlight},
    PaletteSource{SystemColour::MenuBar, QPalette::Active, QPalette::Window},
};

}  // namespace

rotateimage::SystemColours desktopSystemColours(const QPalette& palette) {
  rotateimage::SystemColours colours;
  for (const PaletteSource& source : kPaletteSources) {
    const QColor c = palette.color(source.group, source.role);
    colours.setColour(source.index, static_cast<rotateimage::TColor>(c.red() | c.green() << 8 | c.blue() << 16));
  }
  return colours;
}

}  // namespace rotateimage::qt
