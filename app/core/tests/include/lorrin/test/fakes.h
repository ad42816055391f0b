// Stand-ins for the desktop services, and readers that look at pictures independently
// of the code that drew them: zbar for the symbols, libpng for files.
#pragma once

#include "platform/bitmap.h"
#include "platform/services.h"

#include <png.h>
#include <zbar.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lorrin::test {

using namespace zbar;

class FakeClipboard : public platform::Clipboard {
public:
    std::vector<platform::Bitmap> pictures;
    bool hasText() const override { return false; }
    std::string text() const override { return {}; }
    void empty() override {}
    bool setPicture(const platform::Bitmap& picture) override {
        pictures.push_back(picture);
        return true;
    }
};

class FakeSound : public platform::Sound {
public:
    std::vector<std::string> played;
    void playAsync(std::string_view path) override { played.emplace_back(path); }
};

class FakeScreen : public platform::Screen {
public:
    platform::ScreenSize screen{1024, 768};
    platform::ScreenSize size() const override { return screen; }
};

// An 8-bit grey picture, one byte per pixel, top row first.
struct Grey {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    bool dark(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)] < 128; }
};

inline Grey toGrey(const platform::Bitmap& picture) {
    Grey g{picture.width(), picture.height(), {}};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t p = picture.pixel(x, y);
            const platform::Rgb c = picture.bitsPerPixel() == 24
                                        ? platform::Rgb{static_cast<std::uint8_t>(p >> 16),
                                                        static_cast<std::uint8_t>(p >> 8),
                                                        static_cast<std::uint8_t>(p)}
                                        : picture.palette().at(p);
            g.pixels.push_back(static_cast<std::uint8_t>((c.red + c.green + c.blue) / 3));
        }
    }
    return g;
}

// Any PNG file as grey, through libpng's own conversions.
inline std::optional<Grey> readPng(const std::filesystem::path& path) {
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

// What zbar reads in the picture: "TYPE:data" per symbol, one line each.
inline std::string scan(const Grey& g) {
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, static_cast<unsigned>(g.width), static_cast<unsigned>(g.height));
    zbar_image_set_data(image, g.pixels.data(), g.pixels.size(), nullptr);
    zbar_scan_image(scanner, image);
    std::string out;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(image); s != nullptr;
         s = zbar_symbol_next(s)) {
        out += zbar_get_symbol_name(zbar_symbol_get_type(s));
        out += ':';
        out += zbar_symbol_get_data(s);
        out += '\n';
    }
    zbar_image_destroy(image);
    zbar_image_scanner_destroy(scanner);
    return out;
}

}  // namespace lorrin::test
