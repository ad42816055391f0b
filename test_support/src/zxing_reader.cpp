#include "test_support/readers.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

namespace test_support {

std::vector<Symbol> readMatrixSymbols(const Grey& picture) {
    const ZXing::ImageView image(picture.pixels.data(), picture.width, picture.height,
                                 ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix |
                     ZXing::BarcodeFormat::PDF417);
    hints.setTryHarder(true);
    std::vector<Symbol> found;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(image, hints))
        if (r.isValid()) found.push_back({ZXing::ToString(r.format()), r.text()});
    return found;
}

}  // namespace test_support
