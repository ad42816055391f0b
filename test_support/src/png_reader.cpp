#include "test_support/readers.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace test_support {

std::optional<Grey> readPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_GRAY;
    Grey g{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    g.pixels.resize(PNG_IMAGE_SIZE(image));
    png_color background{255, 255, 255};
    if (!png_image_finish_read(&image, &background, g.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return g;
}

namespace {

struct ByteSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

void readBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->at < size) png_error(png, "past the end");
    std::memcpy(data, source->bytes.data() + source->at, size);
    source->at += size;
}

// Kept out of the frame that calls setjmp, so a longjmp skips no destructor.
bool readInto(png_structp png, png_infop info, ByteSource& source, PngFile& file,
              std::vector<png_byte>& row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &source, readBytes);
    png_read_info(png, info);
    file.width = static_cast<int>(png_get_image_width(png, info));
    file.height = static_cast<int>(png_get_image_height(png, info));
    file.bitDepth = png_get_bit_depth(png, info);
    file.colourType = png_get_color_type(png, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) != 0)
        for (int i = 0; i < count; ++i)
            file.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER)
        file.pixelsPerMetre = std::array<std::uint32_t, 2>{x, y};
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) return false;
    const int channels = png_get_channels(png, info);
    row.resize(png_get_rowbytes(png, info));
    for (int r = 0; r < file.height; ++r) {
        png_read_row(png, row.data(), nullptr);
        for (int c = 0; c < file.width; ++c) {
            std::uint32_t sample = 0;
            if (file.bitDepth < 8) {
                const int bit = c * file.bitDepth;
                sample = (row[static_cast<std::size_t>(bit / 8)] >> (8 - file.bitDepth - bit % 8)) &
                         ((1u << file.bitDepth) - 1);
            } else {
                for (int k = 0; k < channels; ++k)
                    sample = sample << 8 | row[static_cast<std::size_t>(c * channels + k)];
            }
            file.samples.push_back(sample);
        }
    }
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<PngFile> readPngFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    ByteSource source{bytes};
    PngFile file;
    std::vector<png_byte> row;
    const bool ok = info != nullptr && readInto(png, info, source, file, row);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return std::nullopt;
    return file;
}

}  // namespace test_support
