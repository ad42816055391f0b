// libzint behind a class of ours: one zint symbol, reused from one text to the next.
// Only this header's source file includes zint.h.
#pragma once

#include "matrix/matrix.h"

#include <array>
#include <string_view>

struct zint_symbol;

namespace matrix {

enum class ZintResult { kDone, kTooLong, kFailed };

struct ZintRequest {
    Symbology symbology = Symbology::kQr;
    std::string_view data;  // the bytes the symbol carries
    int eci = 0;            // 0: none
    int option1 = -1;       // QR: level 1-4; PDF417: level 0-8, -1 recommended
    int option2 = 0;        // QR: version; PDF417: columns; Data Matrix: size
    int option3 = 0;        // Data Matrix: kDataMatrixSquare
    bool shiftJis = false;  // QR: the data is Shift_JIS, its kanji go in kanji mode
};

class ZintSymbol {
public:
    // libzint's Data Matrix sizes 25 to 30 are the six rectangles, smallest first
    // (8x18, 8x32, 12x26, 12x36, 16x36, 16x48); "square" keeps it to squares.
    static constexpr std::array<int, 6> kDataMatrixRectangles = {25, 26, 27, 28, 29, 30};
    static const int kDataMatrixSquare;

    ZintSymbol();
    ~ZintSymbol();
    ZintSymbol(const ZintSymbol&) = delete;
    ZintSymbol& operator=(const ZintSymbol&) = delete;

    ZintResult encode(const ZintRequest& request);
    // The last symbol made, each of its rows `rowModules` rows high.
    Grid grid(int rowModules) const;
    // The last QR symbol's version.
    int qrVersion() const;

private:
    zint_symbol* symbol_;
};

}  // namespace matrix
