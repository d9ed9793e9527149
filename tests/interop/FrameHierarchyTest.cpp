// The frame hierarchy Assimp sees in our export of the sample character, in
// both mesh layouts. Assimp takes the root frame's "{thisMesh}" reference for
// an unknown object and skips to the next opening brace, swallowing the frame
// that follows it; with the mesh inside the root frame every frame arrives.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "AssimpAgreement.h"
#include "anim/AnimationFile.h"
#include "export/SkinnedMeshXWriter.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "skeleton/BlendingParametersFile.h"
#include "support/TempDir.h"
#include "weights/BlendWeights.h"

namespace posewright {

using namespace interop;

namespace {
const std::string kSamples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";

/// Frame name → parent frame name ("" for a frame at the top) of every node
/// below Assimp's scene root that is one of our frames.
std::map<std::string, std::string> FramesAssimpSees(const aiNode& node, const std::string& parent,
                                                    const std::map<std::string, std::string>& ours) {
  std::map<std::string, std::string> seen;
  const std::string name = node.mName.C_Str();
  const bool isFrame = ours.count(name) != 0;
  if (isFrame) seen[name] = parent;
  for (unsigned i = 0; i < node.mNumChildren; ++i) {
    seen.merge(FramesAssimpSees(*node.mChildren[i], isFrame ? name : parent, ours));
  }
  return seen;
}
}  // namespace

TEST(FrameHierarchy, AssimpSeesEveryFrameOfTheSampleWithTheMeshInsideTheRootFrame) {
  SkinnedModel model;
  ASSERT_TRUE(LoadMesh(model, kSamples + "character.x"));
  ASSERT_TRUE(LoadBoneData(model, kSamples + "character.dat"));
  ASSERT_TRUE(ReadBlendingParameters(model.skeleton, kSamples + "character.prm"));
  ComputeBlendWeights(model);
  Animation walk;
  walk.boneCount = model.skeleton.boneCount();
  ASSERT_TRUE(ReadAnimationFile(walk, kSamples + "walk.anm"));

  std::map<std::string, std::string> ours;  // frame → parent frame
  for (const Bone& bone : model.skeleton.bones) {
    const Bone& parent = model.skeleton.bones[static_cast<std::size_t>(bone.parentId)];
    ours[XFrameName(bone.name)] = &bone == &parent ? "" : XFrameName(parent.name);
  }
  ASSERT_EQ(ours.size(), 13u);

  const TempDir dir;
  const std::string path = dir.path("interop_frames.x");
  for (const bool meshInFrame : {false, true}) {
    SCOPED_TRACE(meshInFrame ? "mesh inside the root frame" : "mesh at the top with {thisMesh}");
    const ExportOptions options{4800, true, meshInFrame};
    ASSERT_TRUE(WriteSkinnedMeshX(path, options, model, &walk));
    const AssimpScene s = ReadWithAssimp(path);
    ASSERT_NE(s.scene, nullptr);
    const std::map<std::string, std::string> seen = FramesAssimpSees(*s.scene->mRootNode, "", ours);
    if (!meshInFrame) {
      // As it is: Assimp loses the frames after the reference (Spine and all below it).
      std::printf("[ default layout ] Assimp sees %zu of the sample's 13 frames\n", seen.size());
      EXPECT_EQ(seen.size(), 5u);
      continue;
    }
    EXPECT_EQ(seen, ours);
    EXPECT_GT(ExpectSameSkin(*s.scene, model), 2653u);
    // Rotations read back from four decimals are not exactly unit quaternions.
    ExpectSameAnimation(*s.scene, model, walk, options, 5e-4f);
  }
  std::filesystem::remove(path);
}
}  // namespace posewright
