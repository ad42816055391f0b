#include "rotateimage/rotate_image.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/little_endian.h"
#include "rotateimage/paint.h"
#include "dib_files.h"

namespace rotateimage {
namespace {

namespace dib = platform::dib;
using testing::noise;

std::string bytesOf(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }
std::vector<std::uint8_t> vectorOf(const std::string& s) { return {s.begin(), s.end()}; }

// A parent that records what the control asks it to repaint.
struct RecordingParent : ControlParent {
  std::vector<Rect> invalidated;
  void invalidateRect(const Rect& r, bool) override { invalidated.push_back(r); }
};

// A canvas that records the draw calls.
struct RecordingCanvas : Canvas {
  DeviceKind kind = DeviceKind::RasterDisplay;
  DeviceMapping map;
  struct Draw {
    Rect dest;
    int imageWidth;
    bool masked;
    std::vector<Rect> clip;
  };
  std::vector<Draw> draws;
  std::vector<Rect> frames;
  DeviceKind deviceKind() const override { return kind; }
  DeviceMapping mapping() const override { return map; }
  Rect clipBox() const override { return {-1000, -1000, 1000, 1000}; }
  void setFontColor(TColor) override {}
  void setBrushColor(TColor) override {}
  void drawDashedFrame(const Rect& r) override { frames.push_back(r); }
  void drawDib(const Rect& dest, const DibPicture& picture, std::span<const Rect> clip) override {
    draws.push_back({dest, readDibInfo(picture.image).width, !picture.mask.empty(), {clip.begin(), clip.end()}});
  }
  Pixels grab(const Rect&) override { return {}; }
  void put(Point, const Pixels&) override {}
};

// A display backed by pixels in memory, for see-through painting.
struct DisplayCanvas : MemoryCanvas {
  using MemoryCanvas::MemoryCanvas;
  DeviceKind deviceKind() const override { return DeviceKind::RasterDisplay; }
};

TEST(Streams, SaveThenLoadGivesTheSamePixels) {
  for (int bits : {4, 8, 24}) {
    const platform::Bitmap source = noise(13, 7, bits, static_cast<unsigned>(bits));
    TRotateImage first;
    first.SetBitmap(source);
    std::stringstream stream;
    first.SaveToStream(stream, clWhite);
    TRotateImage second;
    second.LoadFromStream(stream);
    platform::Bitmap a, b;
    first.SaveToBitmap(a, clWhite);
    second.SaveToBitmap(b, clWhite);
    EXPECT_EQ(a, b) << bits << " bits";
  }
}

TEST(Streams, TwoImagesBackToBackAndFailuresKeepThePosition) {
  TRotateImage image;
  image.SetBitmap(noise(3, 2, 8, 1));
  std::stringstream stream;
  image.SaveToStream(stream, clWhite);
  image.SetBitmap(noise(5, 4, 24, 2));
  image.SaveToStream(stream, clWhite);
  const auto firstSize = static_cast<std::streamoff>(*platform::readU32(vectorOf(stream.str()), dib::kFileSize));

  TRotateImage reader;
  reader.LoadFromStream(stream);
  EXPECT_EQ(readDibInfo(reader.Source()).width, 3);
  EXPECT_EQ(static_cast<std::streamoff>(stream.tellg()), firstSize);
  reader.LoadFromStream(stream);
  EXPECT_EQ(readDibInfo(reader.Source()).width, 5);
  EXPECT_EQ(readDibInfo(reader.Source()).bitCount, 24);

  // Nothing left: the component empties and the position stays.
  const auto end = stream.tellg();
  reader.LoadFromStream(stream);
  EXPECT_TRUE(reader.Source().empty());
  EXPECT_TRUE(reader.Rotated().empty());
  EXPECT_EQ(stream.tellg(), end);
  platform::Bitmap target(2, 2, 8);
  reader.SaveToBitmap(target, clWhite);
  EXPECT_TRUE(target.empty());
  std::stringstream none;
  reader.SaveToStream(none, clWhite);
  EXPECT_TRUE(none.str().empty());
}

// An image the format admits but that cannot be shown is passed over, so that the next
// read finds the image after it; one the format refuses leaves the stream where it was.
TEST(Streams, UnshowableImagesArePassedOverRefusedOnesAreNot) {
  struct Row {
    testing::HeaderPatch patch;
    bool passedOver;
  };
  const Row kRows[] = {
      {{"width 0", dib::kWidth, 0, 4}, true},                          // 0
      {{"negative width", dib::kWidth, 0xFFFFFFFD, 4}, true},          // 1: -3, rows of 3 pixels
      {{"height 0", dib::kHeight, 0, 4}, true},                        // 2
      {{"2 bits", dib::kBitCount, 2, 2}, true},                        // 3: a depth without conversion
      {{"RLE compression", dib::kCompression, 1, 4}, false},           // 4
      {{"two planes", dib::kPlanes, 2, 2}, false},                     // 5
      {{"not BM", dib::kType, 0x4142, 2}, false},                      // 6
      {{"reserved word", dib::kReserved1, 1, 2}, false},               // 7
      {{"0 bits", dib::kBitCount, 0, 2}, false},                       // 8
      {{"33 bits", dib::kBitCount, 33, 2}, false},                     // 9
      {{"palette of 257", dib::kClrUsed, 257, 4}, false},              // 10
      {{"short info header", dib::kInfoSize, 12, 4}, false},           // 11
      {{"width -3000", dib::kWidth, 0xFFFFF448, 4}, false},            // 12: its rows pass the end
      {{"offset past the end", dib::kOffBits, 0xFFFFFF00, 4}, false},  // 13
      {{"second reserved word", dib::kReserved2, 1, 2}, false},        // 14
      {{"bitfields at 8 bits", dib::kCompression, 3, 4}, false},       // 15
  };
  const auto good = testing::makeDib({.width = 5, .height = 1, .bitCount = 24}, std::vector<std::uint8_t>(16, 7));
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    auto bad = testing::makeDib({.width = 3, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}},
                                std::vector<std::uint8_t>(8, 1));
    testing::applyPatch(bad, kRows[i].patch);
    std::stringstream stream(bytesOf(bad) + bytesOf(good));
    TRotateImage reader;
    reader.LoadFromStream(stream);
    EXPECT_TRUE(reader.Source().empty()) << "row " << i << ": " << kRows[i].patch.what;
    const std::streamoff next = kRows[i].passedOver ? static_cast<std::streamoff>(bad.size()) : 0;
    EXPECT_EQ(static_cast<std::streamoff>(stream.tellg()), next) << "row " << i << ": " << kRows[i].patch.what;
    reader.LoadFromStream(stream);
    EXPECT_EQ(IsValidDib(reader.Source()), kRows[i].passedOver) << "row " << i << ": " << kRows[i].patch.what;
  }
  // A size field past the end passes over the rest of the stream, no further.
  auto bad = testing::makeDib({.width = 3, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}},
                              std::vector<std::uint8_t>(8, 1));
  platform::writeI32(bad, dib::kWidth, 0);
  platform::writeU32(bad, dib::kFileSize, 0xFFFFFFF0);
  std::stringstream stream(bytesOf(bad) + bytesOf(good));
  TRotateImage reader;
  reader.LoadFromStream(stream);
  EXPECT_EQ(static_cast<std::size_t>(stream.tellg()), bad.size() + good.size());

  // A size field of 0, shown or not: the position still moves past the headers, so a loop
  // reading images one after another always ends.
  for (const bool showable : {true, false}) {
    auto zero = testing::makeDib({.width = 3, .height = 2, .bitCount = 8, .palette = {0, 0xFFFFFF}},
                                 std::vector<std::uint8_t>(8, 1));
    if (!showable) platform::writeI32(zero, dib::kWidth, 0);
    platform::writeU32(zero, dib::kFileSize, 0);
    std::stringstream again(bytesOf(zero));
    reader.LoadFromStream(again);
    EXPECT_EQ(static_cast<std::size_t>(again.tellg()), dib::kHeadersSize) << "showable " << showable;
  }
}

TEST(Streams, ASixtyByteFileClaimingAHugeImageIsRefused) {
  auto bytes = testing::makeDib({.width = 2, .height = 1, .bitCount = 24}, {1, 2, 3, 4, 5, 6, 0, 0});
  platform::writeI32(bytes, dib::kWidth, 16384);
  platform::writeI32(bytes, dib::kHeight, 16384);
  ASSERT_EQ(bytes.size(), 62u);
  std::stringstream stream(bytesOf(bytes));
  TRotateImage image;
  image.LoadFromStream(stream);
  EXPECT_TRUE(image.Source().empty());
  EXPECT_EQ(stream.tellg(), 0);
}

TEST(Streams, BackgroundTakesAPaletteIndex) {
  struct Row {
    std::vector<platform::Rgb> palette;
    int index;            // the background's index in the saved image
    std::size_t entries;  // palette entries saved
  };
  std::vector<platform::Rgb> full(256, {10, 10, 10});
  full[200] = {250, 250, 250};
  const Row kRows[] = {
      {{{255, 255, 255}, {0, 0, 0}}, 0, 2},  // 0: white already at index 0
      {{{0, 0, 0}, {9, 9, 9}}, 2, 3},        // 1: white appended
      {full, 200, 256},                      // 2: full palette: the nearest entry
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    platform::Bitmap source(8, 8, 8);
    source.setPalette(kRows[i].palette);
    source.fill(1);
    TRotateImage image;
    image.SetBitmap(source);
    image.SetAngle(45);
    std::stringstream stream;
    image.SaveToStream(stream, clWhite);
    const auto saved = vectorOf(stream.str());
    ASSERT_TRUE(IsValidDib(saved)) << "row " << i;
    EXPECT_EQ(*platform::readU32(saved, dib::kClrUsed), kRows[i].entries) << "row " << i;
    EXPECT_EQ(*platform::readU32(saved, dib::kFileSize), saved.size()) << "row " << i;
    const DibInfo info = readDibInfo(saved);
    EXPECT_EQ(saved[info.pixelOffset], kRows[i].index) << "row " << i;  // a corner
    EXPECT_EQ(saved[info.pixelOffset + static_cast<std::size_t>(info.height / 2) * info.stride +
                    static_cast<std::size_t>(info.width / 2)],
              1)
        << "row " << i;
  }
}

TEST(Streams, SaveToBitmapPaintsTheBackground) {
  for (const auto& [colour, expected] :
       {std::pair{clBlack, 0x000000u}, {clWhite, 0xFFFFFFu}, {TColor{0x0000FF}, 0xFF0000u}}) {
    platform::Bitmap source(6, 6, 24);
    source.fill(0x00FF00);
    TRotateImage image;
    image.SetBitmap(source);
    image.SetAngle(30);
    platform::Bitmap out;
    image.SaveToBitmap(out, colour);
    EXPECT_EQ(out.pixel(0, 0), expected) << std::hex << colour;
    EXPECT_EQ(out.pixel(out.width() / 2, out.height() / 2), 0x00FF00u);
  }
}

// Files we save are read by ImageMagick with the colours SaveToBitmap gives, and load
// back through LoadFromFile.
TEST(Streams, FilesReadByImageMagickAndByUs) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick missing";
  const test_support::TempFolder folder;
  const auto& dir = folder.path();
  int row = 0;
  for (int bits : {4, 24}) {
    ++row;
    platform::Bitmap source = noise(9, 5, bits, static_cast<unsigned>(bits));
    if (bits == 4) source.setPalette({{1, 2, 3}, {200, 0, 0}, {0, 200, 0}});  // no white: one is appended
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 9; ++x) source.setPixel(x, y, bits == 4 ? source.pixel(x, y) % 3 : source.pixel(x, y));
    TRotateImage image;
    image.SetBitmap(source);
    image.SetAngle(30);
    const auto bmp = dir / ("out" + std::to_string(bits) + ".bmp");
    image.SaveToFile(bmp, clWhite);
    platform::Bitmap expected;
    image.SaveToBitmap(expected, clWhite);

    const auto pixels = testing::magickPixels(bmp);
    ASSERT_TRUE(pixels) << "row " << row;
    int wrong = 0;
    for (const testing::MagickPixel& p : *pixels) {
      const std::uint32_t v = expected.pixel(p.x, p.y);
      const platform::Rgb want = bits == 24
                                     ? platform::Rgb{static_cast<std::uint8_t>(v >> 16),
                                                     static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}
                                     : expected.palette()[v];
      wrong += want != platform::Rgb{static_cast<std::uint8_t>(p.r), static_cast<std::uint8_t>(p.g),
                                     static_cast<std::uint8_t>(p.b)};
    }
    EXPECT_EQ(pixels->size(), static_cast<std::size_t>(expected.width() * expected.height())) << "row " << row;
    EXPECT_EQ(wrong, 0) << "row " << row;

    TRotateImage reader;
    reader.LoadFromFile(bmp);
    platform::Bitmap reloaded;
    reader.SaveToBitmap(reloaded, clWhite);
    EXPECT_EQ(reloaded, expected) << "row " << row;
  }
  TRotateImage missing;
  EXPECT_THROW(missing.LoadFromFile(dir / "none.bmp"), std::runtime_error);
}

// A picture scaled below one pixel has nothing to show: it is neither painted nor saved,
// and the zoom it was asked for is the zoom it reads.
TEST(Rendering, AnOutputRoundingToNoPixelsShowsAndSavesNothing) {
  struct Row {
    int width, height, zoom;
    bool empty;
  };
  constexpr Row kRows[] = {
      {1, 1, 25, true},   // 0: 0.25 rounds to 0
      {2, 2, 25, true},   // 1: 0.5 rounds to even, 0
      {1, 1, 10, true},   // 2: taken as 25
      {6, 2, 25, true},   // 3: 2 x 0, no rows
      {3, 3, 25, false},  // 4: 0.75 rounds to 1
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    TRotateImage image;
    image.SetBounds(0, 0, 10, 10);
    image.SetBitmap(noise(row.width, row.height, 8, 3));
    image.SetZoom(row.zoom);
    EXPECT_EQ(image.Zoom(), 25) << "row " << i;
    EXPECT_EQ(IsValidDib(image.Rotated()), !row.empty) << "row " << i;
    RecordingCanvas canvas;
    image.Paint(canvas);
    EXPECT_EQ(canvas.draws.empty(), row.empty) << "row " << i;
    platform::Bitmap target(4, 4, 8);
    image.SaveToBitmap(target, clWhite);
    EXPECT_EQ(target.empty(), row.empty) << "row " << i;
    std::stringstream stream;
    image.SaveToStream(stream, clWhite);
    EXPECT_EQ(stream.str().empty(), row.empty) << "row " << i;
    // Back at full size the picture is there again.
    image.SetZoom(100);
    image.SaveToBitmap(target, clWhite);
    EXPECT_EQ(target.width(), row.width) << "row " << i;
  }
}

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Saving replaces the file in one step: a link stays a link, a private file stays
// private, and a file that may not be written or a missing folder is reported with the
// system's reason, the user's file untouched and no temporary file left behind.
// Without a picture there is nothing to save: the file is left as it was.
TEST(Streams, SaveToFileWithoutAPictureKeepsTheFile) {
  const test_support::TempFolder folder;
  const auto path = folder.path() / "empty.bmp";
  std::ofstream(path, std::ios::binary) << "the user's own file";
  TRotateImage image;
  EXPECT_THROW(image.SaveToFile(path, clWhite), std::system_error);
  EXPECT_EQ(fileText(path), "the user's own file");
}

TEST(Streams, SaveToFileLosesNothingAndGivesTheReason) {
  namespace fs = std::filesystem;
  enum class Before { Nothing, PrivateFile, LinkToFile, ReadOnlyFile };
  struct Row {
    const char* name;  // saved to, in the test folder
    Before before;
    std::errc error;  // std::errc{} for a save that works
  };
  const Row kRows[] = {
      {"new.bmp", Before::Nothing, std::errc{}},                                   // 0
      {"private.bmp", Before::PrivateFile, std::errc{}},                           // 1
      {"link.bmp", Before::LinkToFile, std::errc{}},                               // 2
      {"locked.bmp", Before::ReadOnlyFile, std::errc::permission_denied},          // 3
      {"missing/out.bmp", Before::Nothing, std::errc::no_such_file_or_directory},  // 4
  };
  TRotateImage image;
  image.SetBitmap(noise(5, 3, 8, 1));
  image.SetAngle(30);
  std::stringstream picture;
  image.SaveToStream(picture, clWhite);
  const std::string old = "the user's own file";
  const test_support::TempFolder folder;
  const auto& dir = folder.path();
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    folder.clear();
    const fs::path path = dir / row.name;
    const fs::path file = row.before == Before::LinkToFile ? dir / "target.bmp" : path;  // what is written
    if (row.before != Before::Nothing) std::ofstream(file, std::ios::binary) << old;
    if (row.before == Before::LinkToFile) fs::create_symlink("target.bmp", path);
    if (row.before == Before::PrivateFile) fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    if (row.before == Before::ReadOnlyFile) fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    const auto mode = fs::exists(file) ? fs::status(file).permissions() : fs::perms::none;

    std::error_code thrown;
    std::string message;
    try {
      image.SaveToFile(path, clWhite);
    } catch (const std::system_error& e) {
      thrown = e.code();
      message = e.what();
    }
    EXPECT_EQ(thrown, std::make_error_condition(row.error)) << "row " << i << ": " << message;
    if (row.error == std::errc{}) {
      EXPECT_EQ(fileText(file), picture.str()) << "row " << i;
    } else {
      EXPECT_NE(message.find(std::make_error_condition(row.error).message()), std::string::npos)
          << "row " << i << ": " << message;
      EXPECT_NE(message.find(row.name), std::string::npos) << "row " << i << ": " << message;
      if (row.before != Before::Nothing) {
        EXPECT_EQ(fileText(file), old) << "row " << i;
      }
    }
    if (mode != fs::perms::none) {
      EXPECT_EQ(fs::status(file).permissions(), mode) << "row " << i;
    }
    EXPECT_EQ(fs::is_symlink(path), row.before == Before::LinkToFile) << "row " << i;
    for (const auto& entry : fs::directory_iterator(dir))
      EXPECT_NE(entry.path().extension(), ".tmp") << "row " << i << ": " << entry.path();
  }
}

TEST(Transparency, AutoTakesTheBottomLeftPixel) {
  platform::Bitmap source(4, 3, 24);
  source.fill(0x101010);
  source.setPixel(0, 2, 0xABCDEF);  // bottom-left
  source.setPixel(3, 0, 0xABCDEF);
  TRotateImage image;
  image.SetBitmap(source);
  image.SetTransparent(true);
  EXPECT_EQ(image.GetTransparentColor(), 0xEFCDABu);  // as a TColor, red low
  const DibInfo mask = readDibInfo(image.Mask());
  int background = 0;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      background +=
          image.Mask()[mask.pixelOffset + static_cast<std::size_t>(y) * mask.stride + static_cast<std::size_t>(x)];
  EXPECT_EQ(background, 2);
  image.SetTransparentColor(0x101010);
  EXPECT_TRUE(image.TransparentModeIsFixed());
  EXPECT_EQ(image.GetTransparentColor(), 0x101010u);
}

TEST(Transparency, FixedColourMissingFromThePaletteMasksNothing) {
  platform::Bitmap source(3, 3, 8);
  source.setPalette({{0, 0, 0}, {255, 0, 0}});
  TRotateImage image;
  image.SetBitmap(source);
  image.SetTransparent(true);
  image.SetTransparentColor(0x00FF00);  // green: not in the palette
  const DibInfo mask = readDibInfo(image.Mask());
  for (int x = 0; x < 3; ++x) EXPECT_EQ(image.Mask()[mask.pixelOffset + static_cast<std::size_t>(x)], 0);
  image.SetTransparentColor(0x0000FF);  // red: index 1, absent from the pixels
  image.SetTransparentColor(0x000000);  // black: index 0, every pixel
  for (int x = 0; x < 3; ++x) EXPECT_EQ(image.Mask()[mask.pixelOffset + static_cast<std::size_t>(x)], 1);
}

TEST(Colours, SystemColoursTakeTheColoursTheirIndicesStandFor) {
  SystemColours desktop;
  desktop.setColour(SystemColour::BtnFace, 0x00336699);
  const SystemColours standard;
  struct Row {
    TColor colour;
    const SystemColours& system;
    std::uint32_t expected;  // red low, as a TColor
  };
  const Row kRows[] = {
      {0x00123456, standard, 0x123456},                          // 0: a plain colour
      {0x02123456, standard, 0x123456},                          // 1: the flag byte dropped
      {systemColor(SystemColour::BtnFace), standard, 0xC8D0D4},  // 2: 212, 208, 200
      {systemColor(SystemColour::Window), standard, 0xFFFFFF},   // 3
      {systemColor(SystemColour::InfoBk), standard, 0xE1FFFF},   // 4: 255, 255, 225
      {systemColor(SystemColour::BtnFace), desktop, 0x336699},   // 5: the desktop's own
      {systemColor(SystemColour::Window), desktop, 0xFFFFFF},    // 6: left as it was
      {0x8000001F, standard, 0x000000},                          // 7: no such index
      {0x800000FF, standard, 0x000000},                          // 8
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    EXPECT_EQ(ColorToRGB(kRows[i].colour, kRows[i].system), kRows[i].expected) << "row " << i;
}

// Saved backgrounds and the fixed transparent colour follow the control's system colours,
// also when they change under a picture already turned.
TEST(Colours, BackgroundAndTransparentColourFollowTheSystemColours) {
  constexpr TColor kBtnFace = systemColor(SystemColour::BtnFace);
  platform::Bitmap source(4, 4, 24);
  source.fill(0x102030);
  source.setPixel(1, 1, 0xD4D0C8);  // the standard button face
  source.setPixel(2, 2, 0x996633);  // the desktop's below
  TRotateImage image;
  image.SetBitmap(source);
  image.SetAngle(45);
  platform::Bitmap saved;
  image.SaveToBitmap(saved, kBtnFace);
  EXPECT_EQ(saved.pixel(0, 0), 0xD4D0C8u);
  std::stringstream stream;
  image.SaveToStream(stream, kBtnFace);
  const auto bytes = vectorOf(stream.str());
  EXPECT_EQ(*platform::readU32(bytes, readDibInfo(bytes).pixelOffset) & 0xFFFFFF, 0xD4D0C8u);

  image.SetAngle(0);
  image.SetTransparent(true);
  image.SetTransparentColor(kBtnFace);
  const auto background = [&image] {
    const DibInfo mask = readDibInfo(image.Mask());
    std::vector<Point> at;
    for (int y = 0; y < mask.height; ++y)
      for (int x = 0; x < mask.width; ++x)
        if (image.Mask()[mask.pixelOffset + static_cast<std::size_t>(y) * mask.stride + static_cast<std::size_t>(x)] ==
            1)
          at.push_back({x, mask.height - 1 - y});
    return at;
  };
  EXPECT_EQ(background(), (std::vector<Point>{{1, 1}}));
  SystemColours desktop;
  desktop.setColour(SystemColour::BtnFace, 0x336699);
  image.SetSystemColours(desktop);
  EXPECT_EQ(background(), (std::vector<Point>{{2, 2}}));
}

// Any angle is taken as the same turn within 0..3599 tenths, and reads back as that; the
// picture is the one that angle gives.
TEST(Control, AnglesWrapIntoOneTurn) {
  struct Row {
    bool tenths;  // set through SetAngleEx, else SetAngle in degrees
    int value;
    int angleEx;  // read back
  };
  constexpr Row kRows[] = {
      {true, -900, 2700},                              // 0
      {true, -1, 3599},                                // 1
      {true, -3600, 0},                                // 2
      {true, -7201, 3599},                             // 3
      {true, 3600, 0},                                 // 4
      {true, 7324, 124},                               // 5
      {true, std::numeric_limits<int>::min(), 2752},   // 6: -2^31 = -596524 turns + 2752
      {true, std::numeric_limits<int>::max(), 847},    // 7
      {false, -90, 2700},                              // 8
      {false, -450, 2700},                             // 9
      {false, -359, 10},                               // 10
      {false, 720, 0},                                 // 11
      {false, std::numeric_limits<int>::min(), 2320},  // 12: -2^31 degrees = -128 + turns
  };
  const platform::Bitmap source = noise(7, 4, 24, 3);
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    TRotateImage image;
    image.SetBitmap(source);
    if (row.tenths) {
      image.SetAngleEx(row.value);
    } else {
      image.SetAngle(row.value);
    }
    EXPECT_EQ(image.AngleEx(), row.angleEx) << "row " << i;
    if (!row.tenths) {
      EXPECT_EQ(image.Angle(), row.angleEx / 10) << "row " << i;
    }
    TRotateImage direct;
    direct.SetBitmap(source);
    direct.SetAngleEx(row.angleEx);
    EXPECT_EQ(image.Rotated(), direct.Rotated()) << "row " << i;
  }
}

TEST(Control, PivotAndInvalidatedArea) {
  RecordingParent parent;
  TRotateImage image;
  image.SetParent(&parent);
  image.SetBounds(100, 50, 40, 30);
  image.SetBitmap(noise(10, 6, 8, 4));
  ASSERT_FALSE(parent.invalidated.empty());
  // Centred: (100 + 20 - 5, 50 + 15 - 3).
  EXPECT_EQ(parent.invalidated.back(), (Rect{115, 62, 125, 68}));
  image.SetPivot(true);  // pivot (0, 0): the picture's top-left pixel at the centre
  EXPECT_EQ(parent.invalidated.back(), (Rect{120, 65, 130, 71}));
  RecordingCanvas canvas;
  image.Paint(canvas);
  ASSERT_EQ(canvas.draws.size(), 1u);
  EXPECT_EQ(canvas.draws[0].dest, (Rect{20, 15, 30, 21}));
  EXPECT_TRUE(canvas.draws[0].masked);
  // Clipped to the control.
  image.SetPivotX(-12);  // shift 5 + 12
  EXPECT_EQ(parent.invalidated.back(), (Rect{132, 65, 140, 71}));
}

TEST(Control, HitTestThroughTheMask) {
  platform::Bitmap source(4, 4, 24);
  source.fill(0xFFFFFF);
  source.setPixel(1, 1, 0x000001);
  TRotateImage image;
  image.SetBounds(0, 0, 8, 8);
  image.SetBitmap(source);
  image.SetTransparent(true);
  image.SetTransparentColor(0xFFFFFF);
  EXPECT_EQ(image.CMHitTest({0, 0}), 1);  // the toolkit's test while TransparentMouse is off
  image.SetTransparentMouse(true);
  // The picture sits at (2, 2)..(6, 6); its pixel (1, 1) is at (3, 3).
  struct Row {
    Point at;
    int hit;
  };
  constexpr Row kRows[] = {{{3, 3}, 1}, {{2, 2}, 0}, {{4, 3}, 0}, {{0, 0}, 0}, {{7, 7}, 0}};
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    EXPECT_EQ(image.CMHitTest(kRows[i].at), kRows[i].hit) << "row " << i;
}

TEST(Painting, MaskRunsBecomeRowRectangles) {
  platform::Bitmap source(3, 2, 24);
  source.setPixel(1, 0, 0xFFFFFF);
  source.setPixel(0, 1, 0xFFFFFF);
  source.setPixel(1, 1, 0xFFFFFF);
  TRotateImage image;
  image.SetBitmap(source);
  image.SetTransparent(true);
  image.SetTransparentColor(0xFFFFFF);
  EXPECT_EQ(MaskToRegion(image.Mask()), (std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 3, 1}, {2, 1, 3, 2}}));
  const DeviceMapping printer{2.0, 2.0, 10.0, 20.0};
  EXPECT_EQ(MaskToRegion(image.Mask(), &printer, true),
            (std::vector<Rect>{{11, 20, 11, 22}, {15, 20, 15, 22}, {15, 22, 15, 24}}));
}

TEST(Painting, SeeThroughBlendByLevel) {
  struct Row {
    int level;
    std::uint8_t q, p, expected;
  };
  constexpr Row kRows[] = {
      {1, 255, 0, 224},    // 0: 255 - 31
      {2, 255, 0, 192},    // 1
      {3, 255, 0, 161},    // 2: 255 - 63 - 31
      {4, 255, 0, 128},    // 3
      {5, 255, 0, 94},     // 4: 63 + 31
      {6, 255, 0, 63},     // 5
      {7, 255, 0, 31},     // 6
      {4, 0, 255, 127},    // 7
      {7, 0, 255, 224},    // 8: 255 - 31
      {3, 100, 200, 138},  // 9: 100 - 25 - 12 + 50 + 25
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    EXPECT_EQ(DrawMix(kRows[i].level, kRows[i].q, kRows[i].p), kRows[i].expected) << "row " << i;
  for (int level = 1; level <= 7; ++level)
    for (int q = 0; q < 256; ++q)
      for (int p = 0; p < 256; ++p) {
        const int v = DrawMix(level, static_cast<std::uint8_t>(q), static_cast<std::uint8_t>(p));
        const int ideal = (q * (8 - level) + p * level) / 8;
        ASSERT_LE(std::abs(v - ideal), 2) << level << " " << q << " " << p;
      }
}

// A picture drawn onto a larger or smaller rectangle takes, for each pixel, the picture
// pixel its top-left corner falls on; clipping and the canvas's edges cut it.
TEST(Painting, MemoryCanvasStretchesByNearestPixel) {
  const platform::Bitmap picture = noise(3, 2, 24, 5);
  const auto dib = picture.saveToDib();
  struct Row {
    Rect dest;
    std::vector<Rect> clip;  // device coordinates
  };
  const Row kRows[] = {
      {{1, 1, 7, 5}, {}},                            // 0: twice as wide and high
      {{-2, 0, 7, 3}, {}},                           // 1: three times as wide, off the left edge
      {{0, 0, 2, 1}, {}},                            // 2: shrunk
      {{1, 1, 7, 5}, {{2, 0, 5, 3}, {0, 4, 8, 5}}},  // 3: clipped
  };
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    Pixels screen(8, 6);
    MemoryCanvas canvas(screen);
    canvas.drawDib(row.dest, {dib, {}}, row.clip);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool clipped = !row.clip.empty() && std::ranges::none_of(row.clip, [&](const Rect& c) {
          return x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        });
        const bool inside = x >= row.dest.left && x < row.dest.right && y >= row.dest.top && y < row.dest.bottom;
        std::uint32_t expected = 0;
        if (inside && !clipped)
          expected = Pixels::kOpaque | picture.pixel((x - row.dest.left) * 3 / row.dest.width(),
                                                     (y - row.dest.top) * 2 / row.dest.height());
        ASSERT_EQ(screen.row(y)[static_cast<std::size_t>(x)], expected) << "row " << i << " at " << x << "," << y;
      }
  }
}

// Every painted byte q over every background byte p, at every level, blended by the
// memory canvas a pixel word at a time: the blend table's own formulas, byte for byte,
// with the three bytes of a pixel all different so that no carry may cross between them.
TEST(Painting, SeeThroughPixelsBlendAsTheTableSays) {
  using Formula = int (*)(int q, int p);
  constexpr Formula kTable[] = {
      nullptr,
      [](int q, int p) { return q - q / 8 + p / 8; },                  // 1
      [](int q, int p) { return q - q / 4 + p / 4; },                  // 2
      [](int q, int p) { return q - q / 4 - q / 8 + p / 4 + p / 8; },  // 3
      [](int q, int p) { return q - q / 2 + p / 2; },                  // 4
      [](int q, int p) { return q / 4 + q / 8 + p - p / 4 - p / 8; },  // 5
      [](int q, int p) { return q / 4 + p - p / 4; },                  // 6
      [](int q, int p) { return q / 8 + p - p / 8; },                  // 7
  };
  // Blue, green and red of a pixel from one value 0..255.
  const auto bytes = [](int v) { return std::array<int, 3>{v, 255 - v, v ^ 0x5A}; };
  const auto word = [](const std::array<int, 3>& b) {
    return static_cast<std::uint32_t>(b[2] << 16 | b[1] << 8 | b[0]);
  };
  platform::Bitmap painted(256, 256, 24);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) painted.setPixel(x, y, word(bytes(x)));
  const auto dib = painted.saveToDib();
  for (int level = 1; level <= 7; ++level) {
    Pixels screen(256, 256);
    for (int y = 0; y < 256; ++y) std::ranges::fill(screen.row(y), Pixels::kOpaque | word(bytes(y)));
    MemoryCanvas canvas(screen, {}, level);
    canvas.drawDib({0, 0, 256, 256}, {dib, {}}, {});
    for (int p = 0; p < 256; ++p)
      for (int q = 0; q < 256; ++q) {
        const auto qs = bytes(q), ps = bytes(p);
        const std::array<int, 3> expected{kTable[level](qs[0], ps[0]), kTable[level](qs[1], ps[1]),
                                          kTable[level](qs[2], ps[2])};
        ASSERT_EQ(screen.row(p)[static_cast<std::size_t>(q)], Pixels::kOpaque | word(expected))
            << "level " << level << " q " << q << " p " << p;
        for (int i = 0; i < 3; ++i)
          ASSERT_EQ(DrawMix(level, static_cast<std::uint8_t>(qs[i]), static_cast<std::uint8_t>(ps[i])), expected[i]);
      }
  }
}

TEST(Painting, HalfStrengthOverTheBackground) {
  Pixels screen(10, 10);
  for (int y = 0; y < screen.height(); ++y) std::ranges::fill(screen.row(y), Pixels::kOpaque);
  platform::Bitmap source(4, 4, 24);
  source.fill(0xC8C8C8);
  TRotateImage image;
  image.SetBounds(0, 0, 10, 10);
  image.SetBitmap(source);
  image.SetTrnsIndex(4);
  DisplayCanvas display(screen);
  image.Paint(display);
  EXPECT_EQ(screen.row(5)[5], 0xFF646464u);  // 200 - 100 + 0
  EXPECT_EQ(screen.row(0)[0], Pixels::kOpaque);
  // Not on a printer: there the level is ignored.
  RecordingCanvas printer;
  printer.kind = DeviceKind::Printer;
  image.Paint(printer);
  ASSERT_EQ(printer.draws.size(), 1u);
}

TEST(Painting, SeeThroughMemoryPaintsEachPixelOnce) {
  const auto black = platform::Bitmap(4, 1, 24).saveToDib();
  // Clip rectangles that overlap in device columns 1..2, and a frame whose corners both
  // of its sides reach: black over white at half strength, blended once, is 255 - 128.
  const std::vector<Rect> clip{{0, 0, 3, 1}, {1, 0, 4, 1}};
  Pixels screen(4, 3);
  for (int y = 0; y < screen.height(); ++y) std::ranges::fill(screen.row(y), 0xFFFFFFFFu);
  MemoryCanvas canvas(screen, {}, 4);
  canvas.drawDib({0, 0, 4, 1}, {black, {}}, clip);
  canvas.drawDashedFrame({0, 1, 4, 3});
  for (std::uint32_t pixel : screen.row(0)) EXPECT_EQ(pixel, 0xFF7F7F7Fu);
  EXPECT_EQ(screen.row(1)[0], 0xFF7F7F7Fu);  // the top-left corner, dotted
  EXPECT_EQ(screen.row(2)[3], 0xFF7F7F7Fu);  // the bottom-right corner
}

// Paper shows the picture at its screen size, rendered finer where a render may run; inside
// BeginUpdate the picture shown is printed as it is.
TEST(Painting, PrinterOversamplesAndRestoresTheScreenImage) {
  struct Row {
    int quality;
    bool deferred;
    int fineness;  // image pixels per logical pixel
  };
  constexpr Row kRows[] = {{4, false, 2}, {16, false, 4}, {1, false, 1}, {4, true, 1}, {16, true, 1}};
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    TRotateImage image;
    image.SetBounds(0, 0, 20, 20);
    image.SetBitmap(noise(8, 6, 24, 9));
    image.SetAngle(30);
    const DibBuffer screen = image.Rotated();
    const Dimension matrix = image.GetDimension();
    RecordingCanvas printer;
    printer.kind = DeviceKind::Printer;
    printer.map = {4.0, 4.0, 0.0, 0.0};
    image.SetPrintQuality(kRows[i].quality);
    if (kRows[i].deferred) image.BeginUpdate();
    image.Paint(printer);
    ASSERT_EQ(printer.draws.size(), 1u) << "row " << i;
    const auto& draw = printer.draws[0];
    const int screenWidth = readDibInfo(screen).width;
    EXPECT_NEAR(draw.imageWidth, kRows[i].fineness * screenWidth, 1) << "row " << i;
    EXPECT_NEAR(draw.dest.width(), screenWidth, 1) << "row " << i;  // the same logical area
    EXPECT_FALSE(draw.clip.empty()) << "row " << i;
    EXPECT_EQ(image.Rotated(), screen) << "row " << i;
    EXPECT_EQ(image.GetDimension(), matrix) << "row " << i;
    EXPECT_TRUE(image.Visible()) << "row " << i;
    if (kRows[i].deferred) image.EndUpdate();
    EXPECT_EQ(image.Rotated(), screen) << "row " << i;
  }
}

TEST(Control, DesignTimeFrameAndLoading) {
  TRotateImage image;
  image.SetBounds(0, 0, 12, 9);
  image.SetDesigning(true);
  RecordingCanvas canvas;
  image.Paint(canvas);
  ASSERT_EQ(canvas.frames.size(), 1u);
  EXPECT_EQ(canvas.frames[0], (Rect{0, 0, 12, 9}));
  TRotateImage loading;
  loading.BeginLoading();
  loading.SetBitmap(noise(4, 4, 8, 1));
  loading.SetAngle(90);
  EXPECT_EQ(loading.RenderCount(), 0);
  loading.Loaded();
  EXPECT_EQ(loading.RenderCount(), 1);
}

}  // namespace
}  // namespace rotateimage
