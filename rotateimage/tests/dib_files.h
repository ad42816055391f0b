// Hand-built DIB file images for the tests, laid out from the format's definition.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dib_layout.h"
#include "platform/little_endian.h"

namespace rotateimage::testing {

struct DibFields {
  int width = 1;
  int height = 1;
  int bitCount = 8;
  std::vector<std::uint32_t> palette = {};  // 0x00RRGGBB entries
  std::uint32_t clrUsed = 0xFFFFFFFF;  // default: palette.size()
  std::uint32_t gap = 0;               // bytes between palette and rows
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

}  // namespace rotateimage::testing
