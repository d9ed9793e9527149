// glTF 2.0 export of a large model — 65,535 vertices, 64 bones, a 600-frame
// animation sampled every frame — as .glb bytes: by our exporter, and by
// Assimp's own glTF 2.0 exporter (format "glb2") writing an aiScene built in
// this file from the same model with the same content: one mesh per
// material, the same vertices, bone weights, inverse bind matrices, node
// hierarchy and rotation keys. Both produce the file's bytes in memory.
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <assimp/Exporter.hpp>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "export/SkinnedMeshXContent.h"
#include "gltf/GltfAnimationSampling.h"
#include "gltf/GltfExport.h"
#include "gltf/GltfSkeleton.h"
#include "gltf/GltfSkinWeights.h"
#include "tests/support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {

aiVector3D Vec(const gltf::Point& p) {
  return {static_cast<ai_real>(p.x), static_cast<ai_real>(p.y), static_cast<ai_real>(p.z)};
}
aiQuaternion Quat(const gltf::Rotation& q) {
  return {static_cast<ai_real>(q.w), static_cast<ai_real>(q.x), static_cast<ai_real>(q.y),
          static_cast<ai_real>(q.z)};
}
template <typename T>
T* Array(std::size_t n) {
  return n == 0 ? nullptr : new T[n];
}

// The model as an aiScene in glTF's axes, owned by the returned pointer.
std::unique_ptr<aiScene> BuildScene(const SkinnedModel& model, const Animation& animation) {
  auto scene = std::make_unique<aiScene>();
  const Skeleton& skeleton = model.skeleton;
  const std::vector<gltf::BoneNode> nodes = gltf::BuildBoneNodes(skeleton);
  const std::size_t boneCount = nodes.size();

  std::map<uint32_t, std::set<uint32_t>> used;
  const std::vector<uint32_t> faceMaterials = FaceMaterialIds(model);
  for (std::size_t f = 0; f < faceMaterials.size(); ++f) {
    for (std::size_t c = 0; c < 3; ++c) used[faceMaterials[f]].insert(model.skinnedMesh.indices[3 * f + c]);
  }
  scene->mNumMaterials = model.materialCount();
  scene->mMaterials = Array<aiMaterial*>(scene->mNumMaterials);
  for (uint32_t m = 0; m < scene->mNumMaterials; ++m) {
    scene->mMaterials[m] = new aiMaterial();
    const D3DCOLORVALUE& d = model.materialList[m].MatD3D.Diffuse;
    const aiColor4D diffuse(d.r, d.g, d.b, d.a);
    scene->mMaterials[m]->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
  }
  scene->mNumMeshes = static_cast<unsigned>(used.size());
  scene->mMeshes = Array<aiMesh*>(scene->mNumMeshes);
  unsigned meshIndex = 0;
  for (const auto& [material, vertexSet] : used) {
    const std::vector<uint32_t> vertices(vertexSet.begin(), vertexSet.end());
    std::vector<uint32_t> remap(model.vertexCount(), 0);
    for (uint32_t k = 0; k < vertices.size(); ++k) remap[vertices[k]] = k;
    aiMesh* mesh = scene->mMeshes[meshIndex++] = new aiMesh();
    mesh->mMaterialIndex = material;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = static_cast<unsigned>(vertices.size());
    mesh->mVertices = new aiVector3D[vertices.size()];
    mesh->mNormals = new aiVector3D[vertices.size()];
    mesh->mTextureCoords[0] = new aiVector3D[vertices.size()];
    mesh->mNumUVComponents[0] = 2;
    std::vector<std::vector<aiVertexWeight>> weights(boneCount);
    for (uint32_t k = 0; k < vertices.size(); ++k) {
      const SkinVertex& v = model.skinnedMesh.vertices[vertices[k]];
      mesh->mVertices[k] = Vec(gltf::ToGltfPoint(v.position));
      mesh->mNormals[k] = Vec(gltf::ToGltfPoint(v.normal));
      mesh->mTextureCoords[0][k] = aiVector3D(v.u, v.v, 0);
      const gltf::JointWeights jw = gltf::ToJointWeights(v, skeleton.boneCount());
      for (std::size_t s = 0; s < 4; ++s) {
        if (jw.weights[s] > 0.0f) weights[jw.joints[s]].push_back(aiVertexWeight(k, jw.weights[s]));
      }
    }
    std::vector<aiFace> faces;
    for (std::size_t f = 0; f < faceMaterials.size(); ++f) {
      if (faceMaterials[f] != material) continue;
      aiFace face;
      face.mNumIndices = 3;
      face.mIndices = new unsigned[3];
      const std::array<uint32_t, 3> corners =
          gltf::ToGltfWinding(model.skinnedMesh.indices[3 * f], model.skinnedMesh.indices[3 * f + 1],
                              model.skinnedMesh.indices[3 * f + 2]);
      for (std::size_t c = 0; c < 3; ++c) face.mIndices[c] = remap[corners[c]];
      faces.push_back(face);
      face.mIndices = nullptr;
    }
    mesh->mNumFaces = static_cast<unsigned>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (std::size_t f = 0; f < faces.size(); ++f) {
      mesh->mFaces[f].mNumIndices = 3;
      mesh->mFaces[f].mIndices = faces[f].mIndices;
      faces[f].mIndices = nullptr;
    }
    mesh->mNumBones = static_cast<unsigned>(boneCount);
    mesh->mBones = new aiBone*[boneCount];
    for (std::size_t b = 0; b < boneCount; ++b) {
      aiBone* bone = mesh->mBones[b] = new aiBone();
      bone->mName = aiString(skeleton.bones[b].name);
      bone->mNumWeights = static_cast<unsigned>(weights[b].size());
      bone->mWeights = Array<aiVertexWeight>(weights[b].size());
      std::copy(weights[b].begin(), weights[b].end(), bone->mWeights);
      const std::array<double, 16>& m = nodes[b].inverseBindMatrix;  // column-major
      for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c) bone->mOffsetMatrix[r][c] = static_cast<ai_real>(m[4 * c + r]);
    }
  }

  // Root node → the bone tree and the mesh node.
  std::vector<aiNode*> boneNodes(boneCount);
  for (std::size_t b = 0; b < boneCount; ++b) {
    boneNodes[b] = new aiNode(skeleton.bones[b].name);
    boneNodes[b]->mTransformation =
        aiMatrix4x4(aiVector3D(1, 1, 1), Quat(nodes[b].rotation), Vec(nodes[b].translation));
  }
  for (std::size_t b = 0; b < boneCount; ++b) {
    std::vector<aiNode*> children;
    for (std::size_t c = b + 1; c < boneCount; ++c) {
      if (static_cast<std::size_t>(skeleton.bones[c].parentId) == b) children.push_back(boneNodes[c]);
    }
    if (!children.empty()) boneNodes[b]->addChildren(static_cast<unsigned>(children.size()), children.data());
  }
  aiNode* meshNode = new aiNode("SkinnedMesh");
  meshNode->mNumMeshes = scene->mNumMeshes;
  meshNode->mMeshes = new unsigned[scene->mNumMeshes];
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) meshNode->mMeshes[m] = m;
  scene->mRootNode = new aiNode("Scene");
  aiNode* top[] = {boneNodes[0], meshNode};
  scene->mRootNode->addChildren(2, top);

  const gltf::SampledAnimation sampled = gltf::SampleAnimation(animation, skeleton.boneCount(), true);
  const std::vector<gltf::Rotation> rest = gltf::RestRotations(skeleton);
  scene->mNumAnimations = 1;
  scene->mAnimations = new aiAnimation*[1];
  aiAnimation* a = scene->mAnimations[0] = new aiAnimation();
  a->mName = aiString("animation");
  a->mTicksPerSecond = 60;
  a->mDuration = sampled.frames.back();
  a->mNumChannels = static_cast<unsigned>(boneCount);
  a->mChannels = new aiNodeAnim*[boneCount];
  for (std::size_t b = 0; b < boneCount; ++b) {
    aiNodeAnim* channel = a->mChannels[b] = new aiNodeAnim();
    channel->mNodeName = aiString(skeleton.bones[b].name);
    channel->mNumRotationKeys = static_cast<unsigned>(sampled.frames.size());
    channel->mRotationKeys = new aiQuatKey[sampled.frames.size()];
    for (std::size_t s = 0; s < sampled.frames.size(); ++s) {
      const gltf::Rotation q = gltf::NodeRotationForPose(skeleton, rest, static_cast<int32_t>(b),
                                                         sampled.poses[s * boneCount + b]);
      channel->mRotationKeys[s] = aiQuatKey(sampled.frames[s], Quat(q));
    }
  }
  return scene;
}

struct LargeModel {
  SkinnedModel model;
  Animation animation;
  std::unique_ptr<aiScene> scene;

  LargeModel() {
    synthetic::ModelRecipe recipe;
    recipe.vertexCount = 65535;
    recipe.boneCount = 64;
    recipe.materialCount = 4;
    recipe.splitVertices = true;
    recipe.seed = 65535;
    model = synthetic::MakeModel(recipe);
    std::vector<int32_t> times;
    for (int32_t t = 0; t <= 600; t += 60) times.push_back(t);
    animation = synthetic::MakeAnimation(recipe.boneCount, times, 600);
    scene = BuildScene(model, animation);
  }
};

const LargeModel& Large() {
  static const LargeModel large;
  return large;
}

void BM_GltfExport_AssimpGlb2(benchmark::State& state) {
  const LargeModel& large = Large();
  Assimp::Exporter exporter;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const aiExportDataBlob* blob = exporter.ExportToBlob(large.scene.get(), "glb2");
    if (blob == nullptr) {
      state.SkipWithError(exporter.GetErrorString());
      return;
    }
    bytes = blob->size;
    benchmark::DoNotOptimize(blob->data);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GltfExport_AssimpGlb2)->Unit(benchmark::kMillisecond);

void BM_GltfExport_Ours(benchmark::State& state) {
  const LargeModel& large = Large();
  const gltf::NamedAnimation animations[] = {{"animation", &large.animation}};
  gltf::ExportOptions options;
  options.sampleEveryFrame = true;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::vector<gltf::NamedFile> files;
    if (!gltf::FormatExport(large.model, animations, options, gltf::Container::Binary, "large", files)) {
      state.SkipWithError("the export was refused");
      return;
    }
    bytes = files.back().second.size();
    benchmark::DoNotOptimize(files.back().second.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GltfExport_Ours)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace posewright
