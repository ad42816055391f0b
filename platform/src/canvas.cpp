#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace platform {

std::uint32_t Canvas::pixelValue(Color color) const {
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    if (bitmap_.bitsPerPixel() == 24)
        return static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
    const auto& palette = bitmap_.palette();
    // The colours a picture is drawn in are in its palette: found at once, where the
    // nearest colour takes a sum for every entry (a symbol's every run of modules asks).
    const Rgb wanted{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                     static_cast<std::uint8_t>(blue)};
    for (std::size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == wanted) return static_cast<std::uint32_t>(i);
    std::uint32_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].red - red;
        const int dg = palette[i].green - green;
        const int db = palette[i].blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint32_t>(i);
        }
    }
    return best;
}

void Canvas::lineTo(int x, int y) {
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    moveTo(x, y);
    const std::uint32_t value = pixelValue(pen.color);
    const std::int64_t size = std::max(pen.width, 1);
    const std::int64_t offset = (size - 1) / 2;
    // The pen's square at a point; the fill clips it to the picture.
    const auto dab = [&](std::int64_t cx, std::int64_t cy) {
        const auto clampToInt = [](std::int64_t v) {
            return static_cast<int>(
                std::clamp<std::int64_t>(v, -1, std::numeric_limits<int>::max()));
        };
        fill({clampToInt(cx - offset), clampToInt(cy - offset), clampToInt(cx - offset + size),
              clampToInt(cy - offset + size)},
             value);
    };
    // Points farther out than the pen reaches never touch the picture.
    const std::int64_t loX = -size, hiX = bitmap_.width() + size;
    const std::int64_t loY = -size, hiY = bitmap_.height() + size;
    if ((x0 < loX && x < loX) || (x0 > hiX && x > hiX) || (y0 < loY && y < loY) ||
        (y0 > hiY && y > hiY))
        return;
    if (x0 == x || y0 == y) {
        // Straight lines walk only their visible stretch.
        const bool vertical = x0 == x;
        const std::int64_t from = vertical ? y0 : x0;
        const std::int64_t to = vertical ? y : x;
        const std::int64_t step = from < to ? 1 : -1;
        const std::int64_t lo = vertical ? loY : loX;
        const std::int64_t hi = vertical ? hiY : hiX;
        for (std::int64_t t = std::clamp(from, lo - 1, hi + 1); t != to; t += step) {
            if (t < lo - 1 || t > hi + 1) break;
            vertical ? dab(x0, t) : dab(t, y0);
        }
        return;
    }
    // Bresenham over 64-bit deltas: no coordinate pair can overflow.
    std::int64_t cx = x0;
    std::int64_t cy = y0;
    const std::int64_t dx = std::llabs(x - cx);
    const std::int64_t dy = -std::llabs(y - cy);
    const int sx = cx < x ? 1 : -1;
    const int sy = cy < y ? 1 : -1;
    std::int64_t err = dx + dy;
    while (cx != x || cy != y) {
        if (cx >= loX && cy >= loY && cx <= hiX && cy <= hiY) dab(cx, cy);
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
}

void Canvas::fillRect(const Rect& rect) { fill(rect, pixelValue(brush.color)); }

void Canvas::fill(const Rect& rect, std::uint32_t value) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, bitmap_.width());
    const int bottom = std::min(rect.bottom, bitmap_.height());
    if (left >= right) return;
    for (int y = top; y < bottom; ++y) {
        if (bitmap_.bitsPerPixel() == 4) {
            // Whole bytes at once between the edge pixels (the left pixel of a byte is its
            // high nibble): fills are most of a picture's pixels.
            const auto row = bitmap_.row(y);
            const auto nibble = static_cast<std::uint8_t>(value & 0x0F);
            int x = left;
            if (x % 2 != 0) {
                auto& byte = row[static_cast<std::size_t>(x / 2)];
                byte = static_cast<std::uint8_t>((byte & 0xF0) | nibble);
                ++x;
            }
            const int pairsEnd = x + (right - x) / 2 * 2;
            std::fill(row.begin() + x / 2, row.begin() + pairsEnd / 2,
                      static_cast<std::uint8_t>(nibble << 4 | nibble));
            if (pairsEnd < right) {
                auto& byte = row[static_cast<std::size_t>(pairsEnd / 2)];
                byte = static_cast<std::uint8_t>((byte & 0x0F) | nibble << 4);
            }
        } else if (bitmap_.bitsPerPixel() == 8) {
            const auto row = bitmap_.row(y);
            std::fill(row.begin() + left, row.begin() + right, static_cast<std::uint8_t>(value));
        } else {
            for (int x = left; x < right; ++x) bitmap_.setPixel(x, y, value);
        }
    }
}

std::int64_t Canvas::textWidth(std::string_view text) {
    RasterFont* face = rasterFont();
    return face == nullptr ? 0 : face->textWidth(text);
}

int Canvas::textHeight(std::string_view) {
    RasterFont* face = rasterFont();
    return face == nullptr ? 0 : face->height();
}

void Canvas::textOut(int x, int y, std::string_view text) {
    RasterFont* face = rasterFont();
    if (face == nullptr) return;
    const std::int64_t width = face->textWidth(text);
    const auto clampToInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    fillRect(
        {x, y, clampToInt(x + width), clampToInt(static_cast<std::int64_t>(y) + face->height())});
    const std::uint32_t ink = pixelValue(font.color);
    const auto nibble = static_cast<std::uint8_t>(ink & 0x0F);
    if (bitmap_.empty()) return;
    std::uint8_t* const pixels = bitmap_.row(0).data();
    face->render(text, [&](std::int64_t gx, int gy, int length) {
        // Clipped here, where no int can overflow.
        const int left = static_cast<int>(std::max<std::int64_t>(x + gx, 0));
        const int right =
            static_cast<int>(std::min<std::int64_t>(x + gx + length, bitmap_.width()));
        const std::int64_t row = std::int64_t{y} + gy;
        if (left >= right || row < 0 || row >= bitmap_.height()) return;
        if (bitmap_.bitsPerPixel() != 4) {
            fill({left, static_cast<int>(row), right, static_cast<int>(row) + 1}, ink);
            return;
        }
        // A run is a few pixels: set nibble by nibble (the left pixel of a byte is its high
        // nibble), without the fill's set-up for long stretches.
        std::uint8_t* const line = pixels + static_cast<std::size_t>(row) * bitmap_.stride();
        for (int px = left; px < right; ++px) {
            std::uint8_t& byte = line[px / 2];
            byte = px % 2 == 0 ? static_cast<std::uint8_t>((byte & 0x0F) | nibble << 4)
                               : static_cast<std::uint8_t>((byte & 0xF0) | nibble);
        }
    });
}

}  // namespace platform
