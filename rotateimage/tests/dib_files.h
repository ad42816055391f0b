// Hand-built DIB file images for the tests, laid out from the format's definition, and
// pictures to build them from.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/dib.h"
#include "platform/little_endian.h"

namespace rotateimage::testing {

struct DibFields {
  int width = 1;
  int height = 1;
  int bitCount = 8;
  std::vector<std::uint32_t> palette = {};  // 0x00RRGGBB entries
  std::uint32_t clrUsed = 0xFFFFFFFF;       // default: palette.size()
  std::uint32_t gap = 0;                    // bytes between palette and rows
  std::uint32_t infoSize = 40;
};

// `rows` holds the stored rows in file order, each exactly stride bytes.
inline std::vector<std::uint8_t> makeDib(const DibFields& fields, const std::vector<std::uint8_t>& rows) {
  namespace dib = platform::dib;
  const std::uint32_t paletteAt = 14 + fields.infoSize;
  const std::uint32_t offBits = paletteAt + 4 * static_cast<std::uint32_t>(fields.palette.size()) + fields.gap;
  std::vector<std::uint8_t> out(offBits + rows.size(), 0);
  platform::writeU16(out, dib::kType, dib::kSignature);
  platform::writeU32(out, dib::kFileSize, static_cast<std::uint32_t>(out.size()));
  platform::writeU32(out, dib::kOffBits, offBits);
  platform::writeU32(out, dib::kInfoSize, fields.infoSize);
  platform::writeI32(out, dib::kWidth, fields.width);
  platform::writeI32(out, dib::kHeight, fields.height);
  platform::writeU16(out, dib::kPlanes, 1);
  platform::writeU16(out, dib::kBitCount, static_cast<std::uint16_t>(fields.bitCount));
  platform::writeU32(out, dib::kClrUsed,
                     fields.clrUsed == 0xFFFFFFFF ? static_cast<std::uint32_t>(fields.palette.size()) : fields.clrUsed);
  for (std::size_t i = 0; i < fields.palette.size(); ++i) platform::writeU32(out, paletteAt + 4 * i, fields.palette[i]);
  std::copy(rows.begin(), rows.end(), out.begin() + offBits);
  return out;
}

// One header field overwritten with a bad value: `width` bytes (2 or 4) at `offset`.
struct HeaderPatch {
  const char* what;
  std::size_t offset;
  std::uint32_t value;
  int width;
};

inline void applyPatch(std::vector<std::uint8_t>& bytes, const HeaderPatch& patch) {
  if (patch.width == 2) {
    platform::writeU16(bytes, patch.offset, static_cast<std::uint16_t>(patch.value));
  } else {
    platform::writeU32(bytes, patch.offset, patch.value);
  }
}

// A pixel as ImageMagick reads it from a file: column, row from the top, 8-bit channels.
struct MagickPixel {
  int x, y;
  unsigned r, g, b;
};

// Every pixel of `image` as ImageMagick's `convert ... txt:-` lists it; nothing when
// convert fails or prints a line it cannot parse.
inline std::optional<std::vector<MagickPixel>> magickPixels(const std::filesystem::path& image) {
  const auto txt = std::filesystem::path(image).replace_extension(".txt");
  const std::string dump = "convert " + image.string() + " -depth 8 txt:- > " + txt.string();
  if (std::system(dump.c_str()) != 0) return std::nullopt;
  std::ifstream in(txt);
  std::string line;
  std::getline(in, line);  // the "# ImageMagick pixel enumeration" header
  std::vector<MagickPixel> pixels;
  while (std::getline(in, line)) {
    MagickPixel p{};
    if (std::sscanf(line.c_str(), "%d,%d: (%u,%u,%u", &p.x, &p.y, &p.r, &p.g, &p.b) != 5) return std::nullopt;
    pixels.push_back(p);
  }
  return pixels;
}

// A picture whose pixels all differ as far as the depth allows.
inline platform::Bitmap noise(int width, int height, int bits, unsigned seed) {
  std::mt19937 random(seed);
  platform::Bitmap bitmap(width, height, bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.setPixel(x, y, static_cast<std::uint32_t>(random()) & (bits == 24 ? 0xFFFFFFu : (1u << bits) - 1));
  return bitmap;
}

}  // namespace rotateimage::testing
