// NW-7, Code 39, ITF, Code 128 and Code 93: KELDA's CheckBarcode + BarEncode pair beside
// libzint's ZBarcode_Encode on the same 20 characters, in the same run.
//   build/default/bench/kelda_bench --benchmark_filter='Encoders'
#include "kelda.h"

#include <zint.h>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

namespace {

struct Case {
    std::int32_t request;
    const char* keldaText;  // what the user types for KELDA
    int zintSymbology;
    const char* zintText;  // the same data as libzint takes it
};

// Code 128 values: "B" and the code set B values of the text-form case, in hex.
constexpr Case kNW7{KELDA_NW7, "A40156-$:/.+1234567B", BARCODE_CODABAR, "A40156-$:/.+1234567B"};
constexpr Case kCode39{KELDA_CODE39, "CODE39 TEST-1234.$/+", BARCODE_CODE39,
                       "CODE39 TEST-1234.$/+"};
constexpr Case kITF{KELDA_ITF, "01234567890123456789", BARCODE_C25INTER, "01234567890123456789"};
constexpr Case kCode128{KELDA_CODE128_TEXT, "Quillmark-128 abcXYZ", BARCODE_CODE128,
                        "Quillmark-128 abcXYZ"};
constexpr Case kCode128Values{KELDA_CODE128_VALUES, "B3155494C4C4D41524B0D1112180041424338393A",
                              BARCODE_CODE128, "Quillmark-128 abcXYZ"};
constexpr Case kCode93{KELDA_CODE93, "TEST93 CODE-93.$/+%X", BARCODE_CODE93,
                       "TEST93 CODE-93.$/+%X"};

void keldaPair(benchmark::State& state, Case c) {
    std::array<char, 80> readable{};
    std::array<std::int32_t, 1024> widths{};
    std::array<std::int32_t, KELDA_PARITY_ROOM> parity{};
    for (auto _ : state) {
        std::int32_t count = 0;
        const std::int32_t code = CheckBarcode(c.request, 0, c.keldaText, readable.data(), &count);
        const std::int32_t modules =
            BarEncode(code, readable.data(), 3, 2, widths.data(), parity.data());
        benchmark::DoNotOptimize(modules);
        benchmark::ClobberMemory();
        if (modules <= 0) {
            state.SkipWithError("KELDA refused the benchmark text");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void zintEncode(benchmark::State& state, Case c) {
    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol(ZBarcode_Create(),
                                                                          ZBarcode_Delete);
    const std::string data = c.zintText;
    for (auto _ : state) {
        ZBarcode_Clear(symbol.get());
        symbol->symbology = c.zintSymbology;
        const int error =
            ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
                            static_cast<int>(data.size()));
        benchmark::DoNotOptimize(symbol->width);
        if (error >= ZINT_ERROR) {
            state.SkipWithError("libzint refused the benchmark text");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// Each case's two rows side by side: keldaPair/Encoders_NAME, then zintEncode/Encoders_NAME.
const bool kRegistered = [] {
    const std::pair<const char*, Case> cases[] = {
        {"NW7", kNW7},
        {"Code39", kCode39},
        {"ITF", kITF},
        {"Code128Text", kCode128},
        {"Code128Values", kCode128Values},
        {"Code93", kCode93},
    };
    for (const auto& [name, c] : cases) {
        benchmark::RegisterBenchmark((std::string("keldaPair/Encoders_") + name).c_str(), keldaPair,
                                     c);
        benchmark::RegisterBenchmark((std::string("zintEncode/Encoders_") + name).c_str(),
                                     zintEncode, c);
    }
    return true;
}();

}  // namespace
