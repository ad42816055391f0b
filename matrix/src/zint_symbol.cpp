#include "zint_symbol.h"

#include <algorithm>
#include <new>
#include <zint.h>

namespace matrix {
namespace {

int zintSymbology(Symbology symbology) {
    switch (symbology) {
        case Symbology::kQr: return BARCODE_QRCODE;
        case Symbology::kDataMatrix: return BARCODE_DATAMATRIX;
        case Symbology::kPdf417: return BARCODE_PDF417;
    }
    return BARCODE_QRCODE;
}

}  // namespace

const int ZintSymbol::kDataMatrixSquare = DM_SQUARE;

ZintSymbol::ZintSymbol() : symbol_(ZBarcode_Create()) {
    if (symbol_ == nullptr) throw std::bad_alloc();
}

ZintSymbol::~ZintSymbol() { ZBarcode_Delete(symbol_); }

ZintResult ZintSymbol::encode(const ZintRequest& request) {
    ZBarcode_Clear(symbol_);
    symbol_->symbology = zintSymbology(request.symbology);
    symbol_->input_mode = DATA_MODE;
    symbol_->eci = request.eci;
    symbol_->option_1 = request.option1;
    symbol_->option_2 = request.option2;
    // Full multibyte: the double bytes of Shift_JIS data are kanji for libzint's modes.
    symbol_->option_3 = request.shiftJis ? ZINT_FULL_MULTIBYTE : request.option3;
    const int result =
        ZBarcode_Encode(symbol_, reinterpret_cast<const unsigned char*>(request.data.data()),
                        static_cast<int>(request.data.size()));
    if (result < ZINT_ERROR) return ZintResult::kDone;
    return result == ZINT_ERROR_TOO_LONG ? ZintResult::kTooLong : ZintResult::kFailed;
}

Grid ZintSymbol::grid(int rowModules) const {
    Grid out;
    out.width = symbol_->width;
    out.height = symbol_->rows * rowModules;
    out.dark.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    std::uint8_t* cell = out.dark.data();
    for (int row = 0; row < symbol_->rows; ++row) {
        const unsigned char* bits = symbol_->encoded_data[row];
        std::uint8_t* first = cell;
        for (int x = 0; x < out.width; ++x) *cell++ = (bits[x >> 3] >> (x & 7)) & 1;
        for (int copy = 1; copy < rowModules; ++copy) cell = std::copy(first, first + out.width, cell);
    }
    return out;
}

int ZintSymbol::qrVersion() const { return (symbol_->width - 17) / 4; }

}  // namespace matrix
