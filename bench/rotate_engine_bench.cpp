// The rotation engine on a 4000x4000 picture, 8- and 24-bit, at 90 and 45 degrees,
// beside a plain memcpy of the same pixel buffer in the same run.  Items per second are
// pixels per second; bytes per second
// count the source's pixel bytes, so the rates compare directly with memcpy's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <numbers>
#include <random>

#include "platform/bitmap.h"
#include "rotateimage/rotation_engine.h"

namespace {

constexpr int kSide = 4000;

rotateimage::DibBuffer makeSource(int bits) {
  std::mt19937 random(42);
  platform::Bitmap bitmap(kSide, kSide, bits);
  for (int y = 0; y < kSide; ++y)
    for (auto& byte : bitmap.row(y)) byte = static_cast<std::uint8_t>(random());
  auto dib = bitmap.saveToDib();
  if (bits == 24) dib.push_back(0);  // the spare byte of the 24-bit form
  return dib;
}

// Built once per depth: the benchmark library calls each function several times.
const rotateimage::DibBuffer& sourceDib(int bits) {
  static const rotateimage::DibBuffer eight = makeSource(8);
  static const rotateimage::DibBuffer twentyFour = makeSource(24);
  return bits == 8 ? eight : twentyFour;
}

std::size_t pixelBytes(int bits) { return static_cast<std::size_t>(kSide) * kSide * static_cast<std::size_t>(bits / 8); }

void setRates(benchmark::State& state, int bits) {
  const auto pixels = static_cast<std::int64_t>(kSide) * kSide;
  state.SetItemsProcessed(state.iterations() * pixels);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pixelBytes(bits)));
}

void BM_Memcpy(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const rotateimage::DibBuffer& source = sourceDib(bits);
  rotateimage::DibBuffer target(source.size());
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), pixelBytes(bits));
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  setRates(state, bits);
}

void BM_Rotate(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int degrees = static_cast<int>(state.range(1));
  const rotateimage::DibBuffer& source = sourceDib(bits);
  // The matrix the component builds for this angle at zoom 100.
  const float angle = static_cast<float>(degrees * 10 * std::numbers::pi / 1800.0);
  const rotateimage::Dimension d = rotateimage::dimensionFor(angle, 1.0f);
  rotateimage::DibBuffer rotated, mask;
  for (auto _ : state) {
    if (!rotateimage::ExecuteDimension(source, d, {}, rotated, mask)) state.SkipWithError("render refused");
    benchmark::DoNotOptimize(rotated.data());
  }
  setRates(state, bits);
}

BENCHMARK(BM_Memcpy)->ArgName("bits")->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate)->ArgNames({"bits", "degrees"})->ArgsProduct({{8, 24}, {90, 45}})->Unit(benchmark::kMillisecond);

}  // namespace
