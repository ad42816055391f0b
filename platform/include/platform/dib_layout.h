// Byte layout of a DIB file image: the 14-byte file header, the 40-byte info header,
// the palette of 4-byte entries (blue, green, red, reserved) and the pixel rows,
// bottom row first, each padded to a multiple of four bytes.  Little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/little_endian.h"

namespace platform::dib {

inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54
inline constexpr std::size_t kPaletteEntrySize = 4;
inline constexpr std::uint16_t kSignature = 0x4D42;  // "BM"

// File header fields.
inline constexpr std::size_t kType = 0;
inline constexpr std::size_t kFileSize = 2;
inline constexpr std::size_t kReserved1 = 6;
inline constexpr std::size_t kReserved2 = 8;
inline constexpr std::size_t kOffBits = 10;
// Info header fields.
inline constexpr std::size_t kInfoSize = 14;
inline constexpr std::size_t kWidth = 18;
inline constexpr std::size_t kHeight = 22;
inline constexpr std::size_t kPlanes = 26;
inline constexpr std::size_t kBitCount = 28;
inline constexpr std::size_t kCompression = 30;
inline constexpr std::size_t kSizeImage = 34;
inline constexpr std::size_t kXPelsPerMeter = 38;
inline constexpr std::size_t kYPelsPerMeter = 42;
inline constexpr std::size_t kClrUsed = 46;
inline constexpr std::size_t kClrImportant = 50;

// Images larger than this many pixels are refused before anything is allocated.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// Bytes in one stored row: bits rounded up to whole 32-bit words.
constexpr std::uint64_t stride(std::uint64_t width, unsigned bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// The header fields a reader judges an image by, read with checked reads; nothing when
// the bytes end before the info header does.
struct FileHeaders {
  std::uint16_t type, reserved1, reserved2, planes, bitCount;
  std::uint32_t fileSize, offBits, infoSize, compression, clrUsed;
  std::int32_t width, height;
};

inline std::optional<FileHeaders> readHeaders(std::span<const std::uint8_t> bytes) {
  const auto type = readU16(bytes, kType);
  const auto fileSize = readU32(bytes, kFileSize);
  const auto reserved1 = readU16(bytes, kReserved1);
  const auto reserved2 = readU16(bytes, kReserved2);
  const auto offBits = readU32(bytes, kOffBits);
  const auto infoSize = readU32(bytes, kInfoSize);
  const auto width = readI32(bytes, kWidth);
  const auto height = readI32(bytes, kHeight);
  const auto planes = readU16(bytes, kPlanes);
  const auto bitCount = readU16(bytes, kBitCount);
  const auto compression = readU32(bytes, kCompression);
  const auto clrUsed = readU32(bytes, kClrUsed);
  if (!type || !fileSize || !reserved1 || !reserved2 || !offBits || !infoSize || !width || !height || !planes ||
      !bitCount || !compression || !clrUsed)
    return std::nullopt;
  return FileHeaders{*type,    *reserved1, *reserved2,   *planes,  *bitCount, *fileSize,
                     *offBits, *infoSize,  *compression, *clrUsed, *width,    *height};
}

}  // namespace platform::dib
