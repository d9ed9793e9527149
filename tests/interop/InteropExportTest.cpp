// Files we export, read by Assimp: the small cases by hand, then the command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AssimpAgreement.h"
#include "OwnReader.h"
#include "anim/AnimationFile.h"
#include "export/SkinnedMeshXWriter.h"
#include "fileio/FileBytes.h"
#include "image/TextureLoader.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "support/ExportTestModels.h"
#include "support/SyntheticSkinnedModel.h"
#include "support/TempDir.h"
#include "tools/gen/ModelFiles.h"
#include "weights/BlendWeights.h"

namespace posewright {

using namespace exporttest;
using namespace interop;

namespace {
std::string WriteFile(const std::string& name, const SkinnedModel& model, const Animation* animation,
                      ExportOptions options) {
  static const TempDir folder("interop");
  const std::string path = folder.path(name);
  const Status status = WriteSkinnedMeshX(path, options, model, animation);
  EXPECT_TRUE(status) << status.describe();
  return path;
}
}  // namespace

TEST(InteropExport, AssimpReadsTheWorkedExampleInBothModes) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  for (ExportOptions options : {ExportOptions{60, false}, ExportOptions{4800, true}}) {
    const std::string path = WriteFile("worked.x", model, &animation, options);
    const AssimpScene s = ReadWithAssimp(path);
    ASSERT_NE(s.scene, nullptr);
    EXPECT_EQ(ExpectSameSkin(*s.scene, model), 3u);
    ExpectSameAnimation(*s.scene, model, animation, options);
    std::filesystem::remove(path);
  }
  // Keys at 0 and 30, or every 80 ticks up to 2320.
  const std::string path = WriteFile("worked_all.x", model, &animation, {4800, true});
  const AssimpScene s = ReadWithAssimp(path);
  ASSERT_NE(s.scene, nullptr);
  ASSERT_EQ(s.scene->mAnimations[0]->mChannels[1]->mNumPositionKeys, 30u);
  EXPECT_EQ(s.scene->mAnimations[0]->mChannels[1]->mPositionKeys[29].mTime, 2320.0);
  std::filesystem::remove(path);
}

TEST(InteropExport, AssimpReadsTexturesZeroWeightsAndTurningKeys) {
  SkinnedModel model = OneTriangle();
  SetBones(model, {NamedBone("Root", 0), NamedBone("Left Arm", 0, {1, 2, 3}), NamedBone("Spare", 1)});
  // Vertex 1 names bone 2 with weight 0 in slot 1, which Assimp leaves out;
  // vertex 2 puts bone 2 in slot 3 with the remainder.
  model.skinnedMesh.vertices[1].boneIndices = 0x0201u;
  model.skinnedMesh.vertices[2].boneIndices = 0x02000001u;
  model.skinnedMesh.vertices[2].blendWeights[0] = 0.25f;
  D3DXMATERIAL textured = WhiteMaterial();
  textured.textureFilename = "skin.png";
  SetMaterials(model, {textured});
  model.textures[0] = std::make_shared<const TextureImage>();
  const Animation animation = synthetic::MakeAnimation(3, {0, 7, 20}, 5);
  const ExportOptions options{4800, true};
  const std::string path = WriteFile("textured.x", model, &animation, options);
  const AssimpScene s = ReadWithAssimp(path);
  ASSERT_NE(s.scene, nullptr);
  EXPECT_EQ(ExpectSameSkin(*s.scene, model), 4u);
  ExpectSameAnimation(*s.scene, model, animation, options);
  aiString texture;
  ASSERT_EQ(s.scene->mMaterials[0]->GetTexture(aiTextureType_DIFFUSE, 0, &texture), aiReturn_SUCCESS);
  EXPECT_STREQ(texture.C_Str(), "skin.png");
  std::filesystem::remove(path);
}

// A skeleton of the root alone is left out: Assimp takes the root frame's
// "{thisMesh}" reference for an unknown object and skips to the next opening
// brace, which only a child frame provides.
TEST(InteropExport, AssimpReadsAFileWithoutAnimationOrSkinnedVertices) {
  SkinnedModel model = OneTriangle();
  for (SkinVertex& v : model.skinnedMesh.vertices) v.boneIndices = 0;
  const std::string path = WriteFile("still.x", model, nullptr, {});
  const AssimpScene s = ReadWithAssimp(path);
  ASSERT_NE(s.scene, nullptr);
  EXPECT_EQ(s.scene->mNumAnimations, 0u);
  EXPECT_EQ(ExpectSameSkin(*s.scene, model), 0u);
  std::filesystem::remove(path);
}

TEST(InteropExport, CommandLineExportOfAGeneratedModelLoadsInAssimpAndOurImport) {
  const char* cli = std::getenv("POSEWRIGHT_CLI");
  ASSERT_NE(cli, nullptr) << "POSEWRIGHT_CLI names the posewright-cli binary";
  TempDir folder("interop_cli");
  ModelOptions options;
  options.vertices = 3000;
  options.bones = 20;
  options.anchorFaces = 16;
  options.keys = 6;
  options.name = "gen";
  ModelFiles files;
  ASSERT_TRUE(GenerateModelFiles(options, folder.path().string(), nullptr, &files));
  // Bound and weighted as the editor's Open Mesh command does, then saved.
  SkinnedModel bound;
  ASSERT_TRUE(LoadMesh(bound, files.x));
  ASSERT_TRUE(LoadBoneData(bound, files.boneData));  // binds the mesh first
  ComputeBlendWeights(bound);
  const std::string skm = folder.path("gen.skm");
  ASSERT_TRUE(WriteSkinnedMesh(bound, skm));
  // What the command reads: the model and animation files as stored.
  SkinnedModel model;
  ASSERT_TRUE(ReadSkinnedMesh(model, skm, LoadTextureImage));
  Animation stored;
  stored.boneCount = model.skeleton.boneCount();
  ASSERT_TRUE(ReadAnimationFile(stored, files.animation));
  ASSERT_GE(stored.keys().size(), 2u);

  const std::string x = folder.path("gen_export.x");
  const std::string command =
      std::string(cli) + " export " + skm + " --anim " + files.animation + " --fps 4800 --all-frames -o " + x;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const AssimpScene s = ReadWithAssimp(x);
  ASSERT_NE(s.scene, nullptr);
  EXPECT_GT(ExpectSameSkin(*s.scene, model), 3000u);
  // Rotations read back from four decimals are not exactly unit quaternions.
  ExpectSameAnimation(*s.scene, model, stored, {4800, true}, 5e-4f);
  SkinnedModel imported;
  ExpectOwnImportAgrees(x, model, imported);
  EXPECT_TRUE(imported.bonesLoaded());
  std::string direct;
  ASSERT_TRUE(FormatSkinnedMeshX({4800, true}, model, &stored, direct));
  EXPECT_EQ(ReadFileBytes(x).value_or(""), direct);

  // Without --anim there is no animation set; a missing model fails.
  ASSERT_EQ(std::system((std::string(cli) + " export " + skm + " -o " + x).c_str()), 0);
  EXPECT_EQ(ReadFileBytes(x).value_or("").find("AnimationSet {\r\n Animation"), std::string::npos);
  EXPECT_NE(std::system((std::string(cli) + " export " + skm + ".missing -o " + x + " 2>/dev/null").c_str()),
            0);
}
}  // namespace posewright
