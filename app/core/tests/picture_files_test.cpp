// PNG file images read back by libpng: the same pixels, palette and resolution as the
// bitmap, whatever its depth, width and resolution, and one encoder makes the same file
// as a fresh one whatever it made before.
#include "lorrin/picture_files.h"

#include "test_support/readers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace lorrin {
namespace {

// PNG's colour types.
constexpr int kPalette = 3;
constexpr int kRgb = 2;

struct PictureRow {
    int width;
    int height;
    int bitsPerPixel;
    int paletteSize;  // the indexed depths: entries kept of the bitmap's palette
    int dpi;
    int bitDepth;  // what the file holds
    int colourType;
};

// clang-format off
constexpr PictureRow kPictures[] = {
    /* 0 */ {135, 79, 4, 16, kScreenDpi, 4, kPalette},  // a barcode picture
    {1, 1, 4, 16, kScreenDpi, 4, kPalette},
    {3, 5, 4, 16, 300, 4, kPalette},       // a half byte at each row's end
    {37, 37, 4, 2, 600, 4, kPalette},      // a short palette
    {64, 3, 8, 256, 1, 8, kPalette},
    /* 5 */ {33, 4, 8, 16, kMaxDpi, 4, kPalette},  // 8 bits packed into 4
    {5, 7, 24, 0, 72, 8, kRgb},
    {700, 300, 4, 16, kScreenDpi, 4, kPalette},  // more than one deflate block
    {20, 6, 4, 4, 600, 4, kPalette},              // row 3's resolution, another palette
};
// clang-format on

// Every value the depth holds, in bands of equal rows (as bars are) between rows of their
// own, runs and noise; the palette is a ramp of entries that differ in every channel.
platform::Bitmap patterned(const PictureRow& row) {
    platform::Bitmap bitmap(row.width, row.height, row.bitsPerPixel);
    if (row.bitsPerPixel != 24) {
        std::vector<platform::Rgb> palette;
        for (int i = 0; i < row.paletteSize; ++i)
            palette.push_back({static_cast<std::uint8_t>(i * 7 + 1),
                               static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i * 3)});
        bitmap.setPalette(palette);
    }
    std::uint32_t seed = 12345;
    for (int y = 0; y < row.height; ++y)
        for (int x = 0; x < row.width; ++x) {
            if (y % 4 >= 2) {  // rows 2 and 3 of every four repeat row 1
                bitmap.setPixel(x, y, bitmap.pixel(x, y - 1));
                continue;
            }
            seed = seed * 1103515245u + 12345u;
            const std::uint32_t value = seed >> 8;
            // A picture has long stretches of one value: runs as well as noise.
            const bool run = (x / 8 + y / 4) % 3 == 0;
            bitmap.setPixel(x, y,
                            row.bitsPerPixel == 24
                                ? (run ? 0x123456u : value & 0xFFFFFFu)
                                : (run ? 0u : value % static_cast<std::uint32_t>(row.paletteSize)));
        }
    return bitmap;
}

TEST(PngImage, ReadsBackAsTheBitmapWithItsPaletteAndResolution) {
    for (std::size_t i = 0; i < std::size(kPictures); ++i) {
        const PictureRow& row = kPictures[i];
        const platform::Bitmap bitmap = patterned(row);
        const std::vector<std::uint8_t> image = pngImage(bitmap, row.dpi);
        const auto file = test_support::readPngFile(image);
        ASSERT_TRUE(file) << "row " << i;
        EXPECT_EQ(file->width, row.width) << "row " << i;
        EXPECT_EQ(file->height, row.height) << "row " << i;
        EXPECT_EQ(file->bitDepth, row.bitDepth) << "row " << i;
        EXPECT_EQ(file->colourType, row.colourType) << "row " << i;
        const auto perMetre = static_cast<std::uint32_t>(pixelsPerMetre(row.dpi));
        EXPECT_EQ(file->pixelsPerMetre, (std::array<std::uint32_t, 2>{perMetre, perMetre}))
            << "row " << i;
        ASSERT_EQ(file->palette.size(), bitmap.palette().size()) << "row " << i;
        for (std::size_t k = 0; k < file->palette.size(); ++k) {
            const platform::Rgb& c = bitmap.palette()[k];
            EXPECT_EQ(file->palette[k], (std::array<std::uint8_t, 3>{c.red, c.green, c.blue}))
                << "row " << i << " entry " << k;
        }
        int mismatches = 0;
        for (int y = 0; y < row.height; ++y)
            for (int x = 0; x < row.width; ++x) {
                // A DIB's 24-bit pixel reads 0x00RRGGBB, as the file's sample does.
                mismatches += file->at(x, y) != bitmap.pixel(x, y);
            }
        EXPECT_EQ(mismatches, 0) << "row " << i;
    }
}

TEST(PngEncoder, MakesWhatAFreshEncoderMakesWhateverCameBefore) {
    // Large to small and back, depths, palettes and resolutions changing alone and together:
    // nothing of an earlier picture may reach a later one.
    PngEncoder encoder;
    std::vector<std::uint8_t> image;
    for (const std::size_t i : {7u, 1u, 0u, 6u, 4u, 2u, 7u, 5u, 3u, 8u}) {
        const platform::Bitmap bitmap = patterned(kPictures[i]);
        ASSERT_TRUE(encoder.encode(bitmap, kPictures[i].dpi, image)) << "row " << i;
        EXPECT_EQ(image, pngImage(bitmap, kPictures[i].dpi)) << "row " << i;
    }
}

}  // namespace
}  // namespace lorrin
