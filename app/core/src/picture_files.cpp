#include "lorrin/picture_files.h"

#include "lorrin/keeper/handover.h"
#include "platform/dib.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace lorrin {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kHeaderSize = 13;     // IHDR
constexpr std::size_t kResolutionSize = 9;  // pHYs
constexpr std::uint8_t kColourPalette = 3;
constexpr std::uint8_t kColourRgb = 2;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterUp = 2;
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
    storeWord(chunk + crcAt, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), chunk + 4,
                                                              static_cast<uInt>(crcAt - 4))));
}

}  // namespace

void PngEncoder::EndStream::operator()(z_stream_s* stream) const {
    deflateEnd(stream);
    delete stream;
}

// The stream finds runs of one byte only, which a barcode picture is made of; it never
// looks a match up, so its table of them is kept small (memory level 6: the table is
// cleared for each picture), while its blocks stay large enough for a picture's symbols.
PngEncoder::PngEncoder() : stream_(new z_stream{}) {
    if (deflateInit2(stream_.get(), Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 6, Z_RLE) != Z_OK) {
        delete stream_.release();
        throw std::bad_alloc();
    }
}

PngEncoder::~PngEncoder() = default;

// A barcode picture is bands of equal rows.  A row that repeats the one above is filtered
// "up" into zeros, one run; any other row stays unfiltered, where its bars are runs
// already.  Smaller than filtering every row "up", which gives a row unlike the one above
// a run at each edge where either has one.
void PngEncoder::fillScanlines(const platform::Bitmap& picture, int depth) {
    const bool indexed = picture.bitsPerPixel() != 24;
    const auto width = static_cast<std::size_t>(picture.width());
    const std::size_t rowBytes =
        indexed ? (width * static_cast<std::size_t>(depth) + 7) / 8 : width * 3;
    // The bytes of a bitmap row that the scanline is made from.
    const std::size_t sourceBytes =
        (width * static_cast<std::size_t>(picture.bitsPerPixel()) + 7) / 8;
    scanlines_.resize((rowBytes + 1) * static_cast<std::size_t>(picture.height()));
    std::uint8_t* out = scanlines_.data();
    for (int y = 0; y < picture.height(); ++y, out += rowBytes) {
        const std::uint8_t* src = picture.row(y).data();
        if (y > 0 && std::memcmp(src, picture.row(y - 1).data(), sourceBytes) == 0) {
            *out++ = kFilterUp;
            std::memset(out, 0, rowBytes);
            continue;
        }
        *out++ = kFilterNone;
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
    }
}

// PLTE for an indexed picture, and pHYs: the chunks between the header and the image.
PngEncoder::CommonChunks PngEncoder::makeCommonChunks(const platform::Bitmap& picture, int dpi) {
    CommonChunks chunks{picture.bitsPerPixel() != 24, dpi, {}, {}};
    if (chunks.indexed) {
        chunks.palette = picture.palette();
        std::vector<std::uint8_t> colours;
        for (const platform::Rgb& c : chunks.palette)
            colours.insert(colours.end(), {c.red, c.green, c.blue});
        putChunk(chunks.bytes, "PLTE", colours);
    }
    std::array<std::uint8_t, kResolutionSize> resolution{};
    const auto perMetre = static_cast<std::uint32_t>(pixelsPerMetre(dpi));
    storeWord(&resolution[0], perMetre);
    storeWord(&resolution[4], perMetre);
    resolution[8] = kUnitMetre;
    putChunk(chunks.bytes, "pHYs", resolution);
    return chunks;
}

std::optional<std::size_t> PngEncoder::compress() {
    z_stream& z = *stream_;
    // A picture has at most 2^28 pixels of 3 bytes: one call takes its scanlines whole.
    if (scanlines_.size() > UINT32_MAX / 2 || deflateReset(&z) != Z_OK) return std::nullopt;
    // The buffer only grows: resizing it down and up again would clear it each time.
    const std::size_t bound = deflateBound(&z, static_cast<uLong>(scanlines_.size()));
    if (compressed_.size() < bound) compressed_.resize(bound);
    z.next_in = scanlines_.data();
    z.avail_in = static_cast<uInt>(scanlines_.size());
    z.next_out = compressed_.data();
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(compressed_.size(), UINT32_MAX));
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) return std::nullopt;
    return static_cast<std::size_t>(z.total_out);
}

bool PngEncoder::encode(const platform::Bitmap& picture, int dpi,
                        std::vector<std::uint8_t>& image) {
    image.clear();
    try {
        const bool indexed = picture.bitsPerPixel() != 24;
        const int depth = !indexed ? 8 : (picture.palette().size() <= 16 ? 4 : 8);
        fillScanlines(picture, depth);
        const std::optional<std::size_t> compressedSize = compress();
        if (!compressedSize) return false;

        image.insert(image.end(), kPngSignature.begin(), kPngSignature.end());
        std::array<std::uint8_t, kHeaderSize> header{};
        storeWord(&header[0], static_cast<std::uint32_t>(picture.width()));
        storeWord(&header[4], static_cast<std::uint32_t>(picture.height()));
        header[8] = static_cast<std::uint8_t>(depth);
        header[9] = indexed ? kColourPalette : kColourRgb;
        // header[10..12]: deflate, adaptive filtering, no interlace
        putChunk(image, "IHDR", header);
        // The palette and the resolution are a batch's every picture's: their chunks are
        // made once.
        if (!commonChunks_ || commonChunks_->indexed != indexed || commonChunks_->dpi != dpi ||
            (indexed && commonChunks_->palette != picture.palette()))
            commonChunks_ = makeCommonChunks(picture, dpi);
        image.insert(image.end(), commonChunks_->bytes.begin(), commonChunks_->bytes.end());
        const std::span<const std::uint8_t> stream(compressed_.data(), *compressedSize);
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
