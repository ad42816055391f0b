// Fuzz target: the matrix module on arbitrary texts and options.  Whatever it is given, it
// answers with a symbol or a refusal, never a crash: a symbol has a grid of its declared
// size with dark modules in it, a refusal has no grid, and a text too long names a limit
// below its length.
//
// Input: byte 0 the symbology (mod 3), byte 1 the QR level (mod 5, 4 outside the range),
// byte 2 the QR version (mod 42), byte 3 flags (bit 0 UTF-8, bit 1 rectangle), byte 4 the
// PDF417 level (mod 10), byte 5 the PDF417 columns (mod 32); the rest is the text.
#include "matrix/matrix.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 6;
    if (size < kHeader) return 0;
    static const matrix::Symbology kSymbologies[] = {
        matrix::Symbology::kQr, matrix::Symbology::kDataMatrix, matrix::Symbology::kPdf417};
    const matrix::Symbology symbology = kSymbologies[data[0] % 3];
    matrix::Options options;
    options.qrLevel = static_cast<matrix::QrLevel>(data[1] % 5);
    options.qrVersion = data[2] % 42;
    options.qrUtf8 = (data[3] & 1) != 0;
    options.dataMatrixShape = (data[3] & 2) != 0 ? matrix::DataMatrixShape::kRectangle
                                                 : matrix::DataMatrixShape::kSquare;
    options.pdf417Level = data[4] % 10;
    options.pdf417Columns = data[5] % 32;
    const std::string_view text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    static matrix::Encoder encoder;  // reused, as a batch reuses it
    const matrix::Encoded e = encoder.encode(symbology, text, options);
    if (e.ok()) {
        require(e.grid.width > 0 && e.grid.height > 0);
        require(e.grid.dark.size() ==
                static_cast<std::size_t>(e.grid.width) * static_cast<std::size_t>(e.grid.height));
        require(std::count(e.grid.dark.begin(), e.grid.dark.end(), 1) > 0);
        require(e.length > 0 && e.length <= text.size());
    } else {
        require(e.grid.dark.empty());
        if (e.refusal == matrix::Refusal::kTooLong || e.refusal == matrix::Refusal::kVersionSmall)
            require(e.limit < e.length);
    }
    return 0;
}
