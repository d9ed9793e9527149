// Anchors and models for the weight tests.
#pragma once

#include <random>
#include <vector>

#include "model/SkinnedModel.h"

namespace posewright {

/// A closed box [lo, hi] as 12 triangles with outward normals; its border box
/// is the box itself. A point is inside it exactly when it is inside the box.
inline BoneAnchor CuboidAnchor(const D3DXVECTOR3& lo, const D3DXVECTOR3& hi) {
  BoneAnchor a;
  for (int i = 0; i < 8; ++i) {
    a.vertices.emplace_back((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
  }
  a.faces = {{0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}, {0, 4, 5}, {0, 5, 1},
             {2, 3, 7}, {2, 7, 6}, {0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}};
  const D3DXVECTOR3 normals[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
  for (const D3DXVECTOR3& n : normals) {
    a.faceNormals.push_back(n);
    a.faceNormals.push_back(n);
  }
  a.boxMin = lo;
  a.boxMax = hi;
  return a;
}

/// Arbitrary anchor geometry (not closed, normals unrelated to the faces) on a
/// coarse grid, so that exact zeros, equal values and zero determinants occur.
inline BoneAnchor RandomAnchor(std::mt19937& rng, int faceCount, int vertexCount) {
  std::uniform_int_distribution<int> grid(-4, 4);
  std::uniform_int_distribution<int> normal(-2, 2);
  std::uniform_int_distribution<int> corner(0, vertexCount - 1);
  BoneAnchor a;
  for (int i = 0; i < vertexCount; ++i) {
    a.vertices.emplace_back(0.5f * static_cast<float>(grid(rng)), 0.5f * static_cast<float>(grid(rng)),
                            0.5f * static_cast<float>(grid(rng)));
  }
  for (int f = 0; f < faceCount; ++f) {
    a.faces.push_back({corner(rng), corner(rng), corner(rng)});
    a.faceNormals.emplace_back(static_cast<float>(normal(rng)), static_cast<float>(normal(rng)),
                               static_cast<float>(normal(rng)) * 0.75f);
  }
  a.boxMin = D3DXVECTOR3(-1.5f, -1.5f, -1.5f);
  a.boxMax = D3DXVECTOR3(1.5f, 1.5f, 1.5f);
  return a;
}

/// A point on the same grid as RandomAnchor's (half the time) or anywhere near it.
inline D3DXVECTOR3 RandomPoint(std::mt19937& rng) {
  std::uniform_int_distribution<int> grid(-4, 4);
  std::uniform_real_distribution<float> any(-2.0f, 2.0f);
  if (rng() % 2 == 0) {
    return D3DXVECTOR3(0.5f * static_cast<float>(grid(rng)), 0.5f * static_cast<float>(grid(rng)),
                       0.5f * static_cast<float>(grid(rng)));
  }
  return D3DXVECTOR3(any(rng), any(rng), any(rng));
}

/// Appends a bone from begin to end with the given anchor and R, H.
inline void AddBone(Skeleton& s, const D3DXVECTOR3& begin, const D3DXVECTOR3& end, BoneAnchor anchor,
                    float R = 1.0f, float H = 0.35f) {
  Bone b;
  b.name = "B" + std::to_string(s.bones.size());
  b.begin = begin;
  b.end = end;
  s.bones.push_back(b);
  s.resizePerBoneArrays();
  s.anchors.back() = std::move(anchor);
  s.blendParams.back() = BlendingParams{R, H};
}

/// A bound model with vertices at the given points and a root bone alone.
inline SkinnedModel ModelWithVertices(const std::vector<D3DXVECTOR3>& points) {
  SkinnedModel m;
  for (const D3DXVECTOR3& p : points) {
    SkinVertex v;
    v.position = p;
    v.pointSize = 3.0f;
    v.boneIndices = 0x01010101u;
    v.blendWeights[0] = 7.0f;
    m.skinnedMesh.vertices.push_back(v);
  }
  m.pointVertices = m.skinnedMesh.vertices;
  m.selection.reset(points.size());
  m.meshLoaded = true;
  AddBone(m.skeleton, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0), BoneAnchor{}, 1.0f, 1.0f);
  m.skeleton.bonesLoaded = true;
  return m;
}
}  // namespace posewright
