#include "test_support/scan_elements.h"

#include <zbar.h>

#include <cstdlib>
#include <memory>

namespace kelda::testing {

std::vector<Scanned> scanElements(std::span<const std::int32_t> elements, int modulePixels,
                                  int quietModules) {
    constexpr int kRows = 24;
    int modules = 2 * quietModules;
    for (const std::int32_t e : elements) modules += std::abs(e);
    const int width = modules * modulePixels;

    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * kRows, 0xFF);
    int x = quietModules * modulePixels;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const int w = std::abs(elements[i]) * modulePixels;
        if (i % 2 == 0) {
            for (int row = 0; row < kRows; ++row)
                for (int c = x; c < x + w; ++c) pixels[static_cast<std::size_t>(row * width + c)] = 0;
        }
        x += w;
    }

    std::unique_ptr<zbar::zbar_image_scanner_t, decltype(&zbar::zbar_image_scanner_destroy)> scanner(
        zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
    zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_X_DENSITY, 0);
    zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_Y_DENSITY, 1);

    std::unique_ptr<zbar::zbar_image_t, decltype(&zbar::zbar_image_destroy)> image(
        zbar::zbar_image_create(), zbar::zbar_image_destroy);
    zbar::zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
    zbar::zbar_image_set_size(image.get(), static_cast<unsigned>(width), kRows);
    zbar::zbar_image_set_data(image.get(), pixels.data(), pixels.size(), nullptr);

    std::vector<Scanned> found;
    if (zbar::zbar_scan_image(scanner.get(), image.get()) > 0) {
        for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(image.get()); s != nullptr;
             s = zbar::zbar_symbol_next(s)) {
            found.push_back({zbar::zbar_get_symbol_name(zbar::zbar_symbol_get_type(s)),
                             zbar::zbar_symbol_get_data(s)});
        }
    }
    return found;
}

}  // namespace kelda::testing
