#include "lorrin/picture_files.h"

#include "lorrin/keeper/handover.h"
#include "platform/dib.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <span>
#include <string_view>
#include <vector>

namespace lorrin {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kHeaderSize = 13;      // IHDR
constexpr std::size_t kResolutionSize = 9;   // pHYs
constexpr std::uint8_t kColourPalette = 3;
constexpr std::uint8_t kColourRgb = 2;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kUnitMetre = 1;
// A chunk holds at most 2^31 - 1 bytes; a longer image goes into several IDAT chunks.
constexpr std::size_t kChunkMax = 0x7FFF'FFFF;
// Buffers beyond this are given back after a picture, so one large picture of a batch
// does not hold its memory to the end.
constexpr std::size_t kKeptBufferMax = std::size_t{16} << 20;

void storeWord(std::uint8_t* at, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(word >> (24 - 8 * i));
}

// Length, type, data and the CRC of type and data.
void putChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
    const std::size_t at = out.size();
    out.resize(at + 4 + type.size() + data.size() + 4);
    std::uint8_t* chunk = out.data() + at;
    storeWord(chunk, static_cast<std::uint32_t>(data.size()));
    std::memcpy(chunk + 4, type.data(), type.size());
    if (!data.empty()) std::memcpy(chunk + 4 + type.size(), data.data(), data.size());
    const std::size_t crcAt = 4 + type.size() + data.size();
    storeWord(chunk + crcAt, libdeflate_crc32(0, chunk + 4, crcAt - 4));
}

}  // namespace

void PngEncoder::FreeCompressor::operator()(libdeflate_compressor* c) const {
    libdeflate_free_compressor(c);
}

// A barcode picture is bands of equal rows.  Unfiltered, each row after a band's first
// repeats the one above, and deflate packs it into one or two matches a row back, which its
// fastest level finds: smaller and quicker than "up" filtering with run-length matching
// (a run per zero row, and the whole stream's set-up per picture).
PngEncoder::PngEncoder() : compressor_(libdeflate_alloc_compressor(1)) {
    if (!compressor_) throw std::bad_alloc();
}

PngEncoder::~PngEncoder() = default;

void PngEncoder::fillScanlines(const platform::Bitmap& picture, int depth) {
    const bool indexed = picture.bitsPerPixel() != 24;
    const auto width = static_cast<std::size_t>(picture.width());
    const std::size_t rowBytes =
        indexed ? (width * static_cast<std::size_t>(depth) + 7) / 8 : width * 3;
    scanlines_.resize((rowBytes + 1) * static_cast<std::size_t>(picture.height()));
    std::uint8_t* out = scanlines_.data();
    for (int y = 0; y < picture.height(); ++y) {
        *out++ = kFilterNone;
        const std::uint8_t* src = picture.row(y).data();
        if (indexed && depth == picture.bitsPerPixel()) {
            std::memcpy(out, src, rowBytes);
        } else if (indexed) {
            // An 8-bit picture with a 16-entry palette packs into 4 bits.
            std::fill(out, out + rowBytes, std::uint8_t{0});
            for (std::size_t x = 0; x < width; ++x)
                out[x / 2] |= static_cast<std::uint8_t>((src[x] & 0x0F) << (x % 2 == 0 ? 4 : 0));
        } else {
            // A DIB row holds blue, green, red; a PNG row red, green, blue.
            for (std::size_t x = 0; x < width; ++x) {
                out[3 * x] = src[3 * x + 2];
                out[3 * x + 1] = src[3 * x + 1];
                out[3 * x + 2] = src[3 * x];
            }
        }
        out += rowBytes;
    }
}

bool PngEncoder::encode(const platform::Bitmap& picture, int dpi,
                        std::vector<std::uint8_t>& image) {
    image.clear();
    try {
        const bool indexed = picture.bitsPerPixel() != 24;
        const int depth = !indexed ? 8 : (picture.palette().size() <= 16 ? 4 : 8);
        fillScanlines(picture, depth);
        compressed_.resize(libdeflate_zlib_compress_bound(compressor_.get(), scanlines_.size()));
        compressed_.resize(libdeflate_zlib_compress(compressor_.get(), scanlines_.data(),
                                                    scanlines_.size(), compressed_.data(),
                                                    compressed_.size()));

        image.insert(image.end(), kPngSignature.begin(), kPngSignature.end());
        std::array<std::uint8_t, kHeaderSize> header{};
        storeWord(&header[0], static_cast<std::uint32_t>(picture.width()));
        storeWord(&header[4], static_cast<std::uint32_t>(picture.height()));
        header[8] = static_cast<std::uint8_t>(depth);
        header[9] = indexed ? kColourPalette : kColourRgb;
        // header[10..12]: deflate, adaptive filtering, no interlace
        putChunk(image, "IHDR", header);
        if (indexed) {
            colours_.clear();
            for (const platform::Rgb& c : picture.palette())
                colours_.insert(colours_.end(), {c.red, c.green, c.blue});
            putChunk(image, "PLTE", colours_);
        }
        std::array<std::uint8_t, kResolutionSize> resolution{};
        const auto perMetre = static_cast<std::uint32_t>(pixelsPerMetre(dpi));
        storeWord(&resolution[0], perMetre);
        storeWord(&resolution[4], perMetre);
        resolution[8] = kUnitMetre;
        putChunk(image, "pHYs", resolution);
        const std::span<const std::uint8_t> stream(compressed_);
        for (std::size_t at = 0; at < stream.size(); at += kChunkMax)
            putChunk(image, "IDAT", stream.subspan(at, std::min(kChunkMax, stream.size() - at)));
        putChunk(image, "IEND", {});
    } catch (const std::bad_alloc&) {
        image.clear();
    }
    if (scanlines_.capacity() > kKeptBufferMax) std::vector<std::uint8_t>().swap(scanlines_);
    if (compressed_.capacity() > kKeptBufferMax) std::vector<std::uint8_t>().swap(compressed_);
    return !image.empty();
}

std::vector<std::uint8_t> pngImage(const platform::Bitmap& picture, int dpi) {
    std::vector<std::uint8_t> image;
    PngEncoder().encode(picture, dpi, image);
    return image;
}

std::vector<std::uint8_t> bmpImage(const platform::Bitmap& picture, int dpi) {
    std::vector<std::uint8_t> image = picture.saveToDib();
    auto header = platform::dib::readHeader(image);
    if (!header) return {};
    header->xPelsPerMeter = static_cast<std::int32_t>(pixelsPerMetre(dpi));
    header->yPelsPerMeter = header->xPelsPerMeter;
    platform::dib::writeHeader(image, *header);
    return image;
}

const std::array<ClipboardForm, 3> kClipboardForms = {{
    {"image/png", [](const platform::Picture& p) { return pngImage(p.bitmap, p.dpi); }},
    {"image/bmp", [](const platform::Picture& p) { return bmpImage(p.bitmap, p.dpi); }},
    {"image/svg+xml",
     [](const platform::Picture& p) {
         return std::vector<std::uint8_t>(p.svg.begin(), p.svg.end());
     }},
}};

std::string keepOnClipboard(const platform::Picture& picture, const std::filesystem::path& keeper) {
    std::vector<keeper::Format> forms;
    for (const ClipboardForm& form : kClipboardForms)
        forms.push_back({std::string(form.mimeType), form.image(picture)});
    return keeper::startKeeper(keeper, forms).failure;
}

}  // namespace lorrin
