// Reads an exported file with Assimp and checks that it agrees with the model
// and animation it was written from: bones, per-vertex weights, animation
// channels, key times and key matrices.
#pragma once

#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/SkinnedMeshXContent.h"
#include "export/XAnimationKeys.h"

namespace posewright {

namespace interop {

/// An Assimp scene that lives as long as its importer.
struct AssimpScene {
  std::unique_ptr<Assimp::Importer> importer = std::make_unique<Assimp::Importer>();
  const aiScene* scene = nullptr;
};

/// The file read with no post-processing at all.
inline AssimpScene ReadWithAssimp(const std::string& path) {
  AssimpScene s;
  s.scene = s.importer->ReadFile(path, 0);
  EXPECT_NE(s.scene, nullptr) << "Assimp: " << s.importer->GetErrorString();
  return s;
}

/// Assimp converts the left-handed file to its right-handed space by
/// mirroring z: a transform M (row vectors) arrives as F·Mᵀ·F, F = diag(1, 1, −1, 1).
inline aiMatrix4x4 AsAssimpSees(const D3DXMATRIX& m) {
  aiMatrix4x4 t;
  for (unsigned r = 0; r < 4; ++r) {
    for (unsigned c = 0; c < 4; ++c) {
      const float sign = (r == 2) != (c == 2) ? -1.0f : 1.0f;
      t[r][c] = sign * m.m(static_cast<int>(c), static_cast<int>(r));
    }
  }
  return t;
}

/// (bone name, vertex) → weight as our influence lists state it; a later slot
/// of the same bone on one vertex overrides an earlier one, as in the file's
/// readers.
inline std::map<std::pair<std::string, uint32_t>, float> OurWeights(const SkinnedMeshXContent& content) {
  std::map<std::pair<std::string, uint32_t>, float> weights;
  for (std::size_t b = 1; b < content.influences.size(); ++b) {
    for (const XSkinInfluence& i : content.influences[b])
      weights[{content.frameNames[b], i.vertex}] = i.weight;
  }
  return weights;
}

/// Every bone, every positive weight and nothing else reached Assimp. Assimp
/// gives each material its own mesh whose vertices are the corners of that
/// material's faces in face order, so its vertex k maps back to our vertex
/// at that corner. Returns the number of (bone, corner) weights compared.
inline std::size_t ExpectSameSkin(const aiScene& scene, const SkinnedModel& model) {
  const SkinnedMeshXContent content = BuildSkinnedMeshXContent(model);
  const auto ours = OurWeights(content);
  std::set<std::string> expectedBones;
  for (const auto& [key, weight] : ours) {
    if (weight > 0.0f) expectedBones.insert(key.first);
  }
  std::set<std::string> assimpBones;
  std::size_t compared = 0;
  std::vector<std::size_t> positiveBones(model.skinnedMesh.vertices.size(), 0);
  for (const auto& [key, weight] : ours) {
    if (weight > 0.0f) ++positiveBones[key.second];
  }
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  std::size_t positiveCorners = 0;
  for (std::size_t k = 0; k < 3 * content.faceMaterials.size(); ++k)
    positiveCorners += positiveBones[indices[k]];
  std::size_t assimpWeights = 0;
  for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
    const aiMesh& mesh = *scene.mMeshes[i];
    std::vector<uint32_t> cornerVertex;
    for (std::size_t f = 0; f < content.faceMaterials.size(); ++f) {
      if (content.faceMaterials[f] != mesh.mMaterialIndex) continue;
      for (int c = 0; c < 3; ++c) cornerVertex.push_back(indices[3 * f + static_cast<std::size_t>(c)]);
    }
    EXPECT_EQ(mesh.mNumVertices, cornerVertex.size()) << "mesh of material " << mesh.mMaterialIndex;
    if (mesh.mNumVertices != cornerVertex.size()) return compared;
    for (unsigned k = 0; k < mesh.mNumVertices; ++k) {
      const D3DXVECTOR3& p = model.skinnedMesh.vertices[cornerVertex[k]].position;
      EXPECT_NEAR(mesh.mVertices[k].x, p.x, 1e-5f);
      EXPECT_NEAR(mesh.mVertices[k].y, p.y, 1e-5f);
      EXPECT_NEAR(mesh.mVertices[k].z, -p.z, 1e-5f);
    }
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiBone& bone = *mesh.mBones[b];
      const std::string name = bone.mName.C_Str();
      assimpBones.insert(name);
      for (unsigned w = 0; w < bone.mNumWeights; ++w) {
        const aiVertexWeight& vw = bone.mWeights[w];
        ++assimpWeights;
        const auto it = ours.find({name, cornerVertex.at(vw.mVertexId)});
        if (it == ours.end()) {
          ADD_FAILURE() << "Assimp has a weight of bone " << name << " on vertex "
                        << cornerVertex[vw.mVertexId] << " that we never wrote";
          continue;
        }
        EXPECT_NEAR(vw.mWeight, it->second, 1e-6) << name << " on vertex " << it->first.second;
        ++compared;
      }
    }
  }
  EXPECT_EQ(assimpBones, expectedBones);
  // Every positive influence of every face corner arrived.
  EXPECT_EQ(assimpWeights, positiveCorners);
  return compared;
}

/// One animation with a channel per bone, named after its frame, with our key
/// count, key times and — for every key — the matrix we wrote. Assimp splits
/// each matrix into scaling, rotation and translation, which loses any shear:
/// rotations that are not unit quaternions (such as ones read back from a
/// four-decimal file) need a looser tolerance.
inline void ExpectSameAnimation(const aiScene& scene, const SkinnedModel& model, const Animation& animation,
                                const ExportOptions& options, float tolerance = 2e-5f) {
  ASSERT_EQ(scene.mNumAnimations, 1u);
  const aiAnimation& a = *scene.mAnimations[0];
  const std::vector<Bone>& bones = model.skeleton.bones;
  ASSERT_EQ(a.mNumChannels, bones.size());
  const uint64_t keyCount = MatrixKeyCount(animation, options);
  for (std::size_t b = 0; b < bones.size(); ++b) {
    const aiNodeAnim& channel = *a.mChannels[b];
    EXPECT_EQ(std::string(channel.mNodeName.C_Str()), XFrameName(bones[b].name));
    ASSERT_EQ(channel.mNumPositionKeys, keyCount);
    ASSERT_EQ(channel.mNumRotationKeys, keyCount);
    MatrixKeyCursor cursor(animation, options, static_cast<int32_t>(b), bones[b].begin);
    XMatrixKey key;
    for (unsigned k = 0; k < keyCount && cursor.next(key); ++k) {
      ASSERT_EQ(channel.mPositionKeys[k].mTime, static_cast<double>(static_cast<uint32_t>(key.time)));
      const aiMatrix4x4 theirs(channel.mScalingKeys[k].mValue, channel.mRotationKeys[k].mValue,
                               channel.mPositionKeys[k].mValue);
      const aiMatrix4x4 expected = AsAssimpSees(key.matrix);
      for (unsigned r = 0; r < 4; ++r) {
        for (unsigned c = 0; c < 4; ++c) {
          ASSERT_NEAR(theirs[r][c], expected[r][c], tolerance)
              << "bone " << b << " key " << k << " element " << r << c;
        }
      }
    }
  }
}

}  // namespace interop
}  // namespace posewright
