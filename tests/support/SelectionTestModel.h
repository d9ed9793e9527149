// A bound model whose vertices carry chosen bone index quads, for selection tests.
#pragma once

#include <array>
#include <vector>

#include "model/SkinnedModel.h"

namespace posewright {

inline SkinnedModel ModelWithBoneQuads(const std::vector<std::array<uint8_t, 4>>& quads, int boneCount = 6) {
  SkinnedModel model;
  for (const auto& q : quads) {
    SkinVertex v;
    for (int k = 0; k < 4; ++k) v.setBoneIndex(k, q[static_cast<std::size_t>(k)]);
    v.blendWeights[0] = 0.5f;
    v.blendWeights[1] = 0.25f;
    model.skinnedMesh.vertices.push_back(v);
  }
  model.pointVertices = model.skinnedMesh.vertices;
  model.selection.reset(quads.size());
  model.meshLoaded = true;
  model.skeleton.bones.resize(static_cast<std::size_t>(boneCount));
  model.skeleton.resizePerBoneArrays();
  model.skeleton.bonesLoaded = true;
  return model;
}
}  // namespace posewright
