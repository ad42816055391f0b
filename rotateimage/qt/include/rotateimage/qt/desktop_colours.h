// The desktop's colours for the component's system colour indices, read from a Qt palette.
#pragma once

#include "rotateimage/system_colours.h"

class QPalette;

namespace rotateimage::qt {

// The standard scheme, with every index that has a counterpart among the palette's roles
// replaced by the palette's colour.
rotateimage::SystemColours desktopSystemColours(const QPalette& palette);

}  // namespace rotateimage::qt
