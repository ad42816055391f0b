#include "rotateimage/dib_buffer.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "dib_files.h"

namespace rotateimage {
namespace {

namespace dib = platform::dib;
using testing::applyPatch;
using testing::DibFields;
using testing::HeaderPatch;
using testing::MagickPixel;
using testing::magickPixels;
using testing::makeDib;

// Pixel (x, y), y counted from the bottom row, of a normalised buffer as 0x00RRGGBB.
std::uint32_t colourAt(const DibBuffer& buffer, int x, int y) {
  const DibInfo info = readDibInfo(buffer);
  const std::size_t row = info.pixelOffset + static_cast<std::size_t>(y) * info.stride;
  if (info.bitCount == 24) return *platform::readU32(buffer, row + 3 * static_cast<std::size_t>(x)) & 0xFFFFFF;
  return *platform::readU32(buffer, dib::kHeadersSize + 4 * std::size_t{buffer[row + static_cast<std::size_t>(x)]}) &
         0xFFFFFF;
}

std::uint8_t indexAt(const DibBuffer& buffer, int x, int y) {
  const DibInfo info = readDibInfo(buffer);
  return buffer[info.pixelOffset + static_cast<std::size_t>(y) * info.stride + static_cast<std::size_t>(x)];
}

TEST(NormaliseDib, FourBitsWithoutClrUsedKeepTheNibblesAsIndices) {
  std::vector<std::uint32_t> palette(16);
  for (std::uint32_t i = 0; i < 16; ++i) palette[i] = i * 0x111111;
  DibFields fields{.width = 3, .height = 2, .bitCount = 4, .palette = palette, .clrUsed = 0};
  const auto loaded = normaliseDib(makeDib(fields, {0x12, 0x30, 0, 0, /**/ 0xAB, 0xC0, 0, 0}));
  ASSERT_TRUE(loaded);
  ASSERT_TRUE(IsValidDib(*loaded));
  const DibInfo info = readDibInfo(*loaded);
  EXPECT_EQ(info.bitCount, 8);
  EXPECT_EQ(info.paletteSize, 16u);
  EXPECT_EQ(*platform::readU32(*loaded, dib::kClrUsed), 16u);
  EXPECT_EQ(*platform::readU32(*loaded, dib::kOffBits), 54u + 64u);
  const std::uint8_t expected[2][3] = {{1, 2, 3}, {0xA, 0xB, 0xC}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(indexAt(*loaded, x, y), expected[y][x]) << x << "," << y;
  EXPECT_EQ(colourAt(*loaded, 2, 1), 0xCCCCCCu);
}

TEST(NormaliseDib, OneBitAlwaysGetsBlackAndWhite) {
  // Red and yellow in the file; the loader gives black and white.
  DibFields fields{.width = 10, .height = 1, .bitCount = 1, .palette = {0xFF0000, 0xFFFF00}};
  const auto loaded = normaliseDib(makeDib(fields, {0b10110000, 0b01000000, 0, 0}));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(readDibInfo(*loaded).paletteSize, 2u);
  const std::uint8_t expected[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(indexAt(*loaded, x, 0), expected[x]) << x;
  EXPECT_EQ(colourAt(*loaded, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(colourAt(*loaded, 1, 0), 0u);
}

TEST(NormaliseDib, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
  struct Row {
    int bitCount;
    std::vector<std::uint8_t> pixel;  // one stored pixel, little-endian
    std::uint32_t expected;           // 0x00RRGGBB
  };
  const Row kRows[] = {
      {16, {0xFF, 0x7F}, 0xFFFFFF},              // 0: 0x7FFF is white
      {16, {0x1F, 0x00}, 0x0000FF},              // 1: 0x001F is pure blue
      {16, {0x00, 0x7C}, 0xFF0000},              // 2: 0x7C00 is pure red
      {16, {0x10, 0x42}, 0x838383},              // 3: 16 of 31 in each channel: 16 * 255 / 31 = 131
      {32, {0x10, 0x20, 0x30, 0x99}, 0x302010},  // 4: the fourth byte is dropped
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    std::vector<std::uint8_t> rows = kRows[i].pixel;
    rows.resize(4, 0);
    const auto loaded = normaliseDib(makeDib({.bitCount = kRows[i].bitCount}, rows));
    ASSERT_TRUE(loaded) << "row " << i;
    ASSERT_EQ(readDibInfo(*loaded).bitCount, 24) << "row " << i;
    EXPECT_EQ(colourAt(*loaded, 0, 0), kRows[i].expected) << "row " << i;
    // The spare byte follows the image.
    EXPECT_EQ(loaded->size(), *platform::readU32(*loaded, dib::kFileSize) + 1u) << "row " << i;
  }
}

TEST(NormaliseDib, RowsStartAtTheOffsetOrRightAfterThePalette) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
  // A gap of 8 bytes: the rows are read from bfOffBits.
  auto gap = makeDib({.width = 1, .height = 1, .bitCount = 8, .palette = palette, .gap = 8}, {1, 0, 0, 0});
  auto loaded = normaliseDib(gap);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(indexAt(*loaded, 0, 0), 1);
  // bfOffBits pointing into the palette: the rows are read from just after it.
  auto inside = makeDib({.width = 1, .height = 1, .bitCount = 8, .palette = palette}, {1, 0, 0, 0});
  platform::writeU32(inside, dib::kOffBits, 54 + 4);
  loaded = normaliseDib(inside);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(indexAt(*loaded, 0, 0), 1);
}

// Header fields the loader does not judge, a longer info header, and a palette that a
// 24-bit header counts: the rows are still found.
TEST(NormaliseDib, TakesWhatTheRulesLeaveOpen) {
  struct Row {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::uint32_t colour;  // of pixel (0, 0), 0x00RRGGBB
  };
  const std::vector<std::uint32_t> palette = {0x000000, 0x123456};
  const auto eight = [&](std::uint32_t infoSize) {
    return makeDib({.width = 1, .height = 1, .bitCount = 8, .palette = palette, .infoSize = infoSize}, {1, 0, 0, 0});
  };
  auto negativeResolution = eight(40);
  platform::writeU32(negativeResolution, dib::kXPelsPerMeter, 0x80000000);
  auto noFileSize = eight(40);
  platform::writeU32(noFileSize, dib::kFileSize, 0);
  auto counted = makeDib({.width = 1, .height = 1, .bitCount = 24, .palette = {0xABCDEF}}, {1, 2, 3, 0});
  platform::writeU32(counted, dib::kOffBits, 54);
  const Row kRows[] = {
      {"124-byte info header", eight(124), 0x123456},         // 0: the palette follows it
      {"negative resolution", negativeResolution, 0x123456},  // 1
      {"file size 0", noFileSize, 0x123456},                  // 2
      {"24 bits with a palette", counted, 0x030201},          // 3: rows after it, not at 54
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const auto loaded = normaliseDib(kRows[i].bytes);
    ASSERT_TRUE(loaded) << "row " << i << ": " << kRows[i].what;
    EXPECT_EQ(colourAt(*loaded, 0, 0), kRows[i].colour) << "row " << i << ": " << kRows[i].what;
  }
}

// 16 bits with channel masks: after a 40-byte info header the three masks follow it, and
// the rows follow them even when bfOffBits points at them.  Masks with gaps are refused.
TEST(NormaliseDib, BitfieldsAfterAShortInfoHeader) {
  const std::vector<std::uint8_t> rows = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};  // red, green, blue in 5-6-5
  const auto make = [&](std::uint32_t red, std::uint32_t offBits) {
    auto bytes = makeDib({.width = 3, .height = 1, .bitCount = 16, .gap = 12}, rows);
    platform::writeU32(bytes, dib::kCompression, 3);
    platform::writeU32(bytes, dib::kOffBits, offBits);
    platform::writeU32(bytes, 54, red);
    platform::writeU32(bytes, 58, 0x07E0);
    platform::writeU32(bytes, 62, 0x001F);
    return bytes;
  };
  for (const std::uint32_t offBits : {66u, 54u}) {
    const auto loaded = normaliseDib(make(0xF800, offBits));
    ASSERT_TRUE(loaded) << offBits;
    EXPECT_EQ(colourAt(*loaded, 0, 0), 0xFF0000u) << offBits;
    EXPECT_EQ(colourAt(*loaded, 1, 0), 0x00FF00u) << offBits;
    EXPECT_EQ(colourAt(*loaded, 2, 0), 0x0000FFu) << offBits;
  }
  EXPECT_FALSE(normaliseDib(make(0xF00F, 66)));
}

TEST(NormaliseDib, TopDownRowsAreTurnedOver) {
  auto bytes = makeDib({.width = 1, .height = 3, .bitCount = 24}, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0});
  platform::writeI32(bytes, dib::kHeight, -3);
  const auto loaded = normaliseDib(bytes);
  ASSERT_TRUE(loaded);
  ASSERT_TRUE(IsValidDib(*loaded));
  EXPECT_EQ(readDibInfo(*loaded).height, 3);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(colourAt(*loaded, 0, y), static_cast<std::uint32_t>(3 - y)) << y;
}

TEST(NormaliseDib, RefusesBadHeadersBeforeAllocating) {
  const auto good =
      makeDib({.width = 2, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}}, std::vector<std::uint8_t>(8, 1));
  const HeaderPatch kRows[] = {
      {"RLE compression", dib::kCompression, 1, 4},           // 0
      {"two planes", dib::kPlanes, 2, 2},                     // 1
      {"not BM", dib::kType, 0x4142, 2},                      // 2
      {"reserved word", dib::kReserved1, 1, 2},               // 3
      {"2 bits", dib::kBitCount, 2, 2},                       // 4
      {"0 bits", dib::kBitCount, 0, 2},                       // 5
      {"palette of 257", dib::kClrUsed, 257, 4},              // 6
      {"short info header", dib::kInfoSize, 12, 4},           // 7
      {"width 0", dib::kWidth, 0, 4},                         // 8
      {"negative width", dib::kWidth, 0xFFFFFFFE, 4},         // 9
      {"height 0", dib::kHeight, 0, 4},                       // 10
      {"huge width", dib::kWidth, 0x7FFFFFFF, 4},             // 11: rows overflow 32 bits
      {"huge height", dib::kHeight, 0x7FFFFFFF, 4},           // 12
      {"most negative height", dib::kHeight, 0x80000000, 4},  // 13
      {"2^28 + 1 pixels", dib::kWidth, (1u << 28) + 1, 4},    // 14: 1 row, over the pixel limit
      {"offset past the end", dib::kOffBits, 0xFFFFFF00, 4},  // 15
      {"huge info header", dib::kInfoSize, 0xFFFFFFF0, 4},    // 16
      {"second reserved word", dib::kReserved2, 1, 2},        // 17
      {"bitfields at 8 bits", dib::kCompression, 3, 4},       // 18
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    auto bytes = good;
    applyPatch(bytes, kRows[i]);
    if (i == 14) platform::writeI32(bytes, dib::kHeight, 1);
    EXPECT_FALSE(normaliseDib(bytes)) << "row " << i << ": " << kRows[i].what;
  }
  auto shortByOne = good;
  shortByOne.pop_back();
  EXPECT_FALSE(normaliseDib(shortByOne));
  EXPECT_FALSE(normaliseDib(std::span(good).first(53)));
}

TEST(IsValidDib, AppliesEveryHeaderRule) {
  const auto good = *normaliseDib(
      makeDib({.width = 2, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}}, std::vector<std::uint8_t>(8, 1)));
  ASSERT_TRUE(IsValidDib(good));
  const HeaderPatch kRows[] = {
      {"file size past buffer", dib::kFileSize, 1000, 4},                    // 0
      {"offset at file size", dib::kOffBits, 70, 4},                         // 1: bfSize is 70
      {"offset inside headers", dib::kOffBits, 53, 4},                       // 2
      {"info size 124", dib::kInfoSize, 124, 4},                             // 3
      {"negative resolution", dib::kXPelsPerMeter, 0xFFFFFFFF, 4},           // 4
      {"negative height", dib::kHeight, 0xFFFFFFFE, 4},                      // 5
      {"33 bits", dib::kBitCount, 33, 2},                                    // 6
      {"rows past the image", dib::kHeight, 3, 4},                           // 7
      {"compressed", dib::kCompression, 3, 4},                               // 8
      {"reserved", dib::kReserved2, 5, 2},                                   // 9
      {"not BM", dib::kType, 0x4142, 2},                                     // 10
      {"first reserved", dib::kReserved1, 1, 2},                             // 11
      {"width 0", dib::kWidth, 0, 4},                                        // 12
      {"negative width", dib::kWidth, 0xFFFFFFFE, 4},                        // 13
      {"height 0", dib::kHeight, 0, 4},                                      // 14
      {"two planes", dib::kPlanes, 2, 2},                                    // 15
      {"0 bits", dib::kBitCount, 0, 2},                                      // 16
      {"palette of 257", dib::kClrUsed, 257, 4},                             // 17
      {"negative vertical resolution", dib::kYPelsPerMeter, 0x80000000, 4},  // 18
      {"info size 41", dib::kInfoSize, 41, 4},                               // 19
      {"palette past the rows", dib::kClrUsed, 3, 4},                        // 20: rows move 4 bytes on
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    auto bytes = good;
    applyPatch(bytes, kRows[i]);
    EXPECT_FALSE(IsValidDib(bytes)) << "row " << i << ": " << kRows[i].what;
  }
  EXPECT_FALSE(IsValidDib(std::span(good).first(54)));
}

// What the test passes: the rows are found right after the palette whatever bfOffBits
// says, the palette is counted at every depth, and the fields it does not judge are free.
TEST(IsValidDib, TakesWhatTheRulesLeaveOpen) {
  const auto good = *normaliseDib(
      makeDib({.width = 2, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}}, std::vector<std::uint8_t>(8, 1)));
  const HeaderPatch kRows[] = {
      {"offset into the palette", dib::kOffBits, 54, 4},      // 0
      {"offset just before the end", dib::kOffBits, 69, 4},   // 1: bfSize is 70
      {"2 bits", dib::kBitCount, 2, 2},                       // 2
      {"1 bit without a palette", dib::kBitCount, 1, 2},      // 3: clrUsed set to 0 below
      {"image size", dib::kSizeImage, 12345, 4},              // 4
      {"resolution", dib::kXPelsPerMeter, 3780, 4},           // 5
      {"important colours", dib::kClrImportant, 7, 4},        // 6
      {"file size below the buffer", dib::kFileSize, 70, 4},  // 7: one spare byte below
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    auto bytes = good;
    applyPatch(bytes, kRows[i]);
    if (i == 3) platform::writeU32(bytes, dib::kClrUsed, 0);
    if (i == 7) bytes.push_back(0);
    EXPECT_TRUE(IsValidDib(bytes)) << "row " << i << ": " << kRows[i].what;
  }
  // A 24-bit image whose header counts a palette: its rows lie after it.
  auto counted = makeDib({.width = 1, .height = 1, .bitCount = 24, .palette = {0x123456}}, {1, 2, 3, 0});
  EXPECT_TRUE(IsValidDib(counted));
  EXPECT_EQ(readDibInfo(counted).pixelOffset, 58u);
  platform::writeU32(counted, dib::kClrUsed, 2);
  EXPECT_FALSE(IsValidDib(counted));
}

TEST(FindPaletteIndex, ExactThenAppendedThenNearest) {
  // Entries as stored: blue, green, red, reserved.
  const auto palette = [](std::initializer_list<std::uint32_t> colours) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t c : colours)
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(c >> (8 * i)));
    return bytes;
  };
  std::vector<std::uint32_t> full(256, 0x000000);
  full[7] = 0xF0F0F0;
  full[9] = 0xF0F0F0;
  std::vector<std::uint8_t> fullBytes;
  for (std::uint32_t c : full)
    for (int i = 0; i < 4; ++i) fullBytes.push_back(static_cast<std::uint8_t>(c >> (8 * i)));
  struct Row {
    std::vector<std::uint8_t> palette;
    std::uint32_t clrUsed, colour;
    int index;
    bool appended;
  };
  const Row kRows[] = {
      {palette({0xFFFFFF, 0x000000}), 2, 0xFFFFFF, 0, false},            // 0: exact, index 0
      {palette({0x00FF00, 0xFFFFFF, 0xFFFFFF}), 3, 0xFFFFFF, 1, false},  // 1: lowest exact match
      {palette({0x000000, 0x808080}), 2, 0xFFFFFF, 2, true},             // 2: appended
      {fullBytes, 256, 0xFFFFFF, 7, false},                              // 3: full: nearest, lowest on ties
      {fullBytes, 0, 0x000001, 0, false},                                // 4: biClrUsed 0 means full
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const auto choice = FindPaletteIndex(kRows[i].palette, kRows[i].clrUsed, kRows[i].colour);
    EXPECT_EQ(choice.index, kRows[i].index) << "row " << i;
    EXPECT_EQ(choice.appended, kRows[i].appended) << "row " << i;
  }
}

// Files written by ImageMagick load to the colours ImageMagick itself reports.
TEST(NormaliseDib, ReadsWhatImageMagickWrites) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick missing";
  const test_support::TempFolder folder;
  const auto& dir = folder.path();
  struct Row {
    const char* options;  // how ImageMagick is asked for the depth
    int bitCount;         // what the file must hold
    int tolerance;        // per channel: ImageMagick rounds 5-bit channels, we truncate
  };
  const Row kRows[] = {
      {"-type bilevel BMP3:", 1, 0},                            // 0
      {"-colors 12 -type palette -compress none BMP3:", 4, 0},  // 1
      {"-type palette -compress none BMP3:", 8, 0},             // 2: not RLE
      {"-alpha off -define bmp:subtype=RGB555 BMP:", 16, 1},    // 3: bitfields, V5 header
      {"-alpha off -define bmp:subtype=RGB565 BMP:", 16, 1},    // 4
      {"-type truecolor BMP3:", 24, 0},                         // 5
      {"-alpha set -define bmp3:alpha=true BMP3:", 32, 0},      // 6: plain 32 bits
      {"-alpha set BMP:", 32, 0},                               // 7: bitfields, V5 header
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const auto bmp = dir / ("in" + std::to_string(i) + ".bmp");
    const std::string make = "convert -size 23x37 gradient:red-blue -fill yellow -draw 'rectangle 3,3 9,30' " +
                             std::string(kRows[i].options) + bmp.string();
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    std::ifstream file(bmp, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(*platform::readU16(bytes, dib::kBitCount), kRows[i].bitCount) << "row " << i;
    const auto loaded = normaliseDib(bytes);
    ASSERT_TRUE(loaded) << "row " << i;
    ASSERT_TRUE(IsValidDib(*loaded)) << "row " << i;
    const DibInfo info = readDibInfo(*loaded);
    EXPECT_EQ(info.bitCount, kRows[i].bitCount <= 8 ? 8 : 24) << "row " << i;

    const auto pixels = magickPixels(bmp);
    ASSERT_TRUE(pixels) << "row " << i;
    int wrong = 0;
    for (const MagickPixel& p : *pixels) {
      const std::uint32_t c = colourAt(*loaded, p.x, info.height - 1 - p.y);
      const int dr = static_cast<int>(c >> 16 & 0xFF) - static_cast<int>(p.r);
      const int dg = static_cast<int>(c >> 8 & 0xFF) - static_cast<int>(p.g);
      const int db = static_cast<int>(c & 0xFF) - static_cast<int>(p.b);
      if (std::abs(dr) > kRows[i].tolerance || std::abs(dg) > kRows[i].tolerance || std::abs(db) > kRows[i].tolerance)
        ++wrong;
    }
    EXPECT_EQ(pixels->size(), 23u * 37u) << "row " << i;
    EXPECT_EQ(wrong, 0) << "row " << i << ": " << kRows[i].options;
  }
}

}  // namespace
}  // namespace rotateimage
