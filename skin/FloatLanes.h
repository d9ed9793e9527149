// Four single-precision lanes with the few operations the anchor test needs.
// Each lane's arithmetic is the plain IEEE operation (no fused multiply-add),
// so a lane computes exactly what the same scalar expression computes.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SSE2__)

struct FloatLanes {
  __m128 v;

  static constexpr int kCount = 4;
  static FloatLanes Load(const float* p) { return {_mm_loadu_ps(p)}; }
  static FloatLanes Broadcast(float s) { return {_mm_set1_ps(s)}; }
  friend FloatLanes operator+(FloatLanes a, FloatLanes b) { return {_mm_add_ps(a.v, b.v)}; }
  friend FloatLanes operator*(FloatLanes a, FloatLanes b) { return {_mm_mul_ps(a.v, b.v)}; }
};

/// Bit k set when a < b in lane k (never for NaN).
inline unsigned LessMask(FloatLanes a, FloatLanes b) {
  return static_cast<unsigned>(_mm_movemask_ps(_mm_cmplt_ps(a.v, b.v)));
}

#else

struct FloatLanes {
  float v[4];

  static constexpr int kCount = 4;
  static FloatLanes Load(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
  static FloatLanes Broadcast(float s) { return {{s, s, s, s}}; }
  friend FloatLanes operator+(FloatLanes a, FloatLanes b) {
    for (int k = 0; k < 4; ++k) a.v[k] = a.v[k] + b.v[k];
    return a;
  }
  friend FloatLanes operator*(FloatLanes a, FloatLanes b) {
    for (int k = 0; k < 4; ++k) a.v[k] = a.v[k] * b.v[k];
    return a;
  }
};

inline unsigned LessMask(FloatLanes a, FloatLanes b) {
  unsigned m = 0;
  for (int k = 0; k < 4; ++k) m |= (a.v[k] < b.v[k] ? 1u : 0u) << k;
  return m;
}

#endif

/// Number of lanes' worth of entries needed to hold n values (a multiple of 4).
inline std::size_t PaddedLaneCount(std::size_t n) {
  return (n + 3) / 4 * 4;
}
