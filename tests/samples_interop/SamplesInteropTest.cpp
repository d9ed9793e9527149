// The sample character and generated models load in Assimp with the same
// faces, positions and materials we wrote.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <vector>

#include "fileio/FileBytes.h"
#include "support/TempDir.h"
#include "tools/gen/ModelFiles.h"
#include "tools/gen/SampleAssets.h"
#include "tools/gen/SampleCharacter.h"
#include "tools/gen/XBinaryWriter.h"

namespace posewright {

namespace {
// Our positions sorted by x, with z negated: Assimp turns the file's
// left-handed data right-handed.
std::vector<D3DXVECTOR3> Positions(const GenMesh& mesh) {
  std::vector<D3DXVECTOR3> out;
  for (const MeshVertex& v : mesh.vertices) {
    out.push_back({v.position.x, v.position.y, -v.position.z});
  }
  std::sort(out.begin(), out.end(), [](const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x < b.x; });
  return out;
}

// Whether p is one of ours: exactly for binary files, within a few float
// steps for text (Assimp's number parser does not always round to nearest).
bool IsOurs(const std::vector<D3DXVECTOR3>& ours, const aiVector3D& p, float tolerance) {
  auto it = std::lower_bound(ours.begin(), ours.end(), p.x - tolerance,
                             [](const D3DXVECTOR3& a, float x) { return a.x < x; });
  for (; it != ours.end() && it->x <= p.x + tolerance; ++it) {
    if (std::fabs(it->y - p.y) <= tolerance && std::fabs(it->z - p.z) <= tolerance) {
      return true;
    }
  }
  return false;
}

// Faces summed over the scene's meshes; every vertex Assimp made must be one
// of ours (its X importer copies a vertex per face corner).
std::size_t CheckScene(const aiScene* scene, const std::vector<D3DXVECTOR3>& ours, float tolerance) {
  std::size_t faces = 0;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh* mesh = scene->mMeshes[m];
    faces += mesh->mNumFaces;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
      EXPECT_TRUE(IsOurs(ours, mesh->mVertices[v], tolerance)) << "mesh " << m << " vertex " << v;
    }
  }
  return faces;
}

bool NamesTexture(const aiScene* scene, const std::string& name) {
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    aiString file;
    if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &file) == AI_SUCCESS &&
        name == file.C_Str()) {
      return true;
    }
  }
  return false;
}

TEST(SamplesInterop, AssimpLoadsTheSampleCharacterInTextAndBinary) {
  const SampleCharacter character = BuildSampleCharacter();
  TempDir folder("interop_character");
  ASSERT_TRUE(WriteFileAtomically(folder.path("binary.x"), FormatMeshXBinary(character.mesh)));
  const std::string text =
      (std::filesystem::path(POSEWRIGHT_SOURCE_DIR) / "samples" / kSampleMeshFile).string();
  for (const std::string& path : {text, folder.path("binary.x")}) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_ValidateDataStructure);
    ASSERT_NE(scene, nullptr) << path << ": " << importer.GetErrorString();
    const float tolerance = path == text ? 1e-6f : 0.0f;
    EXPECT_EQ(CheckScene(scene, Positions(character.mesh), tolerance), character.mesh.polygonCount()) << path;
    EXPECT_GE(scene->mNumMaterials, 2u);
    EXPECT_TRUE(NamesTexture(scene, kClothesTextureFile)) << path;
  }
}

TEST(SamplesInterop, AssimpLoadsGeneratedModelsInTextAndBinary) {
  for (bool binary : {false, true}) {
    TempDir folder(binary ? "interop_bin" : "interop_txt");
    ModelOptions options;
    options.vertices = 5000;
    options.bones = 24;
    options.anchorFaces = 16;
    options.binary = binary;
    options.lineEnd = LineEnd::Lf;
    options.onFaces = options.outside = options.crowded = true;
    GeneratedModel model;
    ModelFiles files;
    ASSERT_TRUE(GenerateModelFiles(options, folder.path().string(), &model, &files));
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(files.x, aiProcess_ValidateDataStructure);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    EXPECT_EQ(CheckScene(scene, Positions(model.mesh), binary ? 0.0f : 1e-6f), model.mesh.polygonCount())
        << (binary ? "binary" : "text");
  }
}
}  // namespace
}  // namespace posewright
