#include "test_support/readers.h"

#include <png.h>

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

}  // namespace test_support
