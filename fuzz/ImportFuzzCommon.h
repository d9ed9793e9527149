// The model import on bytes of one format: whatever Assimp accepts must pass
// through the mesh merge, the rig, the anchor generation and the bone data
// writer without a crash, and what they make must hold together: indices
// inside the vertices, at most 65,535 of each, parents before their bones, at
// most four influences per vertex summing to 1, and bone data that the writer
// accepts reading back.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "importer/AnchorGeneration.h"
#include "importer/AssimpReader.h"
#include "importer/BoneDataWriter.h"
#include "importer/ModelImport.h"
#include "importer/RigSkeleton.h"
#include "importer/SceneMesh.h"
#include "importer/SceneRig.h"
#include "mesh/MeshLimits.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace import_fuzz {
inline void Check(bool condition) {
  if (!condition) std::abort();
}

inline void CheckMesh(const SceneMesh& mesh) {
  const SourceMesh& m = mesh.mesh;
  Check(m.vertices.size() <= kMaxMeshElements && m.faceCount() <= kMaxMeshElements && m.faceCount() > 0);
  Check(m.indices.size() == 3 * m.faceAttributes.size());
  for (uint16_t i : m.indices) Check(i < m.vertices.size());
  for (uint32_t a : m.faceAttributes) Check(a < mesh.materials.size());
  Check(mesh.embeddedTextures.size() == mesh.materials.size());
}

inline void CheckRig(const ImportedRig& rig, std::size_t vertexCount) {
  for (std::size_t j = 0; j < rig.joints.size(); ++j) Check(rig.joints[j].parent < static_cast<int32_t>(j));
  for (const RigWeight& w : rig.weights) Check(w.vertex < vertexCount && w.joint < rig.joints.size());
}

inline void CheckSkeleton(const RigSkeleton& rig, const std::vector<D3DXVECTOR3>& positions) {
  const Skeleton& s = rig.skeleton;
  Check(s.boneCount() >= 1 && s.boneCount() <= kMaxBoneCount);
  for (int32_t b = 1; b < s.boneCount(); ++b) {
    Check(s.bones[static_cast<std::size_t>(b)].parentId >= 0 &&
          s.bones[static_cast<std::size_t>(b)].parentId < b);
  }
  Check(rig.influences.size() == positions.size());
  for (const VertexInfluences& in : rig.influences) {
    Check(in.count >= 0 && in.count <= 4);
    float sum = 0.0f;
    for (int k = 0; k < in.count; ++k) {
      Check(in.bones[k] >= 1 && in.bones[k] < s.boneCount());
      sum += in.weights[k];
    }
    Check(in.count == 0 || std::fabs(sum - 1.0f) < 1e-3f);
  }
}

inline int FuzzImport(const uint8_t* data, size_t size, const std::string& hint) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  AssimpScene scene;
  if (!ReadAssimpSceneFromMemory(bytes, hint, "fuzz." + hint, scene)) return 0;
  SceneMesh mesh;
  if (!BuildSceneMesh(*scene.scene, scene.unitScale, "fuzz." + hint, mesh)) return 0;
  CheckMesh(mesh);
  const ImportedRig rig = ExtractSceneRig(*scene.scene, mesh);
  CheckRig(rig, mesh.mesh.vertices.size());
  const std::vector<D3DXVECTOR3> positions = PositionsOf(mesh.mesh);
  RigSkeleton skeleton;
  if (!BuildRigSkeleton(rig, positions, "fuzz." + hint, skeleton)) return 0;
  CheckSkeleton(skeleton, positions);
  GenerateAnchors(skeleton.skeleton, positions, skeleton.influences);
  FitBlendingParameters(skeleton.skeleton, positions, skeleton.influences);
  for (std::size_t b = 1; b < skeleton.skeleton.anchors.size(); ++b) {
    Check(skeleton.skeleton.anchors[b].faceCount() >= 4);
  }
  if (BoneDataProblem(skeleton.skeleton).empty()) {
    Check(static_cast<bool>(ParseBoneData(FormatBoneData(skeleton.skeleton), "fuzz.dat").status));
  }
  return 0;
}
}  // namespace import_fuzz
}  // namespace posewright
