// The draw: the main window's code becomes a barcode picture on the clipboard.
//
// Sizes are pixels; one module (the library's unit) is `narrowWidth` pixels.  Rows 0-4
// stay white, every bar starts at row 5, a quiet zone of 20 modules lies on each side,
// guard bars reach `guardExtra` rows lower than the others, and the readable line sits
// under the guard bars (JAN/UPC) or directly under the bars (the other symbologies).
// A two-dimensional symbol has its standard's quiet zone on every side, and the readable
// line, when its setting asks for one, under the quiet zone.
#pragma once

#include "kelda.hpp"
#include "lorrin/main_view.h"
#include "lorrin/settings.h"
#include "matrix/matrix.h"
#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/services.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rotateimage {
class TRotateImage;
}

namespace lorrin {

// Every bar starts at this row.
inline constexpr int kTopMargin = 5;
// Quiet zone on each side, in modules.
inline constexpr int kQuietModules = 20;
// Largest picture side and pixel count a draw makes.
inline constexpr std::int64_t kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

// A dark rectangle: a bar, or a run of dark modules of a two-dimensional symbol.
struct Bar {
    std::int64_t x = 0;      // first column
    std::int64_t width = 0;  // columns
    int bottom = 0;          // first row below the bar
    int top = kTopMargin;    // first row
};

// The picture at angle 0, before any pixel is set.
struct BarcodeLayout {
    int width = 0;
    int height = 0;
    std::vector<Bar> bars;
    bool showText = false;
    std::string text;  // the readable line
    int textX = 0;
    int textY = 0;
    int textWidth = 0;
    int textHeight = 0;
    int textAscent = 0;  // the line's baseline below its box's top
};

// A code checked, encoded and laid out, with nothing shown yet.
struct Composition {
    int result = 0;  // the resolved code, or a negative result
    // With kUnusableSettings, the setting that kept the composition from making a picture:
    // a size below one pixel, a font that cannot be opened, or the setting behind the
    // largest part of a side that is too long (or of the longer side, when the sides fit
    // but the pixels do not).  None when the bars are too wide at one pixel a module: the
    // code is too long for a picture.
    std::optional<SettingsField> unusable;
    std::string readableText;   // ReadableText
    std::string refusalText;    // a refused two-dimensional text: its status text
    bool rewritesCode = false;  // the edit box takes ReadableText
    BarcodeLayout layout;

    bool ok() const { return result > 0; }
};

// CheckBarcode and BarEncode of `code` as entry `typeIndex` of the symbology list, with
// the settings' check character, wide element and gap.
kelda::Encoded encodeBarcode(const Settings& settings, int typeIndex, std::string_view code);

// The two-dimensional code of an entry of the symbology list (isMatrix).
matrix::Symbology matrixSymbology(int typeIndex);
// The settings' options of the two-dimensional codes.
matrix::Options matrixOptions(const Settings& settings);

// Checks and encodes `code` as entry `typeIndex` of the symbology list and lays the
// picture out; a two-dimensional code through `encoder`.  Settings that cannot make a
// picture give kUnusableSettings and name the setting in `unusable`.
Composition composeBarcode(const Settings& settings, int typeIndex, std::string_view code,
                           platform::FontEngine& fonts, matrix::Encoder& encoder);
// The same with an encoder of its own.
Composition composeBarcode(const Settings& settings, int typeIndex, std::string_view code,
                           platform::FontEngine& fonts);

// The 4-bit picture of a layout: white, black bars, the readable line in the settings'
// font on its white box.
platform::Bitmap paintBarcode(const BarcodeLayout& layout, const Settings& settings,
                              platform::FontEngine& fonts);

// Turns the picture by angleIndex x 90 degrees clockwise through the rotation
// component (-1 turns it by -90, that is 270).  Angle index 0 leaves it alone.
void rotatePicture(platform::Bitmap& picture, int angleIndex, rotateimage::TRotateImage& rImage);

// The layout as an SVG document of the painted picture: bars as rectangles, the readable
// line as text in the settings' font on its white box, turned by angleIndex x 90 degrees
// clockwise as rotatePicture turns the bitmap.  Its size is given in points at `dpi`, so
// that it prints as large as the PNG or BMP file of that resolution (at 96, a point is
// three quarters of a pixel), and its user units are CSS pixels (96 an inch) spanning the
// same size, the drawing scaled into them: programs that ignore the size in points and
// take user units for pixels at 96 dpi place it at its size too.
std::string svgImage(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                     int dpi);

// The layout painted and turned, with its SVG turned the same, both for `dpi`: the picture
// the clipboard takes.
platform::Picture drawPicture(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                              int dpi, platform::FontEngine& fonts,
                              rotateimage::TRotateImage& rImage);

// What a draw uses beyond the settings and the window.
struct DrawServices {
    platform::Clipboard& clipboard;
    platform::Sound& sound;
    platform::FontEngine& fonts;
    rotateimage::TRotateImage& rImage;  // the hidden rotation component
    matrix::Encoder& matrixEncoder;
};

// Sets `labStatus` to the composition's status text.
void ShowStatus(MainView& view, const Composition& composition);

// The draw of the main window's type, code and angle.  A refusal shows its status text
// and plays the failure sound; nothing else changes.  A picture shows the variant's
// status, rewrites the edit box with ReadableText for JAN/UPC, Code128 and Code93,
// replaces the clipboard's contents, plays the success sound and selects the edit box's
// text.  A clipboard that does not take the picture gives kClipboardRefused, its status
// text and the failure sound.  Returns the result.
int DrawBarcode(const Settings& settings, MainView& view, DrawServices& services);

}  // namespace lorrin
