// The editor's model: the mesh (as loaded and as bound), its materials and
// textures, the skeleton with its blending parameters, and the vertex selection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mesh/SkinnedMesh.h"
#include "mesh/VertexSelection.h"
#include "model/MeshPart.h"
#include "skeleton/Skeleton.h"

namespace posewright {

struct SkinnedModel : MeshPart {
  /// The bound mesh; empty until bound.
  SkinnedMesh skinnedMesh;
  /// A copy of all vertices, drawn as points.
  std::vector<SkinVertex> pointVertices;
  /// Texture file names read from a .skm file, one per material.
  std::vector<std::string> textureNames;

  Skeleton skeleton;
  VertexSelection selection;

  bool meshLoaded = false;

  bool bonesLoaded() const { return skeleton.bonesLoaded; }
  uint32_t materialCount() const { return static_cast<uint32_t>(materialList.size()); }
  std::size_t vertexCount() const { return skinnedMesh.vertices.size(); }
};
}  // namespace posewright
