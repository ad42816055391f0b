// Text to module grid: the matrix module's Encoder beside libzint's ZBarcode_Encode on its
// own, the same texts and options, in the same run.  The difference is what the module
// adds: the Shift_JIS or UTF-8 choice, the checks and the grid.
//   build/default/bench/matrix_bench
#include "matrix/matrix.h"

#include <zint.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

struct Case {
    matrix::Symbology symbology;
    int zintSymbology;
    int zintOption1;
    int zintOption3;
    int zintEci;
    const char* text;
};

// A 30-character URL; a Japanese label (Shift_JIS, kanji mode); the same Japanese text for
// Data Matrix and PDF417 (UTF-8 under ECI 26).
constexpr Case kQrUrl{matrix::Symbology::kQr, BARCODE_QRCODE, 2, 0, 0,
                      "https://example.jp/item/000042"};
constexpr Case kQrKanji{matrix::Symbology::kQr, BARCODE_QRCODE, 2, 0, 0,
                        "品番 4901234 賞味期限 2026年12月 ﾛｯﾄ7"};
constexpr Case kDataMatrix{matrix::Symbology::kDataMatrix, BARCODE_DATAMATRIX, -1, DM_SQUARE, 26,
                           "品番 4901234 賞味期限 2026年12月 ﾛｯﾄ7"};
constexpr Case kPdf417{matrix::Symbology::kPdf417, BARCODE_PDF417, -1, 0, 26,
                       "品番 4901234 賞味期限 2026年12月 ﾛｯﾄ7"};

void matrixEncode(benchmark::State& state, Case c) {
    matrix::Encoder encoder;
    const matrix::Options options;
    for (auto _ : state) {
        const matrix::Encoded e = encoder.encode(c.symbology, c.text, options);
        benchmark::DoNotOptimize(e.grid.dark.data());
        if (!e.ok()) {
            state.SkipWithError("the module refused the benchmark text");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// libzint as a caller uses it directly: UTF-8 in, its own conversions.
void zintEncode(benchmark::State& state, Case c) {
    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol(ZBarcode_Create(),
                                                                          ZBarcode_Delete);
    const std::string data = c.text;
    for (auto _ : state) {
        ZBarcode_Clear(symbol.get());
        symbol->symbology = c.zintSymbology;
        symbol->input_mode = UNICODE_MODE;
        symbol->option_1 = c.zintOption1;
        symbol->option_3 = c.zintOption3;
        symbol->eci = c.zintEci;
        const int result = ZBarcode_Encode(
            symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
            static_cast<int>(data.size()));
        benchmark::DoNotOptimize(symbol->width);
        if (result >= ZINT_ERROR) {
            state.SkipWithError(symbol->errtxt);
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(matrixEncode, QrUrl, kQrUrl);
BENCHMARK_CAPTURE(zintEncode, QrUrl, kQrUrl);
BENCHMARK_CAPTURE(matrixEncode, QrKanji, kQrKanji);
BENCHMARK_CAPTURE(zintEncode, QrKanji, kQrKanji);
BENCHMARK_CAPTURE(matrixEncode, DataMatrix, kDataMatrix);
BENCHMARK_CAPTURE(zintEncode, DataMatrix, kDataMatrix);
BENCHMARK_CAPTURE(matrixEncode, Pdf417, kPdf417);
BENCHMARK_CAPTURE(zintEncode, Pdf417, kPdf417);
