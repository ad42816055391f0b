// Every way the engine renders (vector or portable kernels, one thread or several, the
// block copy or the walk) against a plain pixel-by-pixel walk written out here, byte for
// byte over both output buffers: random pictures, angles, zooms, matrices and options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numbers>
#include <random>
#include <sstream>

#include "platform/bitmap.h"
#include "platform/dib.h"
#include "platform/little_endian.h"
#include "rotateimage/rotation_engine.h"

namespace rotateimage {
namespace {

namespace dib = platform::dib;

// A picture of random pixels drawn from `values` different ones (0: any), as the
// normalised DIB the engine reads.
DibBuffer randomPicture(int width, int height, int bits, int values, std::mt19937& random) {
  platform::Bitmap bitmap(width, height, bits);
  if (bits == 8) {
    std::vector<platform::Rgb> palette(256);
    for (auto& c : palette)
      c = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
           static_cast<std::uint8_t>(random())};
    bitmap.setPalette(palette);
  }
  const std::uint32_t range = bits == 8 ? 0xFF : 0xFFFFFF;
  std::vector<std::uint32_t> chosen(static_cast<std::size_t>(values));
  for (auto& v : chosen) v = static_cast<std::uint32_t>(random()) & range;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t any = static_cast<std::uint32_t>(random());
      bitmap.setPixel(x, y, chosen.empty() ? any & range : chosen[any % chosen.size()]);
    }
  DibBuffer dib = bitmap.saveToDib();
  if (bits == 24) dib.push_back(0);  // the spare byte of the 24-bit form
  dib.shrink_to_fit();               // so that the sanitizer sees a read past the end
  return dib;
}

std::uint32_t read24(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16); }

void write24(std::uint8_t* p, std::uint32_t v) {
  for (int b = 0; b < 3; ++b) p[b] = static_cast<std::uint8_t>(v >> (8 * b));
}

std::uint32_t recoloured(std::uint32_t colour, const RenderOptions& o) {
  if (o.colorCode != 0) colour = ApplyColorCode(colour, o.colorCode);
  return o.negative ? ~colour & 0xFFFFFF : colour;
}

struct Rendered {
  DibBuffer rotated, mask;
};

// The walk pixel by pixel: origin, each row's column range from both axes, positions in
// 16.16 fixed point stepped by adds, truncated toward zero and clamped into the source.
Rendered renderByHand(const DibBuffer& source, const Dimension& d, const RenderOptions& o) {
  const DibInfo in = readDibInfo(source);
  const OutputSize out = *outputSize(d, in.width, in.height);
  // A picture zoomed out below one pixel is empty: no headers, no pixels, no mask.
  if (out.empty()) return {};
  const std::size_t bpp = static_cast<std::size_t>(in.bitCount / 8);
  const std::size_t stride = (static_cast<std::size_t>(out.width) * bpp + 3) / 4 * 4;
  const std::size_t maskStride = (static_cast<std::size_t>(out.width) + 3) / 4 * 4;
  const std::size_t imageSize = in.pixelOffset + stride * static_cast<std::size_t>(out.height);

  Rendered r;
  r.rotated.assign(imageSize + (bpp == 3 ? 1 : 0), o.whiteFill && bpp == 3 ? 0xFF : 0x00);
  std::copy_n(source.begin(), in.pixelOffset, r.rotated.begin());
  platform::writeU32(r.rotated, dib::kFileSize, static_cast<std::uint32_t>(imageSize));
  platform::writeI32(r.rotated, dib::kWidth, out.width);
  platform::writeI32(r.rotated, dib::kHeight, out.height);
  platform::writeU32(r.rotated, dib::kSizeImage, 0);
  if (bpp == 3) r.rotated.back() = 0;
  constexpr std::size_t kMaskOffset = dib::kHeadersSize + 2 * dib::kPaletteEntrySize;
  r.mask.assign(kMaskOffset + maskStride * static_cast<std::size_t>(out.height), 0);
  dib::writeHeader(r.mask, dib::newHeader(out.width, out.height, 8, 2));
  std::fill_n(r.mask.begin() + dib::kHeadersSize + dib::kPaletteEntrySize, 3, std::uint8_t{0xFF});

  const double g = out.width / 2.0 - 0.5;
  const double k = out.height / 2.0 - 0.5;
  const float x0 = static_cast<float>(in.width / 2.0 - g * d.colStepX - k * d.rowStepX);
  const float y0 = static_cast<float>(in.height / 2.0 - g * d.colStepY - k * d.rowStepY);
  const auto fixed = [](double v) { return static_cast<std::int64_t>(std::nearbyint(v * 65536.0)); };
  const std::int64_t dX = fixed(d.colStepX);
  const std::int64_t dY = fixed(d.colStepY);
  for (int j = 0; j < out.height; ++j) {
    std::uint8_t* row = r.rotated.data() + in.pixelOffset + static_cast<std::size_t>(j) * stride;
    std::uint8_t* maskRow = r.mask.data() + kMaskOffset + static_cast<std::size_t>(j) * maskStride;
    const double rowX = j * static_cast<double>(d.rowStepX) + x0;
    const double rowY = j * static_cast<double>(d.rowStepY) + y0;
    const ColumnSpan sx = ColumnRange(in.width, static_cast<float>(rowX), d.colStepX, out.width);
    const ColumnSpan sy = ColumnRange(in.height, static_cast<float>(rowY), d.colStepY, out.width);
    const int lo = std::max(sx.lo, sy.lo);
    const int hi = sx.empty() || sy.empty() ? -1 : std::min(sx.hi, sy.hi);
    for (int i = 0; i < out.width; ++i) maskRow[i] = i < lo || i > hi;
    if (lo > hi) continue;
    std::int64_t x = fixed(rowX + lo * static_cast<double>(d.colStepX));
    std::int64_t y = fixed(rowY + lo * static_cast<double>(d.colStepY));
    for (int i = lo; i <= hi; ++i, x += dX, y += dY) {
      const std::int64_t column = std::clamp<std::int64_t>(x / 65536, 0, in.width - 1);
      const std::int64_t line = std::clamp<std::int64_t>(y / 65536, 0, in.height - 1);
      const std::uint8_t* s = source.data() + in.pixelOffset + static_cast<std::size_t>(line) * in.stride +
                              static_cast<std::size_t>(column) * bpp;
      std::uint8_t* p = row + static_cast<std::size_t>(i) * bpp;
      const std::uint32_t value = bpp == 1 ? *s : read24(s);
      if (value == o.transparent) maskRow[i] = 1;
      if (bpp == 1) {
        *p = *s;
      } else {
        write24(p, value == o.transparent ? value : recoloured(value, o));
      }
    }
  }
  if (bpp == 1) {
    const std::uint32_t clrUsed = *platform::readU32(source, dib::kClrUsed);
    const std::size_t entries = clrUsed == 0 || clrUsed > 256 ? 256 : clrUsed;
    for (std::size_t e = 0; e < entries; ++e) {
      std::uint8_t* entry = r.rotated.data() + dib::kHeadersSize + 4 * e;
      write24(entry, recoloured(read24(entry), o));
    }
  }
  return r;
}

// The ways the engine may render one picture, all of which must give the same bytes.
struct Way {
  bool vectorKernels, generalWalkOnly;
  int threads;
};
constexpr Way kWays[] = {
    {true, false, 0}, {true, false, 1},  {true, false, 3},  {true, true, 0},  {true, true, 1},
    {true, true, 3},  {false, false, 1}, {false, false, 3}, {false, true, 1}, {false, true, 3},
};

// The colour and mask options, as rows: transparent (the bottom-left pixel), colour code,
// negative, white fill.
struct Options {
  bool transparent;
  std::uint32_t colorCode;
  bool negative, whiteFill;
};
constexpr Options kOptions[] = {
    {false, 0, false, false},              // 0: what the program asks for
    {true, 0, false, false},               // 1
    {false, kSepiaCode, true, true},       // 2
    {true, kMonochromeCode, false, true},  // 3
    {true, 0, true, false},                // 4
};

RenderOptions renderOptions(const DibBuffer& source, const Options& o) {
  RenderOptions r;
  if (o.transparent) {
    const DibInfo info = readDibInfo(source);
    const std::uint8_t* first = source.data() + info.pixelOffset;
    r.transparent = info.bitCount == 8 ? *first : read24(first);
  }
  r.colorCode = o.colorCode;
  r.negative = o.negative;
  r.whiteFill = o.whiteFill;
  return r;
}

// Renders `source` every way and compares each with the walk by hand; false on the first
// difference, which it reports.
bool rendersExactly(const DibBuffer& source, const Dimension& d, const Options& options, const std::string& what) {
  const RenderOptions base = renderOptions(source, options);
  // Without an output pixel (a small picture zoomed out) nothing is rendered.
  const bool renders = outputSize(d, readDibInfo(source).width, readDibInfo(source).height).has_value();
  const Rendered expected = renders ? renderByHand(source, d, base) : Rendered{};
  for (const Way& way : kWays) {
    RenderOptions o = base;
    o.vectorKernels = way.vectorKernels;
    o.generalWalkOnly = way.generalWalkOnly;
    o.threads = way.threads;
    DibBuffer rotated, mask;
    const bool rendered = ExecuteDimension(source, d, o, rotated, mask);
    const auto firstDifference = [](const DibBuffer& a, const DibBuffer& b) {
      return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    };
    if (rendered == renders && rotated == expected.rotated && mask == expected.mask) continue;
    ADD_FAILURE() << what << ", " << (way.vectorKernels ? "vector" : "portable") << " kernels, "
                  << (way.generalWalkOnly ? "walk only" : "block copies allowed") << ", threads " << way.threads
                  << ": rendered " << rendered << ", picture differs at byte "
                  << firstDifference(rotated, expected.rotated) << " of " << expected.rotated.size()
                  << ", mask at byte " << firstDifference(mask, expected.mask) << " of " << expected.mask.size();
    return false;
  }
  return true;
}

Dimension atAngle(int tenths, int zoom) {
  return dimensionFor(static_cast<float>(tenths * std::numbers::pi / 1800.0), static_cast<float>(zoom / 100.0));
}

struct Picture {
  int width, height;
};
// One pixel, single rows and columns, odd sizes, sizes around the vector blocks, and one
// with several chunks of 256 rows, tiles and vector runs at every angle.
constexpr Picture kPictures[] = {{1, 1}, {1, 9}, {9, 1}, {5, 3}, {17, 33}, {33, 17}, {64, 64}, {131, 67}, {300, 520}};

TEST(Exactness, RightAnglesEveryOptionEveryWay) {
  std::mt19937 random(1);
  int row = 0;
  for (const Picture& p : kPictures)
    for (int bits : {8, 24})
      for (int tenths : {0, 900, 1800, 2700})
        for (const Options& options : kOptions) {
          const DibBuffer source = randomPicture(p.width, p.height, bits, row % 2 ? 4 : 0, random);
          std::ostringstream what;
          what << "row " << row++ << ": " << bits << " bits " << p.width << "x" << p.height << " at " << tenths
               << " tenths, options " << &options - kOptions;
          ASSERT_TRUE(rendersExactly(source, atAngle(tenths, 100), options, what.str()));
        }
}

TEST(Exactness, RandomAnglesAndZoomsEveryWay) {
  constexpr int kZooms[] = {25, 60, 100, 170, 400};
  // Near the right angles, where the walk almost becomes a block copy, and anywhere.
  constexpr int kAngles[] = {1, 450, 899, 901, 1799, 2701, 3599};
  constexpr int kDrawsPerPicture = 12;
  std::mt19937 random(2);
  int row = 0;
  for (const Picture& p : kPictures)
    for (int bits : {8, 24})
      for (int draw = 0; draw < kDrawsPerPicture; ++draw) {
        const int tenths = draw % 2 ? kAngles[random() % std::size(kAngles)] : static_cast<int>(random() % 3600);
        // The large picture stays at 170 % or less, which keeps the test quick.
        const int zoom = std::min(kZooms[random() % std::size(kZooms)], p.width * p.height > 100000 ? 170 : 400);
        const Options& options = kOptions[static_cast<std::size_t>(draw) % std::size(kOptions)];
        const DibBuffer source = randomPicture(p.width, p.height, bits, draw % 3 ? 0 : 3, random);
        std::ostringstream what;
        what << "row " << row++ << ": " << bits << " bits " << p.width << "x" << p.height << " at " << tenths
             << " tenths, zoom " << zoom << ", options " << &options - kOptions;
        ASSERT_TRUE(rendersExactly(source, atAngle(tenths, zoom), options, what.str()));
      }
}

// Matrices no angle and zoom give: shears, mirrors, large and uneven steps.
TEST(Exactness, RandomMatricesEveryWay) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> step(-3.0f, 3.0f);
  int row = 0;
  while (row < 60) {
    const Dimension d{step(random), step(random), step(random), step(random)};
    const Picture& p = kPictures[random() % std::size(kPictures)];
    if (!acceptsDimension(Dimension{}, d) || !outputSize(d, p.width, p.height)) continue;
    const int bits = row % 2 ? 8 : 24;
    const DibBuffer source = randomPicture(p.width, p.height, bits, 0, random);
    std::ostringstream what;
    what << "row " << row++ << ": " << bits << " bits " << p.width << "x" << p.height << ", matrix " << d.colStepX
         << " " << d.colStepY << " " << d.rowStepX << " " << d.rowStepY;
    ASSERT_TRUE(rendersExactly(source, d, kOptions[0], what.str()));
  }
}

// A source wider than 32768 pixels has positions past 2^31 in 16.16 fixed point.
TEST(Exactness, WideSourcesEveryWay) {
  constexpr int kWidth = 40000;
  std::mt19937 random(4);
  int row = 0;
  for (int bits : {8, 24})
    for (int tenths : {0, 3, 1797, 1800}) {
      const DibBuffer source = randomPicture(kWidth, 3, bits, 0, random);
      std::ostringstream what;
      what << "row " << row++ << ": " << bits << " bits " << kWidth << "x3 at " << tenths << " tenths";
      ASSERT_TRUE(rendersExactly(source, atAngle(tenths, 100), kOptions[1], what.str()));
    }
}

}  // namespace
}  // namespace rotateimage
