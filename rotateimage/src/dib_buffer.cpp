#include "rotateimage/dib_buffer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>

#include "platform/little_endian.h"

namespace rotateimage {
namespace dib = platform::dib;
using platform::readU32;

namespace {

// A channel given by a bit mask, scaled to 0..255 with a truncating division.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  std::uint8_t operator()(std::uint32_t pixel) const {
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255u / max);
  }
};

std::optional<Channel> channelFor(std::uint32_t mask) {
  if (mask == 0) return std::nullopt;
  const int shift = std::countr_zero(mask);
  const std::uint32_t max = mask >> shift;
  if ((max & (max + 1)) != 0) return std::nullopt;  // the bits must be contiguous
  return Channel{mask, shift, max};
}

// Red, green and blue masks: the file's own for bitfields, otherwise 5-5-5 or 8-8-8.
std::optional<std::array<Channel, 3>> channelsFor(std::span<const std::uint8_t> bytes, const dib::Header& h) {
  std::array<std::uint32_t, 3> masks = h.bitCount == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                        : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
  if (h.compression == dib::kCompressionBitfields) {
    for (std::size_t i = 0; i < 3; ++i) {
      const auto mask = readU32(bytes, dib::kHeadersSize + 4 * i);
      if (!mask) return std::nullopt;
      masks[i] = *mask;
    }
  }
  std::array<Channel, 3> channels;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto channel = channelFor(masks[i]);
    if (!channel || (h.bitCount == 16 && masks[i] > 0xFFFF)) return std::nullopt;
    channels[i] = *channel;
  }
  return channels;
}

std::uint32_t pixelWord(std::span<const std::uint8_t> row, std::size_t x, int bitCount) {
  if (bitCount == 16) return static_cast<std::uint32_t>(row[2 * x] | row[2 * x + 1] << 8);
  return static_cast<std::uint32_t>(row[4 * x]) | static_cast<std::uint32_t>(row[4 * x + 1]) << 8 |
         static_cast<std::uint32_t>(row[4 * x + 2]) << 16 | static_cast<std::uint32_t>(row[4 * x + 3]) << 24;
}

}  // namespace

bool IsValidDib(std::span<const std::uint8_t> buffer) {
  return dib::judge(buffer, dib::kNormalised).verdict == dib::Verdict::Readable;
}

DibInfo readDibInfo(std::span<const std::uint8_t> buffer) { return dib::judge(buffer, dib::kNormalised).layout; }

std::optional<DibBuffer> normaliseDib(std::span<const std::uint8_t> bytes) {
  const dib::Judgement judgement = dib::judge(bytes, kLoadRules);
  if (judgement.verdict != dib::Verdict::Readable) return std::nullopt;
  const dib::Layout& src = judgement.layout;
  const dib::Header h = *dib::readHeader(bytes);
  const bool indexed = src.bitCount <= 8;

  std::optional<std::array<Channel, 3>> channels;
  if (src.bitCount == 16 || src.bitCount == 32) {
    channels = channelsFor(bytes, h);
    if (!channels) return std::nullopt;
  }

  const int outBits = indexed ? 8 : 24;
  const std::size_t paletteSize = src.bitCount == 1 ? 2 : indexed ? src.paletteSize : 0;
  const dib::Header out = dib::newHeader(src.width, src.height, outBits, paletteSize);
  const std::size_t outStride =
      static_cast<std::size_t>(dib::stride(static_cast<std::uint64_t>(src.width), static_cast<unsigned>(outBits)));
  DibBuffer result(out.fileSize + (indexed ? 0u : 1u), 0);  // 24 bits: the spare byte
  dib::writeHeader(result, out);

  // The palette: a 1-bit image always gets black and white, whatever its file holds.
  if (src.bitCount == 1) {
    std::fill_n(result.begin() + dib::kHeadersSize + 4, 3, std::uint8_t{0xFF});
  } else if (indexed) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(src.paletteOffset), 4 * paletteSize,
                result.begin() + dib::kHeadersSize);
  }

  const auto height = static_cast<std::size_t>(src.height);
  for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
    const auto in = bytes.subspan(static_cast<std::size_t>(src.pixelOffset + fileRow * src.stride),
                                  static_cast<std::size_t>(src.stride));
    const std::size_t y = src.topDown ? height - 1 - fileRow : fileRow;
    const auto row = std::span<std::uint8_t>(result).subspan(out.offBits + y * outStride, outStride);
    for (std::size_t x = 0; x < static_cast<std::size_t>(src.width); ++x) {
      switch (src.bitCount) {
        case 1: row[x] = (in[x / 8] >> (7 - x % 8)) & 1; break;
        case 4: row[x] = (x % 2 == 0) ? in[x / 2] >> 4 : in[x / 2] & 0x0F; break;
        case 8: row[x] = in[x]; break;
        case 24:
          std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(3 * x), 3,
                      row.begin() + static_cast<std::ptrdiff_t>(3 * x));
          break;
        default: {
          const std::uint32_t word = pixelWord(in, x, src.bitCount);
          row[3 * x] = (*channels)[2](word);
          row[3 * x + 1] = (*channels)[1](word);
          row[3 * x + 2] = (*channels)[0](word);
          break;
        }
      }
    }
  }
  return result;
}

PaletteChoice FindPaletteIndex(std::span<const std::uint8_t> palette, std::uint32_t clrUsed, std::uint32_t colour) {
  const int red = static_cast<int>(colour >> 16 & 0xFF);
  const int green = static_cast<int>(colour >> 8 & 0xFF);
  const int blue = static_cast<int>(colour & 0xFF);
  const std::size_t entries = palette.size() / dib::kPaletteEntrySize;
  for (std::size_t i = 0; i < entries; ++i) {
    const auto e = palette.subspan(4 * i, 3);
    if (e[0] == blue && e[1] == green && e[2] == red) return {static_cast<std::uint8_t>(i), false};
  }
  if (clrUsed >= 1 && clrUsed <= 254) return {static_cast<std::uint8_t>(clrUsed), true};
  std::size_t best = 0;
  int bestDistance = INT_MAX;
  for (std::size_t i = 0; i < entries; ++i) {
    const auto e = palette.subspan(4 * i, 3);
    const int db = e[0] - blue, dg = e[1] - green, dr = e[2] - red;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return {static_cast<std::uint8_t>(best), false};
}

bool paintBackground(DibBuffer& image, std::span<const std::uint8_t> mask, std::uint32_t colour) {
  const DibInfo info = readDibInfo(image);
  const DibInfo masks = readDibInfo(mask);
  PaletteChoice choice;
  if (info.bitCount == 8) {
    const auto palette = std::span(image).subspan(static_cast<std::size_t>(info.paletteOffset),
                                                  static_cast<std::size_t>(dib::kPaletteEntrySize * info.paletteSize));
    choice = FindPaletteIndex(palette, dib::readHeader(image)->clrUsed, colour);
  }
  for (int y = 0; y < info.height; ++y) {
    const std::uint8_t* m = mask.data() + masks.pixelOffset + static_cast<std::size_t>(y) * masks.stride;
    std::uint8_t* row = image.data() + info.pixelOffset + static_cast<std::size_t>(y) * info.stride;
    for (int x = 0; x < info.width; ++x) {
      if (m[x] != 1) continue;
      if (info.bitCount == 8) {
        row[x] = choice.index;
      } else {
        row[3 * x] = static_cast<std::uint8_t>(colour);
        row[3 * x + 1] = static_cast<std::uint8_t>(colour >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(colour >> 16);
      }
    }
  }
  return choice.appended;
}

DibBuffer headersWithEntry(std::span<const std::uint8_t> image, std::uint32_t colour) {
  const DibInfo info = readDibInfo(image);
  DibBuffer headers(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(info.pixelOffset));
  dib::Header header = *dib::readHeader(image);
  header.fileSize += dib::kPaletteEntrySize;
  header.offBits += dib::kPaletteEntrySize;
  header.clrUsed += 1;
  dib::writeHeader(headers, header);
  headers.insert(headers.end(), {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                                 static_cast<std::uint8_t>(colour >> 16), 0});
  return headers;
}

}  // namespace rotateimage
