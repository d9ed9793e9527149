// A generator model (tools/gen) bound and weighted in memory, with its
// polygons split into triangles, for the tests and benchmarks that need faces.
#pragma once

#include <cstdint>

#include "model/MeshLoader.h"
#include "tools/gen/ParamModel.h"
#include "weights/BlendWeights.h"

namespace posewright {

/// The model of options: its mesh bound (polygons split into fans), its
/// skeleton with partners, and automatic weights.
inline SkinnedModel BindGeneratedModel(const ModelOptions& options) {
  GeneratedModel generated = BuildModel(options);
  SkinnedModel m;
  m.sourceMesh.vertices = generated.mesh.vertices;
  std::size_t corner = 0;
  for (uint32_t size : generated.mesh.polygonSizes) {
    for (uint32_t k = 1; k + 1 < size; ++k) {
      for (uint32_t c : {0u, k, k + 1}) {
        m.sourceMesh.indices.push_back(static_cast<uint16_t>(generated.mesh.polygonIndices[corner + c]));
      }
      m.sourceMesh.faceAttributes.push_back(0);
    }
    corner += size;
  }
  m.meshLoaded = true;
  BindMesh(m);
  m.skeleton = std::move(generated.skeleton);
  m.skeleton.bonesLoaded = true;
  ComputeBlendWeights(m);
  return m;
}
}  // namespace posewright
