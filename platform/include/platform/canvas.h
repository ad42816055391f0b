// The drawing surface of a Bitmap, with the toolkit canvas's tools and defaults: a
// black pen one pixel wide, a white solid brush, a black font.  Colours are given as
// the toolkit gives them (0x00BBGGRR) and land on the nearest palette entry of an
// indexed picture.  Everything outside the picture is clipped.
#pragma once

#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/graphics.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct Pen {
    Color color = kBlack;
    int width = 1;
};

struct Brush {
    Color color = kWhite;
};

struct CanvasFont {
    std::string name;  // empty: the desktop's default face
    int size = 8;      // points at 96 dpi
    Color color = kBlack;
};

class Canvas {
public:
    Canvas(Bitmap& bitmap, FontEngine& fonts) : bitmap_(bitmap), fonts_(fonts) {}

    Pen pen;
    Brush brush;
    CanvasFont font;

    void moveTo(int x, int y) {
        penX_ = x;
        penY_ = y;
    }
    // A line from the pen position up to, not including, (x, y); the pen moves there.
    void lineTo(int x, int y);
    void fillRect(const Rect& rect);

    // The face the font settings resolve to, or nullptr when none can be used (a size
    // below one pixel, or no font installed).
    RasterFont* rasterFont() { return fonts_.font(font.name, font.size); }
    // Width and height of one line of text in the current font; 0 without a usable font.
    std::int64_t textWidth(std::string_view text);
    int textHeight(std::string_view text);
    // The text with its cell's top-left corner at (x, y), on a box filled with the
    // brush colour (opaque output).
    void textOut(int x, int y, std::string_view text);

private:
    // The pixel value that shows `color` best in this bitmap.
    std::uint32_t pixelValue(Color color) const;
    void fill(const Rect& rect, std::uint32_t value);

    Bitmap& bitmap_;
    FontEngine& fonts_;
    int penX_ = 0;
    int penY_ = 0;
};

}  // namespace platform
