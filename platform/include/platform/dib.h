// The DIB (BMP) file image: a 14-byte file header, an info header of at least 40 bytes,
// a palette of 4-byte entries (blue, green, red, reserved) and the pixel rows, bottom row
// first, each padded to a multiple of four bytes.  Little-endian.  Every reader and writer
// of the format goes through here: the field offsets, one record of the headers with its
// checked reader and its writer, and one judge of whole images whose rules each reader
// chooses for itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace platform::dib {

inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54
inline constexpr std::size_t kPaletteEntrySize = 4;
inline constexpr std::uint16_t kSignature = 0x4D42;  // "BM"
inline constexpr std::uint32_t kCompressionRgb = 0;
inline constexpr std::uint32_t kCompressionBitfields = 3;

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

// Every field of the file header and the first 40 bytes of the info header.
struct Header {
    std::uint16_t type = kSignature;
    std::uint32_t fileSize = 0;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t offBits = 0;
    std::uint32_t infoSize = kInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const Header&, const Header&) = default;
};

// The headers at the start of `bytes`; nothing when the bytes end before they do.
std::optional<Header> readHeader(std::span<const std::uint8_t> bytes);
// Writes the headers over the first kHeadersSize bytes, which must be there.
void writeHeader(std::span<std::uint8_t> bytes, const Header& header);
// The headers of a new bottom-up image whose palette of `paletteSize` entries follows
// them and whose rows follow the palette; the sizes must lie within the pixel limit.
Header newHeader(int width, int height, int bitCount, std::size_t paletteSize);

// --- judging a file image ----------------------------------------------------------------

// A set of depths: bit n stands for n bits per pixel.
using Depths = std::uint64_t;
constexpr Depths depths(std::initializer_list<unsigned> bits) {
    Depths set = 0;
    for (const unsigned b : bits) set |= Depths{1} << b;
    return set;
}
inline constexpr Depths kEveryDepth = ((Depths{1} << 33) - 1) & ~Depths{1};  // 1..32

// How many palette entries an image has.
enum class PaletteRule {
    // biClrUsed at every depth, or 16 and 256 for 4 and 8 bits when it is 0; more than 256
    // are refused.
    Counted,
    // Up to 8 bits only: biClrUsed, or 2^depth when it is 0; more than 2^depth are refused.
    IndexedOnly,
};

// Where the rows start.
enum class RowsRule {
    AfterPalette,            // right after the palette, whatever bfOffBits says
    AtOffsetOrAfterPalette,  // at bfOffBits, or after the palette when bfOffBits points into it
    AtOffset,                // at bfOffBits, which may not point into the palette
};

// What a reader takes.  Every image must be "BM", have one plane, 1 to 32 bits per pixel,
// an info header of at least 40 bytes, rows that end within the bytes, a width above 0, a
// height other than 0, and no more than kMaxPixels pixels.
struct Rules {
    Depths depths = kEveryDepth;
    bool topDown = false;          // negative heights: rows stored top row first
    bool bitfields = false;        // 16 and 32 bits with channel masks (compression 3)
    bool exactInfoHeader = false;  // an info header of exactly 40 bytes
    bool reservedZero = true;      // both reserved words 0
    bool nonNegativeResolution = false;
    // The image lies within its own bfSize, and bfOffBits past the headers and before its end.
    bool ownSize = false;
    PaletteRule palette = PaletteRule::Counted;
    RowsRule rows = RowsRule::AtOffsetOrAfterPalette;
};

// The normalised form images are kept in once read: a 40-byte info header, the palette
// and the rows right after it, rows bottom-up, all within the image's own size.
inline constexpr Rules kNormalised{.exactInfoHeader = true,
                                   .nonNegativeResolution = true,
                                   .ownSize = true,
                                   .rows = RowsRule::AfterPalette};

// Where the parts of an image lie, offsets from its file header; width and height are
// magnitudes.
struct Layout {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    bool topDown = false;
    std::uint64_t paletteOffset = 0;
    std::uint64_t paletteSize = 0;  // entries
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;
    // Bytes from the file header to the end of the rows.
    std::uint64_t extent() const {
        return pixelOffset + stride * static_cast<std::uint64_t>(height);
    }
};

enum class Verdict {
    Refused,     // not an image the format admits, or its bytes end before its rows do
    Unshowable,  // admitted, but without width or height, of a depth or direction the rules
                 // leave out, or too large
    Readable,    // the layout says where everything lies
};
struct Judgement {
    Verdict verdict = Verdict::Refused;
    Layout layout;  // for a readable image only
};

// Palette entry `index` (blue, green, red) of a readable image as 0x00RRGGBB; black for
// an index past the palette.
std::uint32_t paletteColour(std::span<const std::uint8_t> bytes, const Layout& layout,
                            std::size_t index);

// Judges the image whose headers start `bytes`, with `available` bytes from its file
// header to the end of its data (`bytes` may hold no more than the headers).  Every size
// is worked out in 64 bits before anything is trusted.
Judgement judge(std::span<const std::uint8_t> bytes, std::uint64_t available, const Rules& rules);
inline Judgement judge(std::span<const std::uint8_t> bytes, const Rules& rules) {
    return judge(bytes, bytes.size(), rules);
}

}  // namespace platform::dib
