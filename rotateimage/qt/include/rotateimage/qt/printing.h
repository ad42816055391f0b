// Printing the rotation component through QPrinter.
#pragma once

class QPrinter;

namespace rotateimage {
class TCustomRotateImage;
}

namespace rotateimage::qt {

// Screen pixels per inch: a control prints at the size it has on a 96 dpi screen.
inline constexpr double kScreenDpi = 96.0;

// Paints the control onto the printer's current page, its client area's top-left at the
// printable area's top-left, one screen pixel to 1/96 inch.  The control renders finer
// for the printer (PrintQuality) and returns to its screen rendering afterwards.  False
// when the printer cannot be opened or finished.
bool printRotateImage(rotateimage::TCustomRotateImage& control, QPrinter& printer);

}  // namespace rotateimage::qt
