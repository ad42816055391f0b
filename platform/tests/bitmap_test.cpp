#include "platform/bitmap.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/dib.h"
#include "platform/little_endian.h"

namespace platform {
namespace {

// A picture whose pixels all differ, within the depth's value range.
Bitmap patterned(int width, int height, int bits) {
    Bitmap bitmap(width, height, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint32_t>(x * 7 + y * 13 + 1);
            bitmap.setPixel(x, y,
                            bits == 4   ? v % 16
                            : bits == 8 ? v % 256
                                        : v * 0x010203u & 0xFFFFFFu);
        }
    return bitmap;
}

TEST(Bitmap, FourBitPixelsPackHighNibbleFirst) {
    Bitmap bitmap(3, 1, 4);
    bitmap.setPixel(0, 0, 0xA);
    bitmap.setPixel(1, 0, 0x5);
    bitmap.setPixel(2, 0, 0xF);
    EXPECT_EQ(bitmap.row(0)[0], 0xA5);
    EXPECT_EQ(bitmap.row(0)[1], 0xF0);
    EXPECT_EQ(bitmap.stride(), 4u);
    EXPECT_EQ(bitmap.palette(), standardPalette16());
}

TEST(Bitmap, ResizeKeepsTheOverlap) {
    Bitmap bitmap = patterned(5, 4, 4);
    const Bitmap before = bitmap;
    bitmap.resize(3, 6);
    ASSERT_EQ(bitmap.width(), 3);
    ASSERT_EQ(bitmap.height(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bitmap.pixel(x, y), y < 4 ? before.pixel(x, y) : 0u) << x << "," << y;
}

struct DepthRow {
    int width, height, bits;
};

TEST(Bitmap, DibRoundTripKeepsEveryPixelAndThePalette) {
    constexpr DepthRow kRows[] = {
        {1, 1, 4},   // 0
        {7, 3, 4},   // 1: odd width, padded rows
        {5, 2, 8},   // 2
        {9, 4, 24},  // 3
        {1, 1, 24},  // 4
    };
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const auto& r = kRows[i];
        const Bitmap original = patterned(r.width, r.height, r.bits);
        Bitmap loaded;
        ASSERT_TRUE(loaded.loadFromDib(original.saveToDib())) << "row " << i;
        EXPECT_EQ(loaded, original) << "row " << i;
    }
}

TEST(Bitmap, TopDownDibIsTurnedOver) {
    Bitmap original = patterned(3, 4, 8);
    auto bytes = original.saveToDib();
    // Rewrite the file top-down: negative height and the rows in reverse order.
    const std::size_t off = *readU32(bytes, dib::kOffBits);
    const std::size_t stride = original.stride();
    for (int y = 0; y < 4; ++y)
        std::copy(original.row(y).begin(), original.row(y).end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(off + y * stride));
    writeI32(bytes, dib::kHeight, -4);
    Bitmap loaded;
    ASSERT_TRUE(loaded.loadFromDib(bytes));
    EXPECT_EQ(loaded, original);
}

TEST(Bitmap, RefusesDamagedDibsAndStaysUnchanged) {
    const auto good = patterned(4, 4, 8).saveToDib();
    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        bool isShort;
    };
    const Damage kRows[] = {
        {"signature", dib::kType, 0x4D41, false},                      // 0
        {"compression", dib::kCompression, 1, false},                  // 1
        {"planes", dib::kPlanes, 2, false},                            // 2
        {"1 bit", dib::kBitCount, 1, false},                           // 3
        {"huge width", dib::kWidth, 0x7FFFFFFF, false},                // 4
        {"zero height", dib::kHeight, 0, false},                       // 5
        {"offset past end", dib::kOffBits, 0xFFFFFFF0, false},         // 6
        {"palette > 256", dib::kClrUsed, 257, false},                  // 7
        {"one byte short", 0, 0, true},                                // 8
        {"offset into the palette", dib::kOffBits, 54 + 1020, false},  // 9
        {"16 bits", dib::kBitCount, 16, false},                        // 10
        {"32 bits", dib::kBitCount, 32, false},                        // 11
        {"bitfields", dib::kCompression, 3, false},                    // 12
        {"short info header", dib::kInfoSize, 39, false},              // 13
        {"negative width", dib::kWidth, 0xFFFFFFFC, false},            // 14
        {"most negative height", dib::kHeight, 0x80000000, false},     // 15
    };
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        auto bytes = good;
        if (kRows[i].isShort) {
            bytes.pop_back();
        } else if (kRows[i].offset == dib::kType || kRows[i].offset == dib::kPlanes ||
                   kRows[i].offset == dib::kBitCount) {
            writeU16(bytes, kRows[i].offset, static_cast<std::uint16_t>(kRows[i].value));
        } else {
            writeU32(bytes, kRows[i].offset, kRows[i].value);
        }
        Bitmap bitmap(2, 2, 24);
        const Bitmap before = bitmap;
        EXPECT_FALSE(bitmap.loadFromDib(bytes)) << "row " << i << ": " << kRows[i].what;
        EXPECT_EQ(bitmap, before) << "row " << i;
    }
}

// Fields the reader does not judge, a longer info header, a gap before the rows, and a
// palette count that a 24-bit header gives: the picture still loads.
TEST(Bitmap, LoadsWhatTheRulesLeaveOpen) {
    const Bitmap eight = patterned(3, 2, 8);
    const Bitmap twentyFour = patterned(3, 2, 24);
    struct Row {
        const char* what;
        const Bitmap& picture;
        std::size_t offset;  // a 4-byte field set to value
        std::uint32_t value;
    };
    const Row kRows[] = {
        {"reserved words", eight, dib::kReserved1, 0x00050005},              // 0
        {"file size 0", eight, dib::kFileSize, 0},                           // 1
        {"negative resolution", eight, dib::kXPelsPerMeter, 0x80000000},     // 2
        {"24 bits counting 1000 colours", twentyFour, dib::kClrUsed, 1000},  // 3
        {"8 bits counting 0 colours", eight, dib::kClrUsed, 0},              // 4: all 256
    };
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        auto bytes = kRows[i].picture.saveToDib();
        writeU32(bytes, kRows[i].offset, kRows[i].value);
        Bitmap loaded;
        ASSERT_TRUE(loaded.loadFromDib(bytes)) << "row " << i << ": " << kRows[i].what;
        EXPECT_EQ(loaded, kRows[i].picture) << "row " << i << ": " << kRows[i].what;
    }
    // A 124-byte info header and 8 bytes between palette and rows.
    auto longer = eight.saveToDib();
    longer.insert(longer.begin() + dib::kHeadersSize, 84, 0);
    const std::size_t rowsAt = *readU32(longer, dib::kOffBits) + 84;
    longer.insert(longer.begin() + static_cast<std::ptrdiff_t>(rowsAt), 8, 0xEE);
    writeU32(longer, dib::kInfoSize, 124);
    writeU32(longer, dib::kOffBits, static_cast<std::uint32_t>(rowsAt + 8));
    Bitmap loaded;
    ASSERT_TRUE(loaded.loadFromDib(longer));
    EXPECT_EQ(loaded, eight);
    // A 4-bit header may count no more than 16 colours.
    auto four = patterned(2, 2, 4).saveToDib();
    writeU32(four, dib::kClrUsed, 17);
    EXPECT_FALSE(loaded.loadFromDib(four));
}

// ImageMagick reads what we write: every pixel's colour as it reports it.
TEST(Bitmap, ImageMagickReadsOurDib) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick missing";
    const test_support::TempFolder folder;
    const auto& dir = folder.path();
    for (int bits : {4, 8, 24}) {
        const Bitmap bitmap = patterned(5, 3, bits);
        const auto bmp = dir / ("x" + std::to_string(bits) + ".bmp");
        const auto txt = dir / ("x" + std::to_string(bits) + ".txt");
        {
            const auto bytes = bitmap.saveToDib();
            std::ofstream(bmp, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
        const std::string command = "convert " + bmp.string() + " -depth 8 txt:- > " + txt.string();
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(txt);
        std::string line;
        std::getline(in, line);  // "# ImageMagick pixel enumeration: ..."
        int seen = 0;
        while (std::getline(in, line)) {
            int x = 0, y = 0;
            unsigned red = 0, green = 0, blue = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d: (%u,%u,%u", &x, &y, &red, &green, &blue), 5)
                << line;
            const std::uint32_t v = bitmap.pixel(x, y);
            const Rgb expected =
                bits == 24 ? Rgb{static_cast<std::uint8_t>(v >> 16),
                                 static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}
                           : bitmap.palette()[v];
            EXPECT_EQ((Rgb{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                           static_cast<std::uint8_t>(blue)}),
                      expected)
                << bits << " bits at " << x << "," << y;
            ++seen;
        }
        EXPECT_EQ(seen, 15) << bits << " bits";
    }
}

}  // namespace
}  // namespace platform
