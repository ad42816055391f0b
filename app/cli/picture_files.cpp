#include "app/cli/picture_files.h"

#include "platform/dib_layout.h"
#include "platform/font.h"
#include "platform/little_endian.h"

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>
#include <vector>

namespace lorrin::cli {
namespace {

constexpr double kMetresPerInch = 0.0254;

std::uint32_t pixelsPerMetre(int dpi) {
    return static_cast<std::uint32_t>(std::lround(dpi / kMetresPerInch));
}

std::string xmlEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters have no place in XML 1.0.
                out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
        }
    }
    return out;
}

}  // namespace

bool writePng(std::FILE* out, const platform::Bitmap& picture, int dpi) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const bool indexed = picture.bitsPerPixel() != 24;
    const auto& palette = picture.palette();
    const int depth = !indexed ? 8 : (palette.size() <= 16 ? 4 : 8);
    const auto width = static_cast<std::size_t>(picture.width());
    std::vector<png_byte> row(indexed ? (width * static_cast<std::size_t>(depth) + 7) / 8
                                      : width * 3);
    std::vector<png_color> colours;
    for (const platform::Rgb& c : palette) colours.push_back({c.red, c.green, c.blue});
    // libpng reports errors by longjmp: every object with a destructor is made above.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    // Barcode pictures are long runs: the fastest level loses little on them, and
    // filtering only slows indexed rows down.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), depth,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_set_pHYs(png, info, pixelsPerMetre(dpi), pixelsPerMetre(dpi), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y) {
        if (indexed && depth == picture.bitsPerPixel()) {
            const auto src = picture.row(y);
            std::copy(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(row.size()), row.begin());
        } else if (indexed) {
            // An 8-bit picture with a 16-entry palette packs into 4 bits.
            std::fill(row.begin(), row.end(), png_byte{0});
            for (int x = 0; x < picture.width(); ++x) {
                const auto value = static_cast<png_byte>(picture.pixel(x, y) & 0x0F);
                row[static_cast<std::size_t>(x) / 2] |=
                    static_cast<png_byte>(x % 2 == 0 ? value << 4 : value);
            }
        } else {
            for (int x = 0; x < picture.width(); ++x) {
                const std::uint32_t rgb = picture.pixel(x, y);
                const auto at = static_cast<std::size_t>(x) * 3;
                row[at] = static_cast<png_byte>(rgb >> 16);
                row[at + 1] = static_cast<png_byte>(rgb >> 8);
                row[at + 2] = static_cast<png_byte>(rgb);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::ferror(out) == 0;
}

bool writeBmp(std::FILE* out, const platform::Bitmap& picture, int dpi) {
    std::vector<std::uint8_t> image = picture.saveToDib();
    if (image.size() < platform::dib::kHeadersSize) return false;
    platform::writeU32(image, platform::dib::kXPelsPerMeter, pixelsPerMetre(dpi));
    platform::writeU32(image, platform::dib::kYPelsPerMeter, pixelsPerMetre(dpi));
    return std::fwrite(image.data(), 1, image.size(), out) == image.size();
}

std::string svgImage(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                     int ascent) {
    const int w = layout.width;
    const int h = layout.height;
    const int quarter = ((angleIndex % 4) + 4) % 4;
    const bool swapped = quarter % 2 == 1;
    // Clockwise on screen, as the raster pictures turn.
    static constexpr const char* kTurns[] = {"", "translate(%H 0) rotate(90)",
                                            "translate(%W %H) rotate(180)",
                                            "translate(0 %W) rotate(270)"};
    std::string transform = kTurns[quarter];
    for (std::size_t at; (at = transform.find("%W")) != std::string::npos;)
        transform.replace(at, 2, std::to_string(w));
    for (std::size_t at; (at = transform.find("%H")) != std::string::npos;)
        transform.replace(at, 2, std::to_string(h));

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           std::to_string(swapped ? h : w) + "\" height=\"" + std::to_string(swapped ? w : h) +
           "\" viewBox=\"0 0 " + std::to_string(swapped ? h : w) + " " +
           std::to_string(swapped ? w : h) + "\" shape-rendering=\"crispEdges\">\n";
    svg += "<g" + (transform.empty() ? std::string() : " transform=\"" + transform + "\"") + ">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(w) + "\" height=\"" +
           std::to_string(h) + "\" fill=\"#fff\"/>\n";
    for (const Bar& bar : layout.bars) {
        const std::int64_t width = std::min<std::int64_t>(bar.width, w - bar.x);
        svg += "<rect x=\"" + std::to_string(bar.x) + "\" y=\"" + std::to_string(kTopMargin) +
               "\" width=\"" + std::to_string(width) + "\" height=\"" +
               std::to_string(bar.bottom - kTopMargin) + "\"/>\n";
    }
    if (layout.showText) {
        svg += "<rect x=\"" + std::to_string(layout.textX) + "\" y=\"" +
               std::to_string(layout.textY) + "\" width=\"" + std::to_string(layout.textWidth) +
               "\" height=\"" + std::to_string(layout.textHeight) + "\" fill=\"#fff\"/>\n";
        svg += "<text x=\"" + std::to_string(layout.textX) + "\" y=\"" +
               std::to_string(layout.textY + ascent) + "\" font-family=\"" +
               xmlEscaped(settings.fontName) + "\" font-size=\"" +
               std::to_string(platform::pointsToPixels(settings.fontSize)) + "\"" +
               // The line keeps the width it has in the raster pictures.
               (layout.textWidth > 0 ? " textLength=\"" + std::to_string(layout.textWidth) + "\""
                                     : std::string()) +
               " xml:space=\"preserve\">" + xmlEscaped(layout.text) + "</text>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace lorrin::cli
