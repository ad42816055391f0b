// Byte layout of a DIB file image: the 14-byte file header, the 40-byte info header,
// the palette of 4-byte entries (blue, green, red, reserved) and the pixel rows,
// bottom row first, each padded to a multiple of four bytes.  Little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace platform::dib
