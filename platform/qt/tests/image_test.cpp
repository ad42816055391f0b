#include "platform/qt/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform::qt {
namespace {

// Pixel values that differ from their neighbours, within the depth's range; 8-bit pictures
// also use indices past a short palette.
Bitmap patterned(int bits, std::vector<Rgb> palette = {}) {
    Bitmap picture(5, 3, bits);
    if (!palette.empty()) picture.setPalette(palette);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const auto v = static_cast<std::uint32_t>(x * 3 + y * 5);
            picture.setPixel(x, y, bits == 24 ? v * 0x0A0B0Cu : v % (bits == 4 ? 16 : 8));
        }
    return picture;
}

// The colour Qt should show for pixel (x, y): the palette entry (black past its end) or
// the pixel's own colour.
QRgb expected(const Bitmap& picture, int x, int y) {
    const std::uint32_t v = picture.pixel(x, y);
    if (picture.bitsPerPixel() == 24) return 0xFF000000 | v;
    if (v >= picture.palette().size()) return qRgb(0, 0, 0);
    const Rgb& c = picture.palette()[v];
    return qRgb(c.red, c.green, c.blue);
}

TEST(ToQImage, IndicesWithThePaletteUpToEightBitsColoursBeyond) {
    struct Row {
        Bitmap picture;
        QImage::Format format;
    };
    const Row kRows[] = {
        {patterned(4), QImage::Format_Indexed8},  // 0
        {patterned(8, {{1, 2, 3}, {200, 0, 0}, {0, 200, 0}}),
         QImage::Format_Indexed8},              // 1: short palette
        {patterned(24), QImage::Format_RGB32},  // 2
    };
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Bitmap& picture = kRows[i].picture;
        const QImage image = toQImage(picture);
        ASSERT_EQ(image.format(), kRows[i].format) << "row " << i;
        ASSERT_EQ(image.size(), QSize(picture.width(), picture.height())) << "row " << i;
        const bool indexed = picture.bitsPerPixel() != 24;
        if (indexed) {
            QList<QRgb> colours;
            for (const Rgb& c : picture.palette()) colours.push_back(qRgb(c.red, c.green, c.blue));
            EXPECT_EQ(image.colorTable(), colours) << "row " << i;
        }
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                if (indexed) {
                    EXPECT_EQ(image.pixelIndex(x, y), static_cast<int>(picture.pixel(x, y)))
                        << "row " << i << " at " << x << "," << y;
                } else {
                    EXPECT_EQ(image.pixel(x, y), expected(picture, x, y))
                        << "row " << i << " at " << x << "," << y;
                }
            }
    }
    EXPECT_TRUE(toQImage(Bitmap()).isNull());
}

TEST(DibToImage, ColoursAndTheMask) {
    Bitmap mask(5, 3, 8);
    mask.setPalette({{0, 0, 0}, {255, 255, 255}});
    for (int x = 0; x < 5; ++x) mask.setPixel(x, 1, x % 2);
    const auto maskDib = mask.saveToDib();
    for (const Bitmap& picture :
         {patterned(8, {{1, 2, 3}, {200, 0, 0}, {0, 200, 0}}), patterned(24)}) {
        const auto dib = picture.saveToDib();
        const QImage plain = dibToImage(dib);
        const QImage masked = dibToImage(dib, maskDib);
        ASSERT_EQ(plain.format(), QImage::Format_RGB32) << picture.bitsPerPixel();
        ASSERT_EQ(masked.format(), QImage::Format_ARGB32_Premultiplied) << picture.bitsPerPixel();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb colour = expected(picture, x, y);
                EXPECT_EQ(plain.pixel(x, y), colour)
                    << picture.bitsPerPixel() << " bits at " << x << "," << y;
                EXPECT_EQ(masked.pixel(x, y), mask.pixel(x, y) != 0 ? 0u : colour)
                    << picture.bitsPerPixel() << " bits at " << x << "," << y;
            }
    }
}

TEST(DibToImage, NullForAnythingElse) {
    const auto good = patterned(24).saveToDib();
    auto topDown = good;
    topDown[25] = 0xFF;  // the height's top byte: a negative height
    auto truncated = good;
    truncated.pop_back();
    struct Row {
        const char* what;
        std::vector<std::uint8_t> image;
        std::vector<std::uint8_t> mask;
    };
    const Row kRows[] = {
        {"4 bits", patterned(4).saveToDib(), {}},                     // 0
        {"top-down rows", topDown, {}},                               // 1
        {"one byte short", truncated, {}},                            // 2
        {"mask of another size", good, Bitmap(4, 3, 8).saveToDib()},  // 3
        {"24-bit mask", good, Bitmap(5, 3, 24).saveToDib()},          // 4
    };
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        EXPECT_TRUE(dibToImage(kRows[i].image, kRows[i].mask).isNull())
            << "row " << i << ": " << kRows[i].what;
}

}  // namespace
}  // namespace platform::qt
