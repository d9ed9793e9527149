// Bound models and animations made up from a seed, for tests and benchmarks
// that need many or large models: a grid mesh (shared or split vertices), a
// random bone tree, up to four distinct bones per vertex with positive
// weights, and keyframes of random rotations.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "anim/Animation.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace synthetic {

/// Small deterministic generator (xorshift64*), the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  /// Uniform in [0, n).
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
  /// Uniform in [lo, hi).
  float uniform(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(next() >> 40) / 16777216.0f;
  }

 private:
  uint64_t state_;
};

struct ModelRecipe {
  /// Number of vertices; with splitVertices every face has its own three
  /// (vertexCount / 3 faces), otherwise the vertices form a grid.
  uint32_t vertexCount = 300;
  int32_t boneCount = 8;
  uint32_t materialCount = 2;
  bool splitVertices = false;
  uint64_t seed = 1;
};

/// Three neighbouring faces per face, found from edges that two faces walk in
/// opposite directions between points at equal positions (kNoFace-style
/// 0xFFFFFFFF where there is none).
inline std::vector<uint32_t> AdjacencyByPosition(const std::vector<uint16_t>& indices,
                                                 const std::vector<SkinVertex>& vertices) {
  using Point = std::tuple<float, float, float>;
  auto at = [&](uint16_t v) {
    const D3DXVECTOR3& p = vertices[v].position;
    return Point{p.x, p.y, p.z};
  };
  const std::size_t faceCount = indices.size() / 3;
  std::map<std::pair<Point, Point>, uint32_t> edgeFace;
  for (std::size_t f = 0; f < faceCount; ++f) {
    for (int e = 0; e < 3; ++e) {
      edgeFace.emplace(std::make_pair(at(indices[3 * f + e]), at(indices[3 * f + (e + 1) % 3])),
                       static_cast<uint32_t>(f));
    }
  }
  std::vector<uint32_t> adjacency(indices.size(), 0xFFFFFFFFu);
  for (std::size_t f = 0; f < faceCount; ++f) {
    for (int e = 0; e < 3; ++e) {
      const auto it = edgeFace.find(std::make_pair(at(indices[3 * f + (e + 1) % 3]), at(indices[3 * f + e])));
      if (it != edgeFace.end() && it->second != f) adjacency[3 * f + e] = it->second;
    }
  }
  return adjacency;
}

/// Gives every vertex one to four distinct bones (1 … boneCount−1) with
/// weights of at least 0.05 that sum to 1; slots left over name bone 0.
inline void AssignWeights(std::vector<SkinVertex>& vertices, int32_t boneCount, Random& random) {
  const uint32_t movable = boneCount > 1 ? static_cast<uint32_t>(boneCount - 1) : 0;
  for (SkinVertex& v : vertices) {
    v.boneIndices = 0;
    v.blendWeights[0] = 1.0f;
    v.blendWeights[1] = v.blendWeights[2] = 0.0f;
    if (movable == 0) continue;
    const uint32_t count = 1 + random.below(std::min(movable, 4u));
    std::vector<uint8_t> chosen;
    while (chosen.size() < count) {
      const auto bone = static_cast<uint8_t>(1 + random.below(std::min(movable, 255u)));
      if (std::find(chosen.begin(), chosen.end(), bone) == chosen.end()) chosen.push_back(bone);
    }
    float raw[4] = {0, 0, 0, 0};
    float sum = 0;
    for (uint32_t k = 0; k < count; ++k) sum += raw[k] = random.uniform(0.25f, 1.0f);
    for (uint32_t k = 0; k < count; ++k) v.setBoneIndex(static_cast<int>(k), chosen[k]);
    if (count < 4) {
      // Slots 0..count−1 carry everything: the first count−1 as drawn, the
      // last the remainder, so the implicit fourth weight stays near 0 on an
      // empty slot.
      float used = 0;
      for (uint32_t k = 0; k + 1 < count; ++k) used += v.blendWeights[k] = raw[k] / sum;
      if (count - 1 < 3) v.blendWeights[count - 1] = 1.0f - used;
      for (uint32_t k = count; k < 3; ++k) v.blendWeights[k] = 0.0f;
    } else {
      for (int k = 0; k < 3; ++k) v.blendWeights[k] = raw[k] / sum;
    }
  }
}

inline SkinnedModel MakeModel(const ModelRecipe& recipe) {
  Random random(recipe.seed);
  SkinnedModel m;
  std::vector<SkinVertex>& vertices = m.skinnedMesh.vertices;
  std::vector<uint16_t>& indices = m.skinnedMesh.indices;
  auto vertexAt = [&](float x, float y) {
    SkinVertex v;
    v.position = D3DXVECTOR3(x, y, 0.25f * std::sin(x + y));
    v.normal = D3DXVECTOR3(0, 0, -1);
    v.u = x / 16.0f;
    v.v = y / 16.0f;
    return v;
  };
  if (recipe.splitVertices) {
    const uint32_t faceCount = recipe.vertexCount / 3;
    const uint32_t columns = std::max<uint32_t>(1, static_cast<uint32_t>(std::sqrt(faceCount / 2.0)) + 1);
    for (uint32_t f = 0; f < faceCount; ++f) {
      const uint32_t cell = f / 2;
      const float x = static_cast<float>(cell % columns);
      const float y = static_cast<float>(cell / columns);
      const bool lower = f % 2 == 0;
      const D3DXVECTOR3 corners[3] = {lower ? D3DXVECTOR3(x, y, 0) : D3DXVECTOR3(x + 1, y, 0),
                                      lower ? D3DXVECTOR3(x + 1, y, 0) : D3DXVECTOR3(x + 1, y + 1, 0),
                                      lower ? D3DXVECTOR3(x, y + 1, 0) : D3DXVECTOR3(x, y + 1, 0)};
      for (const D3DXVECTOR3& c : corners) {
        indices.push_back(static_cast<uint16_t>(vertices.size()));
        vertices.push_back(vertexAt(c.x, c.y));
      }
    }
    while (vertices.size() < recipe.vertexCount) vertices.push_back(vertexAt(-1, -1));
  } else {
    const uint32_t columns = std::max<uint32_t>(2, static_cast<uint32_t>(std::sqrt(recipe.vertexCount)));
    const uint32_t rows = std::max<uint32_t>(2, recipe.vertexCount / columns);
    for (uint32_t r = 0; r < rows; ++r) {
      for (uint32_t c = 0; c < columns; ++c)
        vertices.push_back(vertexAt(static_cast<float>(c), static_cast<float>(r)));
    }
    for (uint32_t r = 0; r + 1 < rows; ++r) {
      for (uint32_t c = 0; c + 1 < columns; ++c) {
        const auto v = static_cast<uint16_t>(r * columns + c);
        const auto right = static_cast<uint16_t>(v + 1);
        const auto up = static_cast<uint16_t>(v + columns);
        const auto diagonal = static_cast<uint16_t>(up + 1);
        indices.insert(indices.end(), {v, right, up, right, diagonal, up});
      }
    }
  }
  const std::size_t faceCount = indices.size() / 3;
  AssignWeights(vertices, recipe.boneCount, random);

  // Materials in contiguous face blocks, so faces are already sorted by material.
  const uint32_t materialCount = std::max<uint32_t>(1, recipe.materialCount);
  for (uint32_t j = 0; j < materialCount; ++j) {
    D3DXMATERIAL material;
    material.MatD3D.Diffuse = {random.uniform(0, 1), random.uniform(0, 1), random.uniform(0, 1), 1};
    material.MatD3D.Power = static_cast<float>(j);
    m.materialList.push_back(material);
    D3DMATERIAL8 draw = material.MatD3D;
    draw.Ambient = {0.5f, 0.5f, 0.5f, 0};
    m.materials.push_back(draw);
  }
  m.textures.resize(materialCount);
  m.textureNames.resize(materialCount);
  for (std::size_t f = 0; f < faceCount; ++f) {
    m.skinnedMesh.faceAttributes.push_back(static_cast<uint32_t>(f * materialCount / faceCount));
  }
  for (uint32_t j = 0; j < materialCount; ++j) {
    D3DXATTRIBUTERANGE range;
    range.AttribId = j;
    uint32_t low = UINT32_MAX;
    uint32_t high = 0;
    bool any = false;
    for (std::size_t f = 0; f < faceCount; ++f) {
      if (m.skinnedMesh.faceAttributes[f] != j) continue;
      if (!any) range.FaceStart = static_cast<uint32_t>(f);
      any = true;
      ++range.FaceCount;
      for (int k = 0; k < 3; ++k) {
        low = std::min<uint32_t>(low, indices[3 * f + k]);
        high = std::max<uint32_t>(high, indices[3 * f + k]);
      }
    }
    if (!any) continue;
    range.VertexStart = low;
    range.VertexCount = high - low + 1;
    m.attributeTable.push_back(range);
  }
  m.adjacency = AdjacencyByPosition(indices, vertices);
  m.pointVertices = vertices;
  m.selection.reset(vertices.size());
  m.meshLoaded = true;

  for (int32_t b = 0; b < recipe.boneCount; ++b) {
    Bone bone;
    bone.name = b == 0 ? "Root" : "Bone" + std::to_string(b);
    bone.parentId = b == 0 ? 0 : static_cast<int32_t>(random.below(static_cast<uint32_t>(b)));
    bone.symmetricId = b;
    bone.begin = D3DXVECTOR3(random.uniform(0, 16), random.uniform(0, 16), random.uniform(-1, 1));
    bone.end = D3DXVECTOR3(bone.begin.x + 1, bone.begin.y, bone.begin.z);
    m.skeleton.bones.push_back(bone);
  }
  m.skeleton.resizePerBoneArrays();
  m.skeleton.bonesLoaded = true;
  return m;
}

/// A unit quaternion of a random turn.
inline D3DXQUATERNION RandomRotation(Random& random) {
  D3DXQUATERNION q(random.uniform(-1, 1), random.uniform(-1, 1), random.uniform(-1, 1),
                   random.uniform(0.2f, 1));
  const float n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  return D3DXQUATERNION(q.x / n, q.y / n, q.z / n, q.w / n);
}

/// An animation of boneCount bones with one keyframe of random rotations at each time.
inline Animation MakeAnimation(int32_t boneCount, const std::vector<int32_t>& times, uint64_t seed) {
  Random random(seed);
  Animation animation;
  animation.name = "synthetic";
  animation.boneCount = boneCount;
  for (int32_t t : times) {
    std::vector<D3DXQUATERNION> rotations;
    for (int32_t b = 0; b < boneCount; ++b) rotations.push_back(RandomRotation(random));
    animation.InsertKey(rotations, t);
  }
  return animation;
}

}  // namespace synthetic
}  // namespace posewright
