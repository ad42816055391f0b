#include "lorrin/picture_files.h"

#include "lorrin/keeper/handover.h"
#include "platform/dib.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <utility>
#include <vector>

namespace lorrin {
namespace {

// Everything one PNG encoding owns, made before libpng can longjmp out of it.
struct PngJob {
    const platform::Bitmap& picture;
    std::uint32_t pixelsPerMetre;
    bool indexed;
    int depth;
    std::vector<png_color> colours;
    std::vector<png_byte> row;
    std::vector<std::uint8_t> image;
};

void appendToImage(png_structp png, png_bytep data, png_size_t size) {
    auto* image = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    image->insert(image->end(), data, data + size);
}

// The rows of the picture as PNG rows of the job's depth.
void fillRow(PngJob& job, int y) {
    const platform::Bitmap& picture = job.picture;
    if (job.indexed && job.depth == picture.bitsPerPixel()) {
        const auto src = picture.row(y);
        std::copy(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(job.row.size()),
                  job.row.begin());
    } else if (job.indexed) {
        // An 8-bit picture with a 16-entry palette packs into 4 bits.
        std::fill(job.row.begin(), job.row.end(), png_byte{0});
        for (int x = 0; x < picture.width(); ++x) {
            const auto value = static_cast<png_byte>(picture.pixel(x, y) & 0x0F);
            job.row[static_cast<std::size_t>(x) / 2] |=
                static_cast<png_byte>(x % 2 == 0 ? value << 4 : value);
        }
    } else {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t rgb = picture.pixel(x, y);
            const auto at = static_cast<std::size_t>(x) * 3;
            job.row[at] = static_cast<png_byte>(rgb >> 16);
            job.row[at + 1] = static_cast<png_byte>(rgb >> 8);
            job.row[at + 2] = static_cast<png_byte>(rgb);
        }
    }
}

// libpng reports errors by longjmp back here; this frame and everything it calls keep
// their objects in `job`, so no destructor is skipped.
bool encodePng(png_structp png, png_infop info, PngJob& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &job.image, appendToImage, nullptr);
    // A barcode picture is bands of equal rows: "up" turns every row after a band's first
    // into zeros, and run-length matching packs those at a fraction of deflate's cost.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.picture.width()),
                 static_cast<png_uint_32>(job.picture.height()), job.depth,
                 job.indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (job.indexed)
        png_set_PLTE(png, info, job.colours.data(), static_cast<int>(job.colours.size()));
    png_set_pHYs(png, info, job.pixelsPerMetre, job.pixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < job.picture.height(); ++y) {
        fillRow(job, y);
        png_write_row(png, job.row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::vector<std::uint8_t> pngImage(const platform::Bitmap& picture, int dpi) {
    const bool indexed = picture.bitsPerPixel() != 24;
    const int depth = !indexed ? 8 : (picture.palette().size() <= 16 ? 4 : 8);
    const auto width = static_cast<std::size_t>(picture.width());
    PngJob job{picture, static_cast<std::uint32_t>(pixelsPerMetre(dpi)), indexed, depth, {}, {},
               {}};
    for (const platform::Rgb& c : picture.palette())
        job.colours.push_back({c.red, c.green, c.blue});
    job.row.resize(indexed ? (width * static_cast<std::size_t>(depth) + 7) / 8 : width * 3);

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    const bool ok = info != nullptr && encodePng(png, info, job);
    png_destroy_write_struct(&png, &info);
    if (!ok) job.image.clear();
    return std::move(job.image);
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
