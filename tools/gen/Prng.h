// A tiny deterministic pseudo-random generator (SplitMix64). Its output is the
// same on every platform and library version, unlike the standard library's
// distributions, so generated files stay byte-identical.
#pragma once

#include <cstdint>

namespace posewright {

class Prng {
 public:
  explicit Prng(uint64_t seed) : state_(seed) {}

  /// The next 64 random bits.
  uint64_t next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  /// A uniform value in [0, 1) with 24 random bits (exact in a float).
  float unit() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }

  /// A uniform value in [lo, hi).
  float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

 private:
  uint64_t state_;
};
}  // namespace posewright
