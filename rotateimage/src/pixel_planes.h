// What the rotation kernels work on: pixel rows in memory (first row, row stride), with
// no knowledge of DIB headers, and the choice between the vector kernels and the
// portable ones.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rotateimage::detail {

struct Plane {
  std::uint8_t* data;
  std::size_t stride;
};
struct ConstPlane {
  const std::uint8_t* data;
  std::size_t stride;
};

// The kernels a render may use: AVX2 where the processor has it (the build targets
// plain x86-64, so those kernels are compiled for AVX2 alone and picked at run time),
// or portable C++.
enum class Kernels { portable, avx2 };

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define ROTATEIMAGE_AVX2 1
#define ROTATEIMAGE_AVX2_TARGET __attribute__((target("avx2")))
// Register blocks are arrays walked by short loops; unrolled, they stay in registers.
#define ROTATEIMAGE_UNROLL _Pragma("GCC unroll 16")
#endif

inline Kernels fastestKernels() {
#if defined(ROTATEIMAGE_AVX2)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2 ? Kernels::avx2 : Kernels::portable;
#else
  return Kernels::portable;
#endif
}

}  // namespace rotateimage::detail
