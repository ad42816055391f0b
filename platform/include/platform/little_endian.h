// Checked little-endian reads and plain writes over byte buffers.  Every read names
// its offset and fails, rather than yielding zero, when it would pass the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

inline std::optional<std::uint16_t> readU16(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::optional<std::uint32_t> readU32(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline std::optional<std::int32_t> readI32(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) {
    auto value = readU32(bytes, offset);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// Writers work on buffers already sized by the caller; the offset must fit.
inline void writeU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void writeU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void writeI32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    writeU32(bytes, offset, static_cast<std::uint32_t>(value));
}

}  // namespace platform
