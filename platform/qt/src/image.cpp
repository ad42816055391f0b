#include "platform/qt/image.h"

#include <array>
#include <cstddef>

#include "platform/dib.h"

namespace platform::qt {
namespace {

namespace dib = platform::dib;

// The DIBs that convert, and the masks that go with them: normalised, 8 or 24 bits.
constexpr dib::Rules kPictureRules = [] {
    dib::Rules rules = dib::kNormalised;
    rules.depths = dib::depths({8, 24});
    return rules;
}();
constexpr dib::Rules kMaskRules = [] {
    dib::Rules rules = dib::kNormalised;
    rules.depths = dib::depths({8});
    return rules;
}();

// Rows of pixels packed as a DIB packs them, reached from the top row down.
struct Rows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t step = 0;  // from one row to the one below it
    const std::uint8_t* operator[](int y) const { return top + y * step; }
};

Rows rowsOf(std::span<const std::uint8_t> bytes, const dib::Layout& layout) {
    const auto stride = static_cast<std::ptrdiff_t>(layout.stride);
    const std::uint8_t* first = bytes.data() + layout.pixelOffset;
    if (layout.topDown) return {first, stride};
    return {first + (layout.height - 1) * stride, -stride};
}

Rows rowsOf(const Bitmap& picture) {
    return {picture.row(0).data(), static_cast<std::ptrdiff_t>(picture.stride())};
}

QRgb blueGreenRed(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
    return qRgb(p[2], p[1], p[0]);
}

// Every pixel as the colour `colourOf(row, x)` gives; with mask rows, a pixel whose mask
// byte is not 0 comes out fully transparent.  One loop per kind of pixel and per masking,
// so that a picture converts quickly after each render.
template <class ColourOf>
QImage colourImage(int width, int height, Rows rows, const Rows* mask, ColourOf colourOf) {
    // Alpha is all or nothing and a cleared pixel is 0: the same bytes premultiplied.
    QImage out(width, height, mask ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (out.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rows[y];
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (mask) {
            const std::uint8_t* m = (*mask)[y];
            // The colour taken whatever the mask says, then kept or cleared: no branch per pixel.
            for (int x = 0; x < width; ++x) line[x] = colourOf(row, x) & (m[x] != 0 ? 0u : ~0u);
        } else {
            for (int x = 0; x < width; ++x) line[x] = colourOf(row, x);
        }
    }
    return out;
}

}  // namespace

QImage dibToImage(std::span<const std::uint8_t> image, std::span<const std::uint8_t> mask) {
    const dib::Judgement picture = dib::judge(image, kPictureRules);
    if (picture.verdict != dib::Verdict::Readable) return {};
    const dib::Layout& layout = picture.layout;
    Rows maskRows;
    if (!mask.empty()) {
        const dib::Judgement judged = dib::judge(mask, kMaskRules);
        if (judged.verdict != dib::Verdict::Readable || judged.layout.width != layout.width ||
            judged.layout.height != layout.height)
            return {};
        maskRows = rowsOf(mask, judged.layout);
    }
    const Rows* masked = mask.empty() ? nullptr : &maskRows;
    const Rows rows = rowsOf(image, layout);
    if (layout.bitCount == 24)
        return colourImage(layout.width, layout.height, rows, masked, blueGreenRed);
    std::array<QRgb, 256> palette;
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = 0xFF000000 | dib::paletteColour(image, layout, i);
    return colourImage(layout.width, layout.height, rows, masked,
                       [&palette](const std::uint8_t* row, int x) { return palette[row[x]]; });
}

QImage toQImage(const Bitmap& picture) {
    if (picture.empty()) return {};
    const Rows rows = rowsOf(picture);
    if (picture.bitsPerPixel() == 24)
        return colourImage(picture.width(), picture.height(), rows, nullptr, blueGreenRed);
    QImage image(picture.width(), picture.height(), QImage::Format_Indexed8);
    if (image.isNull()) return {};
    QList<QRgb> colours;
    for (const Rgb& c : picture.palette()) colours.push_back(qRgb(c.red, c.green, c.blue));
    image.setColorTable(colours);
    const bool nibbles = picture.bitsPerPixel() == 4;
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* row = rows[y];
        uchar* line = image.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            line[x] = static_cast<uchar>(
                nibbles ? (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F) : row[x]);
    }
    return image;
}

}  // namespace platform::qt
