// Eight single-precision lanes as a compiler vector type, for the anchor test.
// Each lane's arithmetic is the plain IEEE operation, so a lane computes
// exactly what the same scalar expression computes (as long as the compiler
// does not fuse multiply-adds, which the default x86-64 target cannot).
//
// Values of these types are only ever kept in locals and passed by reference:
// passing 32-byte vectors by value would depend on the target's vector width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace posewright {

typedef float FloatLanes __attribute__((vector_size(32)));
typedef int32_t LaneMask __attribute__((vector_size(32)));

inline constexpr std::size_t kLaneCount = 8;

/// out = p[0 .. 7] (p need not be aligned).
inline void LoadLanes(FloatLanes& out, const float* p) {
  std::memcpy(&out, p, sizeof out);
}

/// Whether any lane of a comparison result is true.
inline bool AnyLane(const LaneMask& m) {
#if defined(__SSE__)
  // The sign bits of the two halves, or-ed: three instructions.
  __m128 low, high;
  std::memcpy(&low, &m, sizeof low);
  std::memcpy(&high, reinterpret_cast<const char*>(&m) + sizeof low, sizeof high);
  return _mm_movemask_ps(_mm_or_ps(low, high)) != 0;
#else
  int32_t any = 0;
  for (std::size_t k = 0; k < kLaneCount; ++k) any |= m[k];
  return any != 0;
#endif
}

/// Number of entries needed to hold n values in whole lanes (a multiple of 8).
inline std::size_t PaddedLaneCount(std::size_t n) {
  return (n + kLaneCount - 1) / kLaneCount * kLaneCount;
}
}  // namespace posewright
