#include "rotateimage/system_colours.h"

namespace rotateimage {
namespace {

constexpr TColor rgb(unsigned red, unsigned green, unsigned blue) { return red | green << 8 | blue << 16; }

// The classic Windows standard scheme (Windows 2000, "Windows Standard"), by index.
constexpr std::array<TColor, kSystemColourCount> kStandardScheme = {
    rgb(212, 208, 200),  // 0: scroll bar
    rgb(58, 110, 165),   // desktop
    rgb(10, 36, 106),    // active caption
    rgb(128, 128, 128),  // inactive caption
    rgb(212, 208, 200),  // menu
    rgb(255, 255, 255),  // 5: window
    rgb(0, 0, 0),        // window frame
    rgb(0, 0, 0),        // menu text
    rgb(0, 0, 0),        // window text
    rgb(255, 255, 255),  // caption text
    rgb(212, 208, 200),  // 10: active border
    rgb(212, 208, 200),  // inactive border
    rgb(128, 128, 128),  // application workspace
    rgb(10, 36, 106),    // highlight
    rgb(255, 255, 255),  // highlight text
    rgb(212, 208, 200),  // 15: button face
    rgb(128, 128, 128),  // button shadow
    rgb(128, 128, 128),  // grey text
    rgb(0, 0, 0),        // button text
    rgb(212, 208, 200),  // inactive caption text
    rgb(255, 255, 255),  // 20: button highlight
    rgb(64, 64, 64),     // 3-D dark shadow
    rgb(212, 208, 200),  // 3-D light
    rgb(0, 0, 0),        // tool tip text
    rgb(255, 255, 225),  // tool tip background
    rgb(181, 181, 181),  // 25: (alternate button face)
    rgb(0, 0, 128),      // hot-tracked item
    rgb(166, 202, 240),  // active caption gradient
    rgb(192, 192, 192),  // inactive caption gradient
    rgb(10, 36, 106),    // menu highlight
    rgb(212, 208, 200),  // 30: menu bar
};
static_assert(kStandardScheme.size() == static_cast<std::size_t>(SystemColour::MenuBar) + 1);

}  // namespace

SystemColours::SystemColours() : colours_(kStandardScheme) {}

TColor SystemColours::colour(std::size_t index) const { return index < colours_.size() ? colours_[index] : clBlack; }

void SystemColours::setColour(SystemColour which, TColor rgb) {
  colours_[static_cast<std::size_t>(which)] = rgb & 0xFFFFFF;
}

std::uint32_t ColorToRGB(TColor colour, const SystemColours& system) {
  if (isSystemColor(colour)) return system.colour(colour & 0xFF);
  return colour & 0xFFFFFF;
}

}  // namespace rotateimage
