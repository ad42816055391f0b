#include "platform/dib.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace platform::dib {
namespace {

constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks after a 40-byte info header

// Every header field with its offset: the one list the reader and the writer share.
template <class H, class Visit>
void forEachField(H& h, Visit visit) {
    visit(kType, h.type);
    visit(kFileSize, h.fileSize);
    visit(kReserved1, h.reserved1);
    visit(kReserved2, h.reserved2);
    visit(kOffBits, h.offBits);
    visit(kInfoSize, h.infoSize);
    visit(kWidth, h.width);
    visit(kHeight, h.height);
    visit(kPlanes, h.planes);
    visit(kBitCount, h.bitCount);
    visit(kCompression, h.compression);
    visit(kSizeImage, h.sizeImage);
    visit(kXPelsPerMeter, h.xPelsPerMeter);
    visit(kYPelsPerMeter, h.yPelsPerMeter);
    visit(kClrUsed, h.clrUsed);
    visit(kClrImportant, h.clrImportant);
}

std::uint64_t magnitude(std::int32_t v) {
    return static_cast<std::uint64_t>(v < 0 ? -static_cast<std::int64_t>(v) : v);
}

bool usesBitfields(const Header& h, const Rules& rules) {
    return rules.bitfields && h.compression == kCompressionBitfields &&
           (h.bitCount == 16 || h.bitCount == 32);
}

// The format's own header checks and the rules' header options.
bool admitted(const Header& h, const Rules& rules) {
    const bool infoSize =
        rules.exactInfoHeader ? h.infoSize == kInfoHeaderSize : h.infoSize >= kInfoHeaderSize;
    const bool reserved = !rules.reservedZero || (h.reserved1 == 0 && h.reserved2 == 0);
    const bool resolution =
        !rules.nonNegativeResolution || (h.xPelsPerMeter >= 0 && h.yPelsPerMeter >= 0);
    return h.type == kSignature && h.planes == 1 && h.bitCount >= 1 && h.bitCount <= 32 &&
           infoSize && reserved && resolution &&
           (h.compression == kCompressionRgb || usesBitfields(h, rules));
}

// Palette entries; nothing when the header counts more than the rule allows.
std::optional<std::uint64_t> paletteEntries(const Header& h, PaletteRule rule) {
    if (rule == PaletteRule::Counted) {
        if (h.clrUsed > 256) return std::nullopt;
        if (h.clrUsed != 0) return h.clrUsed;
        return h.bitCount == 4 ? 16 : h.bitCount == 8 ? 256 : 0;
    }
    if (h.bitCount > 8) return 0;
    const std::uint64_t all = std::uint64_t{1} << h.bitCount;
    if (h.clrUsed > all) return std::nullopt;
    return h.clrUsed == 0 ? all : h.clrUsed;
}

// Where the rows start; nothing when bfOffBits points where the rule forbids.
std::optional<std::uint64_t> rowsStart(const Header& h, std::uint64_t paletteEnd, RowsRule rule) {
    switch (rule) {
        case RowsRule::AfterPalette: return paletteEnd;
        case RowsRule::AtOffsetOrAfterPalette:
            return std::max<std::uint64_t>(h.offBits, paletteEnd);
        case RowsRule::AtOffset: break;
    }
    if (h.offBits < paletteEnd) return std::nullopt;
    return h.offBits;
}

// How far the image may reach: the available bytes, or its own size where the rules
// hold it to that.
std::optional<std::uint64_t> reach(const Header& h, std::uint64_t available, bool ownSize) {
    if (!ownSize) return available;
    if (h.fileSize > available || h.offBits < kHeadersSize || h.offBits >= h.fileSize)
        return std::nullopt;
    return h.fileSize;
}

// The rows end within `end` bytes; divided rather than multiplied, so that no product can
// wrap.
bool rowsFit(std::uint64_t pixelOffset, std::uint64_t stride, std::uint64_t height,
             std::uint64_t end) {
    if (pixelOffset > end) return false;
    return stride == 0 || height <= (end - pixelOffset) / stride;
}

}  // namespace

std::optional<Header> readHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeadersSize) return std::nullopt;
    Header header;
    // Within the headers just measured, every read succeeds.
    forEachField(header, [bytes]<class T>(std::size_t at, T& field) {
        if constexpr (sizeof(T) == 2) {
            field = *readU16(bytes, at);
        } else {
            field = static_cast<T>(*readU32(bytes, at));
        }
    });
    return header;
}

void writeHeader(std::span<std::uint8_t> bytes, const Header& header) {
    forEachField(header, [bytes]<class T>(std::size_t at, const T& field) {
        if constexpr (sizeof(T) == 2) {
            writeU16(bytes, at, field);
        } else {
            writeU32(bytes, at, static_cast<std::uint32_t>(field));
        }
    });
}

Header newHeader(int width, int height, int bitCount, std::size_t paletteSize) {
    const std::uint64_t offBits = kHeadersSize + kPaletteEntrySize * std::uint64_t{paletteSize};
    const std::uint64_t rows =
        stride(static_cast<std::uint64_t>(width), static_cast<unsigned>(bitCount)) *
        static_cast<std::uint64_t>(height);
    Header header;
    header.fileSize = static_cast<std::uint32_t>(offBits + rows);
    header.offBits = static_cast<std::uint32_t>(offBits);
    header.width = width;
    header.height = height;
    header.bitCount = static_cast<std::uint16_t>(bitCount);
    header.clrUsed = static_cast<std::uint32_t>(paletteSize);
    return header;
}

std::uint32_t paletteColour(std::span<const std::uint8_t> bytes, const Layout& layout,
                            std::size_t index) {
    if (index >= layout.paletteSize) return 0;
    return readU32(bytes,
                   static_cast<std::size_t>(layout.paletteOffset + kPaletteEntrySize * index))
               .value() &
           0xFFFFFF;
}

Judgement judge(std::span<const std::uint8_t> bytes, std::uint64_t available, const Rules& rules) {
    const auto h = readHeader(bytes);
    if (!h || !admitted(*h, rules)) return {};
    const auto entries = paletteEntries(*h, rules.palette);
    if (!entries) return {};
    const std::uint64_t width = magnitude(h->width);
    const std::uint64_t height = magnitude(h->height);
    Layout layout;
    layout.bitCount = h->bitCount;
    layout.topDown = h->height < 0;
    layout.stride = stride(width, h->bitCount);
    const std::uint64_t masks =
        usesBitfields(*h, rules) && h->infoSize < kInfoHeaderSize + kMaskBytes ? kMaskBytes : 0;
    layout.paletteOffset = kFileHeaderSize + std::uint64_t{h->infoSize} + masks;
    layout.paletteSize = *entries;
    const auto pixelOffset =
        rowsStart(*h, layout.paletteOffset + kPaletteEntrySize * *entries, rules.rows);
    const auto end = reach(*h, available, rules.ownSize);
    if (!pixelOffset || !end || !rowsFit(*pixelOffset, layout.stride, height, *end)) return {};
    layout.pixelOffset = *pixelOffset;

    const bool direction = h->height > 0 || (h->height < 0 && rules.topDown);
    const bool depth = (rules.depths >> h->bitCount & 1) != 0;
    if (h->width <= 0 || !direction || !depth || width * height > kMaxPixels)
        return {Verdict::Unshowable, {}};
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    return {Verdict::Readable, layout};
}

}  // namespace platform::dib
