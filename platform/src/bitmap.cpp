#include "platform/bitmap.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "platform/dib.h"

namespace platform {
namespace {

// The 16-colour VGA palette in Windows order (black, maroon, green, olive, navy,
// purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white).
// clang-format off
constexpr std::array<Rgb, 16> kStandardPalette16 = {{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},    // 0
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},  // 4
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},    // 8
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},  // 12
}};
// clang-format on
static_assert(kStandardPalette16.size() == 16);

constexpr dib::Depths kDepths = dib::depths({4, 8, 24});

bool supportedDepth(int bitsPerPixel) {
    return bitsPerPixel > 0 && bitsPerPixel <= 32 && (kDepths >> bitsPerPixel & 1) != 0;
}

// The DIBs a bitmap reads: its own depths in either row order, a palette for the indexed
// depths only, the rows where bfOffBits says; the reserved words and the size field are
// not judged.
constexpr dib::Rules kReadRules{.depths = kDepths,
                                .topDown = true,
                                .reservedZero = false,
                                .palette = dib::PaletteRule::IndexedOnly,
                                .rows = dib::RowsRule::AtOffset};

std::vector<Rgb> defaultPalette(int bitsPerPixel) {
    if (bitsPerPixel == 4) return standardPalette16();
    std::vector<Rgb> palette;
    if (bitsPerPixel == 8) {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            palette.push_back({v, v, v});
        }
    }
    return palette;
}

}  // namespace

std::vector<Rgb> standardPalette16() {
    return {kStandardPalette16.begin(), kStandardPalette16.end()};
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel) {
    if (!supportedDepth(bitsPerPixel)) throw std::invalid_argument("Bitmap: unsupported depth");
    if (width < 0 || height < 0) throw std::invalid_argument("Bitmap: negative size");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > dib::kMaxPixels)
        throw std::invalid_argument("Bitmap: too large");
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    stride_ = static_cast<std::size_t>(
        dib::stride(static_cast<std::uint64_t>(width), static_cast<unsigned>(bitsPerPixel)));
    palette_ = defaultPalette(bitsPerPixel);
    pixels_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

void Bitmap::setPalette(std::vector<Rgb> palette) {
    if (bitsPerPixel_ == 24 || bitsPerPixel_ == 0) return;
    palette.resize(std::min<std::size_t>(palette.size(), std::size_t{1} << bitsPerPixel_));
    palette_ = std::move(palette);
}

void Bitmap::resize(int width, int height) {
    if (width == width_ && height == height_) return;
    const int depth = bitsPerPixel_ == 0 ? 24 : bitsPerPixel_;
    Bitmap resized(width, height, depth);
    if (bitsPerPixel_ != 0) resized.palette_ = palette_;
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x) resized.setPixel(x, y, pixel(x, y));
    *this = std::move(resized);
}

void Bitmap::clear() { *this = Bitmap(); }

std::span<std::uint8_t> Bitmap::row(int y) {
    return std::span<std::uint8_t>(pixels_).subspan(static_cast<std::size_t>(y) * stride_, stride_);
}

std::span<const std::uint8_t> Bitmap::row(int y) const {
    return std::span<const std::uint8_t>(pixels_).subspan(static_cast<std::size_t>(y) * stride_,
                                                          stride_);
}

std::uint32_t Bitmap::pixel(int x, int y) const {
    const auto r = row(y);
    const auto ux = static_cast<std::size_t>(x);
    switch (bitsPerPixel_) {
        case 4: return (ux % 2 == 0) ? r[ux / 2] >> 4 : r[ux / 2] & 0x0Fu;
        case 8: return r[ux];
        default:
            return static_cast<std::uint32_t>(r[3 * ux]) |
                   static_cast<std::uint32_t>(r[3 * ux + 1]) << 8 |
                   static_cast<std::uint32_t>(r[3 * ux + 2]) << 16;
    }
}

void Bitmap::setPixel(int x, int y, std::uint32_t value) {
    const auto r = row(y);
    const auto ux = static_cast<std::size_t>(x);
    switch (bitsPerPixel_) {
        case 4: {
            auto& byte = r[ux / 2];
            const auto nibble = static_cast<std::uint8_t>(value & 0x0F);
            byte = (ux % 2 == 0) ? static_cast<std::uint8_t>((byte & 0x0F) | nibble << 4)
                                 : static_cast<std::uint8_t>((byte & 0xF0) | nibble);
            break;
        }
        case 8: r[ux] = static_cast<std::uint8_t>(value); break;
        default:
            r[3 * ux] = static_cast<std::uint8_t>(value);
            r[3 * ux + 1] = static_cast<std::uint8_t>(value >> 8);
            r[3 * ux + 2] = static_cast<std::uint8_t>(value >> 16);
            break;
    }
}

void Bitmap::fill(std::uint32_t value) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) setPixel(x, y, value);
}

std::vector<std::uint8_t> Bitmap::saveToDib() const {
    if (bitsPerPixel_ == 0) return {};
    dib::Header header = dib::newHeader(width_, height_, bitsPerPixel_, palette_.size());
    header.sizeImage = static_cast<std::uint32_t>(stride_ * static_cast<std::size_t>(height_));
    std::vector<std::uint8_t> out(header.fileSize, 0);
    dib::writeHeader(out, header);
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const std::size_t at = dib::kHeadersSize + i * dib::kPaletteEntrySize;
        out[at] = palette_[i].blue;
        out[at + 1] = palette_[i].green;
        out[at + 2] = palette_[i].red;
    }
    for (int y = 0; y < height_; ++y) {
        const auto src = row(height_ - 1 - y);
        std::copy(src.begin(), src.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(header.offBits +
                                                            static_cast<std::size_t>(y) * stride_));
    }
    return out;
}

bool Bitmap::loadFromDib(std::span<const std::uint8_t> bytes) {
    const dib::Judgement judgement = dib::judge(bytes, kReadRules);
    if (judgement.verdict != dib::Verdict::Readable) return false;
    const dib::Layout& layout = judgement.layout;
    Bitmap loaded(layout.width, layout.height, layout.bitCount);
    loaded.palette_.clear();
    for (std::size_t i = 0; i < layout.paletteSize; ++i) {
        const std::uint32_t colour = dib::paletteColour(bytes, layout, i);
        loaded.palette_.push_back({static_cast<std::uint8_t>(colour >> 16),
                                   static_cast<std::uint8_t>(colour >> 8),
                                   static_cast<std::uint8_t>(colour)});
    }
    // Only the bytes that hold pixels: padding stays zero, so equal pictures compare equal.
    const auto used = static_cast<std::size_t>(
        (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 7) / 8);
    for (int fileRow = 0; fileRow < layout.height; ++fileRow) {
        const auto src = bytes.subspan(
            static_cast<std::size_t>(layout.pixelOffset +
                                     static_cast<std::uint64_t>(fileRow) * layout.stride),
            used);
        std::copy(src.begin(), src.end(),
                  loaded.row(layout.topDown ? fileRow : layout.height - 1 - fileRow).begin());
    }
    *this = std::move(loaded);
    return true;
}

}  // namespace platform
