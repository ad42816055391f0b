#include "test_support/readers.h"

#include <zbar.h>

#include <memory>

namespace test_support {

std::vector<Symbol> readSymbols(const Grey& picture) {
    const std::unique_ptr<zbar::zbar_image_scanner_t, decltype(&zbar::zbar_image_scanner_destroy)>
        scanner(zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
    zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);

    const std::unique_ptr<zbar::zbar_image_t, decltype(&zbar::zbar_image_destroy)> image(
        zbar::zbar_image_create(), zbar::zbar_image_destroy);
    zbar::zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
    zbar::zbar_image_set_size(image.get(), static_cast<unsigned>(picture.width),
                              static_cast<unsigned>(picture.height));
    zbar::zbar_image_set_data(image.get(), picture.pixels.data(), picture.pixels.size(), nullptr);

    std::vector<Symbol> found;
    if (zbar::zbar_scan_image(scanner.get(), image.get()) <= 0) return found;
    for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(image.get()); s != nullptr;
         s = zbar::zbar_symbol_next(s)) {
        found.push_back({zbar::zbar_get_symbol_name(zbar::zbar_symbol_get_type(s)),
                         zbar::zbar_symbol_get_data(s)});
    }
    return found;
}

std::string scan(const Grey& picture) {
    std::string out;
    for (const Symbol& s : readSymbols(picture)) out += s.type + ':' + s.data + '\n';
    return out;
}

}  // namespace test_support
