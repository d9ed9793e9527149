// Assimp imports every .glb and .gltf with our primitives' vertex counts, our
// bones, every vertex's weights and our animations' channels and keys.
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <map>
#include <set>

#include "ExportCases.h"
#include "GltfFileReader.h"
#include "export/SkinnedMeshXContent.h"
#include "model/SkinnedMeshFile.h"

namespace posewright {

namespace {

// Per material in use (ascending), the vertices its faces use, ascending.
std::map<uint32_t, std::vector<uint32_t>> VerticesByMaterial(const SkinnedModel& model) {
  std::map<uint32_t, std::set<uint32_t>> used;
  const std::vector<uint32_t> materials = FaceMaterialIds(model);
  for (std::size_t f = 0; f < materials.size(); ++f) {
    for (std::size_t c = 0; c < 3; ++c) used[materials[f]].insert(model.skinnedMesh.indices[3 * f + c]);
  }
  std::map<uint32_t, std::vector<uint32_t>> out;
  for (const auto& [m, vertices] : used) out[m].assign(vertices.begin(), vertices.end());
  return out;
}

// Bone → positive weight of vertex v as the skinning program weighs its
// slots, and the size of the negative weights glTF cannot carry (such as a
// slot-3 remainder of −1e-6 on an empty slot), which the export leaves out
// and makes up for on the largest weight.
std::map<std::string, double> SlotWeights(const SkinnedModel& model, uint32_t v, double& dropped) {
  const SkinVertex& vertex = model.skinnedMesh.vertices[v];
  const float w[4] = {vertex.blendWeights[0], vertex.blendWeights[1], vertex.blendWeights[2],
                      vertex.lastWeight()};
  std::map<std::string, double> out;
  dropped = 0;
  for (int s = 0; s < 4; ++s) {
    if (w[s] > 0.0f) out[model.skeleton.bones[vertex.boneIndex(s)].name] += w[s];
    if (w[s] < 0.0f) dropped -= w[s];
  }
  return out;
}

void ExpectAssimpAgrees(const std::string& path, const SkinnedModel& model) {
  SCOPED_TRACE(path);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, 0);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  const auto expected = VerticesByMaterial(model);
  ASSERT_EQ(scene->mNumMeshes, expected.size());
  std::set<std::string> boneNames;
  for (const Bone& bone : model.skeleton.bones) boneNames.insert(bone.name);
  unsigned i = 0;
  for (const auto& [material, vertices] : expected) {
    const aiMesh& mesh = *scene->mMeshes[i++];
    ASSERT_EQ(mesh.mNumVertices, vertices.size()) << "primitive of material " << material;
    EXPECT_EQ(mesh.mNumBones, model.skeleton.bones.size());
    std::vector<std::map<std::string, double>> theirs(mesh.mNumVertices);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiBone& bone = *mesh.mBones[b];
      EXPECT_TRUE(boneNames.count(bone.mName.C_Str())) << bone.mName.C_Str();
      for (unsigned k = 0; k < bone.mNumWeights; ++k) {
        if (bone.mWeights[k].mWeight != 0.0f)
          theirs[bone.mWeights[k].mVertexId][bone.mName.C_Str()] += bone.mWeights[k].mWeight;
      }
    }
    for (std::size_t k = 0; k < vertices.size(); ++k) {
      double dropped = 0;
      const std::map<std::string, double> ours = SlotWeights(model, vertices[k], dropped);
      ASSERT_EQ(theirs[k].size(), ours.size()) << "vertex " << vertices[k];
      for (const auto& [name, weight] : ours) {
        EXPECT_NEAR(theirs[k][name], weight, 1e-6 + dropped) << "vertex " << vertices[k] << " bone " << name;
      }
    }
  }
  // One animation per file given, one channel per bone, as many rotation
  // keys as the file's samples.
  const gltfread::File file = gltfread::Read(path);
  const nlohmann::json animations = file.json.value("animations", nlohmann::json::array());
  ASSERT_EQ(scene->mNumAnimations, animations.size());
  for (unsigned a = 0; a < scene->mNumAnimations; ++a) {
    const aiAnimation& animation = *scene->mAnimations[a];
    EXPECT_EQ(animation.mName.C_Str(), animations[a]["name"].get<std::string>());
    ASSERT_EQ(animation.mNumChannels, model.skeleton.bones.size());
    const std::size_t samples =
        file.json["accessors"][animations[a]["samplers"][0]["input"].get<std::size_t>()]["count"];
    std::set<std::string> channelNames;
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
      channelNames.insert(animation.mChannels[c]->mNodeName.C_Str());
      EXPECT_EQ(animation.mChannels[c]->mNumRotationKeys, samples) << "channel " << c;
    }
    EXPECT_EQ(channelNames, boneNames);
  }
}

TEST(GltfAssimp, ImportsEveryExportAsWritten) {
  for (const gltfinterop::ExportCase& c : gltfinterop::Cases()) {
    SkinnedModel model;
    ASSERT_TRUE(ReadSkinnedMesh(model, c.skm));
    ExpectAssimpAgrees(c.glb, model);
    ExpectAssimpAgrees(c.gltf, model);
  }
}

}  // namespace
}  // namespace posewright
