#include "rotateimage/dib_buffer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>

#include "platform/little_endian.h"

namespace rotateimage {
namespace dib = platform::dib;
using platform::readI32;
using platform::readU16;
using platform::readU32;

namespace {

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks after a 40-byte header

std::size_t defaultPaletteSize(int bitCount, std::uint32_t clrUsed) {
  if (clrUsed != 0) return clrUsed;
  if (bitCount == 4) return 16;
  if (bitCount == 8) return 256;
  return 0;
}

bool knownDepth(unsigned bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

// Where the rows of an admitted image lie: width and height as magnitudes, as a reader
// steps over them whatever their sign.
struct SourceLayout {
  std::uint64_t width, height, stride, pixelOffset, paletteSize;
  bool topDown;
};

std::uint64_t magnitude(std::int32_t v) { return static_cast<std::uint64_t>(v < 0 ? -static_cast<std::int64_t>(v) : v); }

bool bitfields(const dib::FileHeaders& h) {
  return h.compression == kCompressionBitfields && (h.bitCount == 16 || h.bitCount == 32);
}

// The format's own header checks: an image failing them is no image at all.
bool admitted(const dib::FileHeaders& h) {
  return h.type == dib::kSignature && h.reserved1 == 0 && h.reserved2 == 0 && h.infoSize >= dib::kInfoHeaderSize &&
         h.planes == 1 && (h.compression == kCompressionRgb || bitfields(h)) && h.bitCount >= 1 && h.bitCount <= 32 &&
         h.clrUsed <= 256;
}

SourceLayout layoutOf(const dib::FileHeaders& h) {
  SourceLayout layout{};
  layout.topDown = h.height < 0;
  layout.width = magnitude(h.width);
  layout.height = magnitude(h.height);
  layout.stride = dib::stride(layout.width, h.bitCount);
  layout.paletteSize = defaultPaletteSize(h.bitCount, h.clrUsed);
  // A 40-byte header is followed by the three masks when they are given as bitfields.
  const std::uint64_t masks = bitfields(h) && h.infoSize < dib::kInfoHeaderSize + kMaskBytes ? kMaskBytes : 0;
  const std::uint64_t afterPalette =
      dib::kFileHeaderSize + std::uint64_t{h.infoSize} + masks + dib::kPaletteEntrySize * layout.paletteSize;
  layout.pixelOffset = std::max<std::uint64_t>(h.offBits, afterPalette);
  return layout;
}

// The rows end within `available` bytes; divided rather than multiplied, so that no
// product can wrap.
bool rowsFit(const SourceLayout& layout, std::uint64_t available) {
  if (layout.pixelOffset > available) return false;
  return layout.stride == 0 || layout.height <= (available - layout.pixelOffset) / layout.stride;
}

bool showable(const dib::FileHeaders& h, const SourceLayout& layout) {
  return h.width > 0 && h.height != 0 && knownDepth(h.bitCount) && layout.width * layout.height <= dib::kMaxPixels;
}

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
std::optional<std::array<Channel, 3>> channelsFor(std::span<const std::uint8_t> bytes, const dib::FileHeaders& h) {
  std::array<std::uint32_t, 3> masks = h.bitCount == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                        : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
  if (h.compression == kCompressionBitfields) {
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
  if (buffer.size() <= dib::kHeadersSize) return false;
  const auto h = dib::readHeaders(buffer);
  const auto xPels = readI32(buffer, dib::kXPelsPerMeter);
  const auto yPels = readI32(buffer, dib::kYPelsPerMeter);
  if (!h || !xPels || !yPels) return false;
  if (h->type != dib::kSignature || h->fileSize > buffer.size() || h->offBits >= h->fileSize || h->reserved1 != 0 ||
      h->reserved2 != 0 || h->offBits < dib::kHeadersSize || h->infoSize != dib::kInfoHeaderSize || h->width <= 0 ||
      h->height <= 0 || h->planes != 1 || h->bitCount < 1 || h->bitCount > 32 || *xPels < 0 || *yPels < 0 ||
      h->clrUsed > 256 || h->compression != kCompressionRgb)
    return false;
  // The rows must lie inside the image, where the engine looks for them.
  const std::uint64_t pixels = std::uint64_t(h->width) * std::uint64_t(h->height);
  const std::uint64_t rowsEnd = dib::kHeadersSize + dib::kPaletteEntrySize * defaultPaletteSize(h->bitCount, h->clrUsed) +
                                dib::stride(std::uint64_t(h->width), h->bitCount) * std::uint64_t(h->height);
  return pixels <= dib::kMaxPixels && rowsEnd <= h->fileSize;
}

DibInfo readDibInfo(std::span<const std::uint8_t> buffer) {
  const auto h = dib::readHeaders(buffer);
  DibInfo info;
  info.width = h->width;
  info.height = h->height;
  info.bitCount = h->bitCount;
  info.paletteSize = defaultPaletteSize(h->bitCount, h->clrUsed);
  info.pixelOffset = dib::kHeadersSize + dib::kPaletteEntrySize * info.paletteSize;
  info.stride = static_cast<std::size_t>(dib::stride(static_cast<std::uint64_t>(h->width), h->bitCount));
  return info;
}

DibJudgement judgeDib(std::span<const std::uint8_t> headers, std::uint64_t available) {
  const auto h = dib::readHeaders(headers);
  if (!h || !admitted(*h)) return {};
  const SourceLayout layout = layoutOf(*h);
  if (!rowsFit(layout, available)) return {};
  if (!showable(*h, layout)) return {DibVerdict::Unshowable};
  return {DibVerdict::Readable, layout.pixelOffset + layout.height * layout.stride};
}

void writeDibHeaders(std::span<std::uint8_t> buffer, int width, int height, int bitCount, std::size_t paletteSize) {
  using platform::writeI32;
  using platform::writeU16;
  using platform::writeU32;
  const auto offBits = static_cast<std::uint32_t>(dib::kHeadersSize + dib::kPaletteEntrySize * paletteSize);
  const auto rows = dib::stride(static_cast<std::uint64_t>(width), static_cast<unsigned>(bitCount)) *
                    static_cast<std::uint64_t>(height);
  std::fill_n(buffer.begin(), dib::kHeadersSize, std::uint8_t{0});
  writeU16(buffer, dib::kType, dib::kSignature);
  writeU32(buffer, dib::kFileSize, static_cast<std::uint32_t>(offBits + rows));
  writeU32(buffer, dib::kOffBits, offBits);
  writeU32(buffer, dib::kInfoSize, dib::kInfoHeaderSize);
  writeI32(buffer, dib::kWidth, width);
  writeI32(buffer, dib::kHeight, height);
  writeU16(buffer, dib::kPlanes, 1);
  writeU16(buffer, dib::kBitCount, static_cast<std::uint16_t>(bitCount));
  writeU32(buffer, dib::kClrUsed, static_cast<std::uint32_t>(paletteSize));
}

std::optional<DibBuffer> normaliseDib(std::span<const std::uint8_t> bytes) {
  if (judgeDib(bytes, bytes.size()).verdict != DibVerdict::Readable) return std::nullopt;
  const dib::FileHeaders h = *dib::readHeaders(bytes);
  const SourceLayout src = layoutOf(h);
  const int width = static_cast<int>(src.width);
  const int height = static_cast<int>(src.height);
  const bool indexed = h.bitCount <= 8;

  std::optional<std::array<Channel, 3>> channels;
  if (h.bitCount == 16 || h.bitCount == 32) {
    channels = channelsFor(bytes, h);
    if (!channels) return std::nullopt;
  }

  const int outBits = indexed ? 8 : 24;
  const std::size_t paletteSize = h.bitCount == 1 ? 2 : indexed ? src.paletteSize : 0;
  const std::size_t outStride = static_cast<std::size_t>(dib::stride(src.width, static_cast<unsigned>(outBits)));
  const std::size_t outOffset = dib::kHeadersSize + dib::kPaletteEntrySize * paletteSize;
  const std::size_t outSize = outOffset + outStride * src.height;
  DibBuffer result(outSize + (indexed ? 0 : 1), 0);  // 24 bits: the spare byte
  writeDibHeaders(result, width, height, outBits, paletteSize);

  // The palette: a 1-bit image always gets black and white, whatever its file holds.
  const std::size_t paletteAt = dib::kFileHeaderSize + h.infoSize;
  if (h.bitCount == 1) {
    std::fill_n(result.begin() + dib::kHeadersSize + 4, 3, std::uint8_t{0xFF});
  } else if (indexed) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(paletteAt), 4 * paletteSize,
                result.begin() + dib::kHeadersSize);
  }

  for (std::uint64_t fileRow = 0; fileRow < src.height; ++fileRow) {
    const auto in = bytes.subspan(static_cast<std::size_t>(src.pixelOffset + fileRow * src.stride),
                                  static_cast<std::size_t>(src.stride));
    const std::size_t y = static_cast<std::size_t>(src.topDown ? src.height - 1 - fileRow : fileRow);
    const auto out = std::span<std::uint8_t>(result).subspan(outOffset + y * outStride, outStride);
    for (std::size_t x = 0; x < src.width; ++x) {
      switch (h.bitCount) {
        case 1:
          out[x] = (in[x / 8] >> (7 - x % 8)) & 1;
          break;
        case 4:
          out[x] = (x % 2 == 0) ? in[x / 2] >> 4 : in[x / 2] & 0x0F;
          break;
        case 8:
          out[x] = in[x];
          break;
        case 24:
          std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(3 * x), 3, out.begin() + static_cast<std::ptrdiff_t>(3 * x));
          break;
        default: {
          const std::uint32_t word = pixelWord(in, x, h.bitCount);
          out[3 * x] = (*channels)[2](word);
          out[3 * x + 1] = (*channels)[1](word);
          out[3 * x + 2] = (*channels)[0](word);
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

}  // namespace rotateimage
