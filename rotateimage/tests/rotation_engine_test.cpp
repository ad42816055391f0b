#include "rotateimage/rotation_engine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/bitmap.h"
#include "platform/little_endian.h"
#include "rotateimage/rotate_image.h"
#include "dib_files.h"

namespace rotateimage {
namespace {

namespace dib = platform::dib;
using testing::noise;

// The bottom-left pixel as stored: an index for 8 bits, a colour for 24.
std::uint32_t firstStoredPixel(const DibBuffer& buffer) {
  const DibInfo info = readDibInfo(buffer);
  return info.bitCount == 8 ? buffer[info.pixelOffset] : *platform::readU32(buffer, info.pixelOffset) & 0xFFFFFF;
}

std::uint8_t maskAt(const DibBuffer& mask, int x, int y) {
  const DibInfo info = readDibInfo(mask);
  return mask[info.pixelOffset + static_cast<std::size_t>(y) * info.stride + static_cast<std::size_t>(x)];
}

// Where output pixel [r][c] (rows from the top) comes from at a right angle.
platform::Bitmap turnedByHand(const platform::Bitmap& src, int quarter) {
  const int w = src.width(), h = src.height();
  const bool swap = quarter % 2 == 1;
  platform::Bitmap out(swap ? h : w, swap ? w : h, src.bitsPerPixel() == 24 ? 24 : 8);
  for (int r = 0; r < out.height(); ++r)
    for (int c = 0; c < out.width(); ++c) {
      int sr = r, sc = c;
      switch (quarter) {
        case 1:
          sr = h - 1 - c;
          sc = r;
          break;  // 90
        case 2:
          sr = h - 1 - r;
          sc = w - 1 - c;
          break;  // 180
        case 3:
          sr = c;
          sc = w - 1 - r;
          break;  // 270
        default: break;
      }
      out.setPixel(c, r, src.pixel(sc, sr));
    }
  return out;
}

TEST(RightAngles, TurnExactlyAsOnScreen) {
  struct Row {
    int angle, quarter;
  };
  constexpr Row kAngles[] = {{0, 0}, {90, 1}, {180, 2}, {270, 3}, {-90, 3}, {450, 1}, {-270, 1}, {720, 0}};
  struct Size {
    int width, height;
  };
  // Small, odd, and past the 16- and 64-pixel blocks of the block copy.
  constexpr Size kSizes[] = {{1, 1}, {5, 3}, {40, 20}, {17, 33}, {130, 67}};
  int row = 0;
  for (int bits : {4, 8, 24})
    for (const Size& size : kSizes)
      for (const Row& a : kAngles) {
        ++row;
        const platform::Bitmap source = noise(size.width, size.height, bits, static_cast<unsigned>(row));
        TRotateImage image;
        image.SetBitmap(source);
        image.SetAngle(a.angle);
        platform::Bitmap out(3, 3, 4);
        image.SaveToBitmap(out, clWhite);
        const platform::Bitmap expected = turnedByHand(source, a.quarter);
        ASSERT_EQ(out.bitsPerPixel(), expected.bitsPerPixel()) << "row " << row;
        ASSERT_EQ(out.width(), expected.width()) << "row " << row;
        ASSERT_EQ(out.height(), expected.height()) << "row " << row;
        EXPECT_EQ(out.palette(), bits == 24 ? std::vector<platform::Rgb>{} : source.palette()) << "row " << row;
        int wrong = 0;
        for (int y = 0; y < out.height(); ++y)
          for (int x = 0; x < out.width(); ++x) wrong += out.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(wrong, 0) << "row " << row << ": " << bits << " bits, " << size.width << "x" << size.height << " at "
                            << a.angle;
        const DibInfo mask = readDibInfo(image.Mask());
        for (int y = 0; y < mask.height; ++y)
          for (int x = 0; x < mask.width; ++x)
            ASSERT_EQ(
                image
                    .Mask()[mask.pixelOffset + static_cast<std::size_t>(y) * mask.stride + static_cast<std::size_t>(x)],
                0)
                << "row " << row;
      }
}

TEST(RightAngles, FortyByTwentyAtNinetyStartsWithTheLeftColumnFromBelow) {
  const platform::Bitmap source = noise(40, 20, 4, 7);
  TRotateImage image;
  image.SetBitmap(source);
  image.SetAngle(90);
  platform::Bitmap out;
  image.SaveToBitmap(out, clWhite);
  ASSERT_EQ(out.width(), 20);
  ASSERT_EQ(out.height(), 40);
  for (int c = 0; c < 20; ++c) EXPECT_EQ(out.pixel(c, 0), source.pixel(0, 19 - c)) << c;
}

// The block copy for right angles gives the very bytes the general walk gives.
TEST(RightAngles, BlockCopyMatchesTheGeneralWalk) {
  int row = 0;
  for (int bits : {8, 24})
    for (int w : {1, 2, 15, 16, 17, 63, 64, 65, 131})
      for (int h : {1, 3, 16, 33, 70})
        for (int tenths : {0, 900, 1800, 2700})
          for (std::uint32_t transparent : {kNoTransparent, 0u}) {
            ++row;
            TRotateImage image;
            image.SetBitmap(noise(w, h, bits, static_cast<unsigned>(row)));
            const Dimension d = dimensionFor(static_cast<float>(tenths * 3.14159265358979323846 / 1800.0), 1.0f);
            RenderOptions fast;
            fast.transparent =
                bits == 8 ? transparent : (transparent == 0 ? firstStoredPixel(image.Source()) : kNoTransparent);
            RenderOptions general = fast;
            general.generalWalkOnly = true;
            DibBuffer r1, m1, r2, m2;
            ASSERT_TRUE(ExecuteDimension(image.Source(), d, fast, r1, m1));
            ASSERT_TRUE(ExecuteDimension(image.Source(), d, general, r2, m2));
            ASSERT_EQ(r1, r2) << "row " << row << ": " << bits << " bits " << w << "x" << h << " at " << tenths;
            ASSERT_EQ(m1, m2) << "row " << row;
          }
}

TEST(Rotation, FortyFiveDegreesMasksTheCornersAndWhiteFillsThem) {
  constexpr int kW = 20;
  platform::Bitmap source(kW, kW, 24);
  source.fill(0x123456);
  TRotateImage image;
  image.SetBitmap(source);
  image.SetAngle(45);
  const DibInfo out = readDibInfo(image.Rotated());
  const int side = static_cast<int>(std::lround(kW * std::sqrt(2.0)));  // 28
  ASSERT_EQ(out.width, side);
  ASSERT_EQ(out.height, side);
  // Corners are background, the centre and the middle of each edge are picture.
  for (const auto& [x, y, m] : {std::tuple{0, 0, 1},
                                {side - 1, 0, 1},
                                {0, side - 1, 1},
                                {side - 1, side - 1, 1},
                                {side / 2, side / 2, 0},
                                {side / 2, 0, 0},
                                {0, side / 2, 0},
                                {side / 2, side - 1, 0}})
    EXPECT_EQ(maskAt(image.Mask(), x, y), m) << x << "," << y;

  RenderOptions white;
  white.whiteFill = true;
  DibBuffer rotated, mask;
  ASSERT_TRUE(ExecuteDimension(image.Source(), image.GetDimension(), white, rotated, mask));
  int backgroundPixels = 0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const std::uint32_t c = *platform::readU32(rotated, out.pixelOffset + static_cast<std::size_t>(y) * out.stride +
                                                              3 * static_cast<std::size_t>(x)) &
                              0xFFFFFF;
      if (maskAt(mask, x, y) == 1) {
        ++backgroundPixels;
        EXPECT_EQ(c, 0xFFFFFFu) << x << "," << y;
      } else {
        EXPECT_EQ(c, 0x123456u) << x << "," << y;
      }
    }
  // Four triangles of about (28 - 20 / sqrt 2)^2 / 2 = 98 pixels each.
  EXPECT_NEAR(backgroundPixels, 4 * 98, 40);
}

TEST(Rotation, SizesFollowAngleAndZoom) {
  struct Row {
    int tenths, zoom, width, height, outWidth, outHeight;
  };
  constexpr Row kRows[] = {
      {0, 100, 10, 4, 10, 4},      // 0
      {900, 200, 10, 4, 8, 20},    // 1
      {0, 10, 40, 8, 10, 2},       // 2: 10 % is taken as 25 %
      {0, 1000, 3, 2, 12, 8},      // 3: 1000 % is taken as 400 %
      {300, 100, 10, 10, 14, 14},  // 4: 10 (cos 30 + sin 30) = 13.66
      {1, 100, 1, 1, 1, 1},        // 5: a tenth of a degree
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    TRotateImage image;
    image.SetBitmap(noise(kRows[i].width, kRows[i].height, 8, 1));
    image.SetAngleEx(kRows[i].tenths);
    image.SetZoom(kRows[i].zoom);
    const DibInfo out = readDibInfo(image.Rotated());
    EXPECT_EQ(out.width, kRows[i].outWidth) << "row " << i;
    EXPECT_EQ(out.height, kRows[i].outHeight) << "row " << i;
    EXPECT_EQ(image.Zoom(), std::clamp(kRows[i].zoom, 25, 400)) << "row " << i;
    EXPECT_EQ(image.AngleEx(), kRows[i].tenths) << "row " << i;
  }
}

TEST(Rotation, RendersOnlyOnRealChanges) {
  TRotateImage image;
  image.SetBitmap(noise(6, 4, 8, 3));
  ASSERT_EQ(image.RenderCount(), 1);
  image.SetAngle(90);
  image.SetAngle(90);
  image.SetAngle(450);
  EXPECT_EQ(image.RenderCount(), 2);
  image.SetZoom(100);
  EXPECT_EQ(image.RenderCount(), 2);
  const Dimension before = image.GetDimension();
  struct Row {
    float a, b, c, d;
  };
  constexpr Row kRefused[] = {{0, 0, 1, 1}, {1, 1, 1, 1}, {2, 1, 4, 2}, {1, 0, 0, 0}, {0, 0, 0, 5}};
  for (std::size_t i = 0; i < std::size(kRefused); ++i) {
    image.SetDimension(kRefused[i].a, kRefused[i].b, kRefused[i].c, kRefused[i].d);
    EXPECT_EQ(image.GetDimension(), before) << "row " << i;
  }
  EXPECT_EQ(image.RenderCount(), 2);
  // Deferred: nested updates render once, at the outermost end.
  EXPECT_EQ(image.EndUpdate(), 0);
  EXPECT_EQ(image.BeginUpdate(), 1);
  EXPECT_EQ(image.BeginUpdate(), 2);
  image.SetAngle(180);
  image.SetNegative(true);
  EXPECT_EQ(image.EndUpdate(), 1);
  EXPECT_EQ(image.RenderCount(), 2);
  EXPECT_EQ(image.EndUpdate(), 0);
  EXPECT_EQ(image.RenderCount(), 3);
}

TEST(Rotation, NearlySingularMatricesAreRefusedNotAllocated) {
  TRotateImage image;
  image.SetBitmap(noise(64, 64, 24, 5));
  const DibBuffer before = image.Rotated();
  image.SetDimension(1e-6f, 0.0f, 0.0f, 1e-6f);  // a 64e6 x 64e6 output
  EXPECT_EQ(image.Rotated(), before);
  image.SetDimension(1e20f, 1e20f, 1e20f, 1.0001e20f);  // huge steps: the picture shrinks to nothing
  EXPECT_TRUE(image.Rotated().empty());
  EXPECT_TRUE(image.Mask().empty());
}

// A turn or zoom whose picture would pass the pixel limit is refused as a whole: the
// angle, zoom and matrix keep describing the picture shown, deferred or not.
TEST(Rotation, ATooLargePictureKeepsTheAngleAndZoomShown) {
  struct Row {
    int tenths, zoom;  // the picture shown
    bool turn;         // set the angle (else the zoom) to
    int value;
    bool deferred;
  };
  constexpr Row kRows[] = {
      {0, 400, true, 450, false},   // 0: 45 degrees at 400 % would be 46342 x 46342
      {50, 25, false, 400, false},  // 1: 5 degrees at 400 % would be 65290 x 5716
      {0, 400, true, 450, true},    // 2
      {50, 25, false, 400, true},   // 3
  };
  // Long and thin: small at the start, past the limit when turned or zoomed.
  const platform::Bitmap source = noise(16384, 1, 8, 1);
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    TRotateImage image;
    image.SetBitmap(source);
    image.SetZoom(row.zoom);
    image.SetAngleEx(row.tenths);
    const Dimension shown = image.GetDimension();
    const DibBuffer picture = image.Rotated();
    ASSERT_TRUE(IsValidDib(picture)) << "row " << i;
    if (row.deferred) image.BeginUpdate();
    if (row.turn) {
      image.SetAngleEx(row.value);
    } else {
      image.SetZoom(row.value);
    }
    if (row.deferred) image.EndUpdate();
    EXPECT_EQ(image.AngleEx(), row.tenths) << "row " << i;
    EXPECT_EQ(image.Zoom(), row.zoom) << "row " << i;
    EXPECT_EQ(image.GetDimension(), shown) << "row " << i;
    EXPECT_EQ(image.Rotated(), picture) << "row " << i;
  }
}

TEST(ColorCode, ChannelArithmetic) {
  struct Row {
    std::uint32_t colour, code, expected;
  };
  constexpr Row kRows[] = {
      {0x123456, 0, 0x123456},                // 0: code 0 leaves the colour alone
      {0x0A1432, kMonochromeCode, 0x1A1A1A},  // 1: mix 170 is the mean, (10 + 20 + 50) / 3 = 26
      {0xFFFFFF, kSepiaCode, 0xFFFFF3},       // 2: blue -100 pulls white down to 255 - 12
      {0x808080, kSepiaCode, 0xB68448},       // 3: red 12 + 121 + 49, green 1 + 127 + 4, blue 121 - 49
      {0x000000, kSepiaCode, 0x0C0100},       // 4: the dark end lifted to m = s / 8
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    EXPECT_EQ(ApplyColorCode(kRows[i].colour, kRows[i].code), kRows[i].expected) << "row " << i;
  // Every tone adjustment keeps every value in range.
  for (int s = -128; s < 128; ++s)
    for (std::uint32_t v = 0; v < 256; ++v) {
      const std::uint32_t code = static_cast<std::uint8_t>(s);
      const std::uint32_t out = ApplyColorCode(v << 16, code);
      ASSERT_EQ(out & 0xFF00FFFF, 0u) << s << " " << v;
    }
}

TEST(ColorCode, PresetsSwitchAsOneProperty) {
  TRotateImage image;
  image.SetMonochrome(true);
  EXPECT_EQ(image.ColorCode(), kMonochromeCode);
  image.SetSepia(true);
  EXPECT_EQ(image.ColorCode(), kSepiaCode);
  EXPECT_FALSE(image.Monochrome());
  image.SetMonochrome(false);
  EXPECT_EQ(image.ColorCode(), kSepiaCode);
  image.SetSepia(false);
  EXPECT_EQ(image.ColorCode(), 0u);
}

TEST(ColorCode, EightBitsRecolourThePaletteNotThePixels) {
  platform::Bitmap source(2, 1, 8);
  source.setPalette({{255, 0, 0}, {0, 0, 255}});
  source.setPixel(1, 0, 1);
  TRotateImage image;
  image.SetBitmap(source);
  image.SetNegative(true);
  platform::Bitmap out;
  image.SaveToBitmap(out, clWhite);
  EXPECT_EQ(out.pixel(0, 0), 0u);
  EXPECT_EQ(out.pixel(1, 0), 1u);
  EXPECT_EQ(out.palette()[0], (platform::Rgb{0, 255, 255}));
  EXPECT_EQ(out.palette()[1], (platform::Rgb{255, 255, 0}));
  // The source keeps its own palette.
  EXPECT_EQ(*platform::readU32(image.Source(), dib::kHeadersSize), 0xFF0000u);
}

TEST(Sketch, EdgesDarkenFlatAreasStayWhite) {
  platform::Bitmap source(3, 3, 24);
  source.fill(0xFFFFFF);
  source.setPixel(1, 1, 0);
  const DibBuffer flat = BuildSketch([] {
    platform::Bitmap b(4, 2, 24);
    b.fill(0x336699);
    auto d = b.saveToDib();
    d.push_back(0);
    return d;
  }());
  ASSERT_TRUE(IsValidDib(flat));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(maskAt(flat, x, y), 255) << x << "," << y;

  TRotateImage image;
  image.SetBitmap(source);
  image.SetSketch(true);
  const DibBuffer& sketch = image.SketchDib();
  ASSERT_TRUE(IsValidDib(sketch));
  EXPECT_EQ(*platform::readU32(sketch, dib::kOffBits), 1078u);
  // The black centre has eight white neighbours: t = 510, byte 64.  Each neighbour sees
  // one black pixel: t = round(sqrt(3 * 255^2 / 6)) = 180, F = 280 + 36, byte 97.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(maskAt(sketch, x, y), (x == 1 && y == 1) ? 64 : 97) << x << "," << y;
  // The rendering uses the sketch: 8 bits, grey palette.
  EXPECT_EQ(readDibInfo(image.Rotated()).bitCount, 8);
  image.SetSketch(false);
  EXPECT_TRUE(image.SketchDib().empty());
  EXPECT_EQ(readDibInfo(image.Rotated()).bitCount, 24);
}

}  // namespace
}  // namespace rotateimage
