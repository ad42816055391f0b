// The rotation engine on a 4000x4000 picture, 8- and 24-bit, at the right angles and at
// 45 degrees, beside a plain memcpy of the same pixel buffer and, where OpenCV is
// installed, beside cv::rotate (right angles) and cv::warpAffine with nearest-neighbour
// sampling (any angle, same output size), all in the same run and each with the threads
// it uses by default.  Items per second are pixels per second; bytes per second count
// the source's pixel bytes, so the rates compare directly with memcpy's.  Rates are
// taken over wall-clock time: the engine and OpenCV may work on several threads, where
// the library's own rates would count only the calling thread's processor time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <numbers>
#include <random>

#include "platform/bitmap.h"
#include "rotateimage/rotation_engine.h"

#if defined(QUILLMARK_HAVE_OPENCV)
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

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

std::size_t pixelBytes(int bits) {
    return static_cast<std::size_t>(kSide) * kSide * static_cast<std::size_t>(bits / 8);
}

// The matrix the component builds for this angle at zoom 100.
rotateimage::Dimension dimensionAt(int degrees) {
    const float angle = static_cast<float>(degrees * 10 * std::numbers::pi / 1800.0);
    return rotateimage::dimensionFor(angle, 1.0f);
}

// Runs `body` once per iteration and sets the rates from the loop's wall-clock time.
template <class Body>
void timed(benchmark::State& state, int bits, Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double iterations = static_cast<double>(state.iterations());
    state.counters["items_per_second"] = iterations * kSide * kSide / seconds;
    state.counters["bytes_per_second"] =
        iterations * static_cast<double>(pixelBytes(bits)) / seconds;
}

void BM_Memcpy(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const rotateimage::DibBuffer& source = sourceDib(bits);
    rotateimage::DibBuffer target(source.size());
    timed(state, bits, [&] {
        std::memcpy(target.data(), source.data(), pixelBytes(bits));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    });
}

void BM_Rotate(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const rotateimage::DibBuffer& source = sourceDib(bits);
    const rotateimage::Dimension d = dimensionAt(static_cast<int>(state.range(1)));
    rotateimage::DibBuffer rotated, mask;
    timed(state, bits, [&] {
        if (!rotateimage::ExecuteDimension(source, d, {}, rotated, mask))
            state.SkipWithError("render refused");
        benchmark::DoNotOptimize(rotated.data());
    });
}

BENCHMARK(BM_Memcpy)->ArgName("bits")->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate)
    ->ArgNames({"bits", "degrees"})
    ->ArgsProduct({{8, 24}, {90, 45, 180, 270}})
    ->Unit(benchmark::kMillisecond);

#if defined(QUILLMARK_HAVE_OPENCV)
// The source's pixel rows as an OpenCV picture, without a copy.
cv::Mat sourceMat(int bits) {
    const rotateimage::DibBuffer& source = sourceDib(bits);
    const rotateimage::DibInfo info = rotateimage::readDibInfo(source);
    return cv::Mat(info.height, info.width, bits == 8 ? CV_8UC1 : CV_8UC3,
                   const_cast<std::uint8_t*>(source.data() + info.pixelOffset), info.stride);
}

void BM_OpenCvRotate(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const cv::Mat source = sourceMat(bits);
    const int degrees = static_cast<int>(state.range(1));
    const cv::RotateFlags flag = degrees == 90    ? cv::ROTATE_90_CLOCKWISE
                                 : degrees == 180 ? cv::ROTATE_180
                                                  : cv::ROTATE_90_COUNTERCLOCKWISE;
    cv::Mat rotated;
    timed(state, bits, [&] {
        cv::rotate(source, rotated, flag);
        benchmark::DoNotOptimize(rotated.data);
    });
}

// The engine's own matrix and origin, handed to warpAffine as the inverse map from
// output to source, with the engine's output size.
void BM_OpenCvWarpAffine(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const cv::Mat source = sourceMat(bits);
    const rotateimage::Dimension d = dimensionAt(static_cast<int>(state.range(1)));
    const auto size = rotateimage::outputSize(d, kSide, kSide);
    if (!size) {
        state.SkipWithError("no output size");
        return;
    }
    const double g = size->width / 2.0 - 0.5;
    const double k = size->height / 2.0 - 0.5;
    const cv::Matx23d map(d.colStepX, d.rowStepX, kSide / 2.0 - g * d.colStepX - k * d.rowStepX,  //
                          d.colStepY, d.rowStepY, kSide / 2.0 - g * d.colStepY - k * d.rowStepY);
    cv::Mat rotated;
    timed(state, bits, [&] {
        cv::warpAffine(source, rotated, map, cv::Size(size->width, size->height),
                       cv::INTER_NEAREST | cv::WARP_INVERSE_MAP);
        benchmark::DoNotOptimize(rotated.data);
    });
}

BENCHMARK(BM_OpenCvRotate)
    ->ArgNames({"bits", "degrees"})
    ->ArgsProduct({{8, 24}, {90, 180, 270}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_OpenCvWarpAffine)
    ->ArgNames({"bits", "degrees"})
    ->ArgsProduct({{8, 24}, {45}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

}  // namespace
