// System colours: a TColor with the top bit set names one of the platform's standard
// system colour indices (button face, window text, ...) rather than a colour.  Each
// control owns the colours those indices stand for; they start as the classic standard
// scheme, and a toolkit face installs the desktop's own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "rotateimage/canvas.h"

namespace rotateimage {

// The standard system colour indices; 25 has no name of its own.
enum class SystemColour : std::uint8_t {
  ScrollBar,
  Background,
  ActiveCaption,
  InactiveCaption,
  Menu,
  Window,
  WindowFrame,
  MenuText,
  WindowText,
  CaptionText,
  ActiveBorder,
  InactiveBorder,
  AppWorkSpace,
  Highlight,
  HighlightText,
  BtnFace,
  BtnShadow,
  GrayText,
  BtnText,
  InactiveCaptionText,
  BtnHighlight,
  DkShadow3D,
  Light3D,
  InfoText,
  InfoBk,
  HotLight = 26,
  GradientActiveCaption,
  GradientInactiveCaption,
  MenuHighlight,
  MenuBar,
};
inline constexpr std::size_t kSystemColourCount = 31;

inline constexpr TColor kSystemColourFlag = 0x80000000;
constexpr bool isSystemColor(TColor colour) { return (colour & kSystemColourFlag) != 0; }
// The TColor that names a system colour.
constexpr TColor systemColor(SystemColour which) { return kSystemColourFlag | static_cast<TColor>(which); }

class SystemColours {
 public:
  SystemColours();  // the classic standard scheme
  // The colour (0x00BBGGRR) of an index; black for one the platform does not know.
  TColor colour(std::size_t index) const;
  void setColour(SystemColour which, TColor rgb);
  friend bool operator==(const SystemColours&, const SystemColours&) = default;

 private:
  std::array<TColor, kSystemColourCount> colours_;
};

// The toolkit's conversion to a plain colour: a system colour becomes the colour its
// index stands for, any other keeps its red, green and blue and drops the flag byte.
std::uint32_t ColorToRGB(TColor colour, const SystemColours& system);

}  // namespace rotateimage
