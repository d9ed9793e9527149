// Reads an exported file back with the editor's own skin-aware .x import and
// checks that every vertex has the bones and weights we wrote.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "export/SkinnedMeshXContent.h"
#include "model/SkinMeshImport.h"

namespace posewright {

namespace interop {

/// Per vertex, bone name → weight of every positive influence.
using NamedWeights = std::vector<std::map<std::string, float>>;

inline NamedWeights WeightsWeWrote(const SkinnedModel& model) {
  const SkinnedMeshXContent content = BuildSkinnedMeshXContent(model);
  NamedWeights weights(model.skinnedMesh.vertices.size());
  for (std::size_t b = 1; b < content.influences.size(); ++b) {
    for (const XSkinInfluence& i : content.influences[b]) {
      if (i.weight > 0.0f) weights[i.vertex][content.frameNames[b]] += i.weight;
    }
  }
  return weights;
}

/// Imports path into imported, which starts as a copy of exported (its
/// skeleton stays when the file names its bones in order). The import numbers
/// bones by their SkinWeights objects: the k-th one is bone k + 1.
inline void ExpectOwnImportAgrees(const std::string& path, const SkinnedModel& exported,
                                  SkinnedModel& imported) {
  imported = exported;
  const Status status = LoadMeshFromXof(imported, path);
  ASSERT_TRUE(status) << status.describe();
  const SkinnedMeshXContent content = BuildSkinnedMeshXContent(exported);
  std::vector<std::string> boneName{""};
  for (std::size_t b = 1; b < content.influences.size(); ++b) {
    if (!content.influences[b].empty()) boneName.push_back(content.frameNames[b]);
  }
  const NamedWeights ours = WeightsWeWrote(exported);
  const std::vector<SkinVertex>& vertices = imported.skinnedMesh.vertices;
  EXPECT_EQ(vertices.size(), ours.size());
  for (std::size_t v = 0; v < std::min(vertices.size(), ours.size()); ++v) {
    const D3DXVECTOR3& p = exported.skinnedMesh.vertices[v].position;
    EXPECT_NEAR(vertices[v].position.x, p.x, 1e-6f);
    EXPECT_NEAR(vertices[v].position.y, p.y, 1e-6f);
    EXPECT_NEAR(vertices[v].position.z, p.z, 1e-6f);
    std::map<std::string, float> theirs;
    for (int slot = 0; slot < 4; ++slot) {
      const uint8_t bone = vertices[v].boneIndex(slot);
      if (bone == 0) continue;
      ASSERT_LT(bone, boneName.size());
      theirs[boneName[bone]] += slot < 3 ? vertices[v].blendWeights[slot] : vertices[v].lastWeight();
    }
    ASSERT_EQ(theirs.size(), ours[v].size()) << "vertex " << v;
    for (const auto& [name, weight] : ours[v]) {
      ASSERT_TRUE(theirs.count(name)) << "vertex " << v << " lost bone " << name;
      EXPECT_NEAR(theirs[name], weight, 2e-6f) << "vertex " << v << " bone " << name;
    }
  }
}

}  // namespace interop
}  // namespace posewright
