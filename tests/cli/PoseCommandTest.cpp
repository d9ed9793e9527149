#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "support/MathMatchers.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

// One triangle on a two-bone skeleton:
//
//   Root(0) (0,0,0) → (0,0,1)
//   └── Arm(1) (0,0,1) → (0,0,2)
//
// Vertex 0 sits at the arm's tip, fully on the arm; vertex 1 on the root;
// vertex 2 half on each, at the joint's side.
SkinnedModel MakeModel() {
  SkinnedModel m;
  SkinVertex tip, base, mid;
  tip.position = {0, 0, 2};
  tip.blendWeights[0] = 1.0f;
  tip.setBoneIndex(0, 1);
  base.position = {1, 0, 0};
  mid.position = {1, 0, 1};
  mid.blendWeights[0] = 0.5f;
  mid.setBoneIndex(0, 1);
  m.skinnedMesh.vertices = {tip, base, mid};
  m.skinnedMesh.indices = {0, 1, 2};
  m.skinnedMesh.faceAttributes = {0};
  m.materialList.resize(1);
  m.attributeTable = {D3DXATTRIBUTERANGE{0, 0, 1, 0, 3}};
  m.meshLoaded = true;
  for (int i = 0; i < 2; ++i) {
    Bone b;
    b.name = i == 0 ? "Root" : "Arm";
    b.parentId = 0;
    b.symmetricId = i;
    b.begin = {0, 0, static_cast<float>(i)};
    b.end = {0, 0, static_cast<float>(i + 1)};
    m.skeleton.bones.push_back(b);
  }
  m.skeleton.resizePerBoneArrays();
  m.skeleton.bonesLoaded = true;
  return m;
}

struct PoseCommandTest : ::testing::Test {
  TempDir folder{"pose_cli"};
  void SetUp() override {
    ASSERT_TRUE(WriteSkinnedMesh(MakeModel(), Path("arm.skm")));
    Animation a;
    a.boneCount = 2;
    a.InsertKey(std::vector<D3DXQUATERNION>(2), 0);
    std::vector<D3DXQUATERNION> turned(2);
    turned[1] = D3DXQUATERNION(0, 1, 0, 0);  // a half turn about +Y, exact at four decimals
    a.InsertKey(turned, 30);
    ASSERT_TRUE(WriteAnimationFile(a, Path("bend.anm")));
  }
  std::string Path(const std::string& name) const { return folder.path(name); }
  int Run(const std::string& args) {
    const std::string command = std::string(POSEWRIGHT_CLI) + " pose " + args + " 2>" + Path("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};
}  // namespace

TEST_F(PoseCommandTest, WritesEverySkinnedVertexAtThePlaybackTime) {
  ASSERT_EQ(Run(Path("arm.skm") + " --anim " + Path("bend.anm") + " --time 15 -o " + Path("out.txt")), 0);
  // At 15 of 30 the arm has turned a quarter about +Y around its joint (0,0,1).
  EXPECT_EQ(ReadFileBytes(Path("out.txt")),
            "1.000000 0.000000 1.000000\n"
            "1.000000 0.000000 0.000000\n"
            "0.500000 0.000000 0.500000\n");
}

TEST_F(PoseCommandTest, RefusesTimesNeverShownAndUnreadableInput) {
  const std::string anim = " --anim " + Path("bend.anm");
  EXPECT_EQ(Run(Path("arm.skm") + anim + " --time 30 -o " + Path("out.txt")), 1);
  EXPECT_EQ(Run(Path("missing.skm") + anim + " --time 3 -o " + Path("out.txt")), 1);
  EXPECT_EQ(Run(Path("arm.skm") + " --anim " + Path("missing.anm") + " --time 3 -o " + Path("out.txt")), 1);
  EXPECT_EQ(Run(Path("arm.skm") + anim + " --time 3x -o " + Path("out.txt")), 2);
  EXPECT_EQ(Run(Path("arm.skm") + anim + " --time 3"), 2);
  EXPECT_FALSE(fs::exists(Path("out.txt")));
}
}  // namespace posewright
