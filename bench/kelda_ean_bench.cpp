// CheckBarcode + BarEncode pairs per second for the JAN/UPC family, beside libzint
// encoding the same EAN-13 codes in the same run.
#include "kelda.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

// A fixed set of random codes of `digits` digits, with an optional ".addon" tail.
std::vector<std::string> codes(std::size_t digits, std::string_view tail = {}) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<std::string> out(1024);
    for (std::string& code : out) {
        for (std::size_t i = 0; i < digits; ++i) code += static_cast<char>('0' + digit(rng));
        code += tail;
    }
    return out;
}

void encodePairs(benchmark::State& state, const std::vector<std::string>& inputs) {
    std::array<char, 64> readable{};
    std::array<std::int32_t, 200> widths{};
    std::array<std::int32_t, KELDA_PARITY_ROOM> parity{};
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& input = inputs[i++ % inputs.size()];
        std::int32_t count = 0;
        const std::int32_t code =
            CheckBarcode(KELDA_JAN_UPC, 1, input.c_str(), readable.data(), &count);
        const std::int32_t modules =
            BarEncode(code, readable.data(), 3, 2, widths.data(), parity.data());
        benchmark::DoNotOptimize(modules);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_KeldaEan13(benchmark::State& state) { encodePairs(state, codes(12)); }
void BM_KeldaEan13AddOn5(benchmark::State& state) { encodePairs(state, codes(12, "0.52495")); }
void BM_KeldaUpcE(benchmark::State& state) { encodePairs(state, codes(6)); }
void BM_KeldaUpcD5(benchmark::State& state) {
    encodePairs(state, codes(12, ".12345670.1234.12345670"));
}

// libzint on the same 12-digit EAN-13 codes (it adds the check digit too).
void BM_ZintEan13(benchmark::State& state) {
    const std::vector<std::string> inputs = codes(12);
    zint_symbol* symbol = ZBarcode_Create();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& input = inputs[i++ % inputs.size()];
        ZBarcode_Clear(symbol);
        symbol->symbology = BARCODE_EANX;
        const int error =
            ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(input.data()),
                            static_cast<int>(input.size()));
        benchmark::DoNotOptimize(error);
    }
    ZBarcode_Delete(symbol);
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_KeldaEan13);
BENCHMARK(BM_KeldaEan13AddOn5);
BENCHMARK(BM_KeldaUpcE);
BENCHMARK(BM_KeldaUpcD5);
BENCHMARK(BM_ZintEan13);

}  // namespace
