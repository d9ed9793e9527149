// A tube along x from 0 to 1 on two bones: bone 1 weighs 1 − x in slot 0,
// bone 2 weighs x in slot 1, slots 2 and 3 are empty. Rings of vertices at
// x = 0, 0.25, …, 1, joined by quads.
#pragma once

#include <cmath>
#include <vector>

#include "model/SkinnedModel.h"

namespace posewright {

namespace tube {

inline constexpr int kRings = 5;
inline constexpr int kSides = 8;
inline constexpr float kRadius = 0.2f;

inline float RingX(int ring) {
  return static_cast<float>(ring) / static_cast<float>(kRings - 1);
}

inline SkinVertex TubeVertex(int ring, int side) {
  const float a = 6.2831853f * static_cast<float>(side) / static_cast<float>(kSides);
  SkinVertex v;
  v.position = D3DXVECTOR3(RingX(ring), kRadius * std::cos(a), kRadius * std::sin(a));
  v.normal = D3DXVECTOR3(0.0f, std::cos(a), std::sin(a));
  v.setBoneIndex(0, 1);
  v.setBoneIndex(1, 2);
  v.blendWeights[0] = 1.0f - RingX(ring);
  v.blendWeights[1] = RingX(ring);
  v.blendWeights[2] = 0.0f;
  return v;
}

inline std::vector<SkinVertex> TubeVertices() {
  std::vector<SkinVertex> vertices;
  for (int r = 0; r < kRings; ++r) {
    for (int s = 0; s < kSides; ++s) vertices.push_back(TubeVertex(r, s));
  }
  return vertices;
}

inline std::vector<uint16_t> TubeIndices() {
  std::vector<uint16_t> indices;
  auto at = [](int r, int s) { return static_cast<uint16_t>(r * kSides + (s % kSides)); };
  for (int r = 0; r + 1 < kRings; ++r) {
    for (int s = 0; s < kSides; ++s) {
      for (uint16_t i :
           {at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s), at(r + 1, s + 1), at(r, s + 1)}) {
        indices.push_back(i);
      }
    }
  }
  return indices;
}

}  // namespace tube
}  // namespace posewright
