#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "fileio/FileBytes.h"
#include "importer/ModelImport.h"
#include "importer/WeightAgreement.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneDataReader.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace posewright {

namespace {
std::string Rig(const std::string& name) {
  return SharedTestDataDir() + "/rigs/" + name;
}

struct RigCommandTest : ::testing::Test {
  TempDir folder{"rigcli"};
  std::string out, err;

  std::string Path(const std::string& name) const { return folder.path(name); }

  // Runs the command line with args; its output goes to out and err.
  int Run(const std::string& args) {
    const std::string command =
        std::string(POSEWRIGHT_CLI) + " " + args + " > " + Path("stdout.txt") + " 2> " + Path("stderr.txt");
    const int status = std::system(command.c_str());
    out = ReadFileBytes(Path("stdout.txt")).value_or("");
    err = ReadFileBytes(Path("stderr.txt")).value_or("");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(RigCommandTest, RigWritesBoneDataAndBlendingParametersThatReadBack) {
  ASSERT_EQ(Run("rig " + Rig("hand.fbx") + " -o " + Path("hand.dat") + " --prm " + Path("hand.prm")), 0)
      << err;
  EXPECT_NE(out.find("hand.dat: 17 bones (a root bone added), anchors for 996 vertices"), std::string::npos)
      << out;
  EXPECT_NE(out.find("anchors per vertex: 1..3 (vertices in no anchor: 0, in more than four: 0)"),
            std::string::npos)
      << out;
  RiggedImport direct;
  ASSERT_TRUE(ImportRiggedModel(Rig("hand.fbx"), direct));
  const BoneDataResult dat = ParseBoneData(*ReadFileBytes(Path("hand.dat")), "hand.dat");
  ASSERT_TRUE(dat.status) << dat.status.detail;
  ASSERT_EQ(dat.skeleton.boneCount(), direct.rig.skeleton.boneCount());
  for (std::size_t b = 1; b < dat.skeleton.bones.size(); ++b) {
    EXPECT_EQ(dat.skeleton.bones[b].begin, direct.rig.skeleton.bones[b].begin);
    EXPECT_EQ(dat.skeleton.anchors[b].vertices, direct.rig.skeleton.anchors[b].vertices);
  }
  Skeleton withParameters = dat.skeleton;
  ASSERT_TRUE(ReadBlendingParameters(withParameters, Path("hand.prm")));
  for (std::size_t b = 1; b < withParameters.bones.size(); ++b) {
    EXPECT_EQ(withParameters.blendParams[b].R, direct.rig.skeleton.blendParams[b].R);
    EXPECT_EQ(withParameters.blendParams[b].H, direct.rig.skeleton.blendParams[b].H);
  }

  // The generated bone data binds another mesh of any format.
  ASSERT_EQ(Run("bind " + Rig("quads.obj") + " " + Path("hand.dat") + " -o " + Path("quads.skm")), 0) << err;
  EXPECT_NE(out.find("24 vertices, 12 faces, 17 bones"), std::string::npos) << out;
}

TEST_F(RigCommandTest, BindWithTheRigKeepsTheFilesWeightsOrRecomputesThem) {
  RiggedImport direct;
  ASSERT_TRUE(ImportRiggedModel(Rig("bent_tube.glb"), direct));
  ASSERT_EQ(Run("bind " + Rig("bent_tube.glb") + " --rig -o " + Path("own.skm")), 0) << err;
  EXPECT_NE(out.find("weights: the file's own"), std::string::npos) << out;
  SkinnedModel own;
  ASSERT_TRUE(ReadSkinnedMesh(own, Path("own.skm")));
  ASSERT_EQ(own.vertexCount(), direct.rig.influences.size());
  for (std::size_t v = 0; v < own.vertexCount(); ++v) {
    EXPECT_EQ(own.skinnedMesh.vertices[v].boneIndex(0), direct.rig.influences[v].bones[0]);
  }

  ASSERT_EQ(Run("bind " + Rig("bent_tube.glb") + " --rig --auto-weights -o " + Path("auto.skm")), 0) << err;
  EXPECT_NE(out.find("vertices in no anchor: 0\nvertices in more than four anchors: 0\n"), std::string::npos)
      << out;
  SkinnedModel recomputed;
  ASSERT_TRUE(ReadSkinnedMesh(recomputed, Path("auto.skm")));
  std::size_t same = 0;
  for (std::size_t v = 0; v < recomputed.vertexCount(); ++v) {
    same += DominantSlotBone(recomputed.skinnedMesh.vertices[v]) == direct.rig.influences[v].bones[0] ? 1 : 0;
  }
  EXPECT_GE(same, recomputed.vertexCount() * 9 / 10);
}

TEST_F(RigCommandTest, InfoDescribesEveryMeshFormatWithItsBones) {
  ASSERT_EQ(Run("info " + Rig("two_roots.dae")), 0) << err;
  EXPECT_NE(
      out.find("  bones       5 (a root bone added)\n    0 Root\n      1 LeftThigh\n        2 LeftShin\n"),
      std::string::npos)
      << out;
  ASSERT_EQ(Run("info " + Rig("quads.obj") + " --json"), 0) << err;
  EXPECT_NE(out.find("\"vertices\":24,\"faces\":12,\"droppedFaces\":0,\"materials\":1"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\"textures\":[{\"name\":\"quads.png\",\"loaded\":true,\"width\":16"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\"bones\":[],\"rootAdded\":false"), std::string::npos) << out;
}

TEST_F(RigCommandTest, RefusalsNameTheFileAndTheReason) {
  const struct {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"rig " + Rig("quads.obj") + " -o " + Path("q.dat"), 1,
       "posewright-cli rig: File Format Error: quads.obj: the file has no armature that deforms its mesh"},
      {"bind " + Rig("quads.obj") + " --rig -o " + Path("q.skm"), 1,
       "posewright-cli bind: File Format Error: quads.obj: the file has no armature"},
      {"rig " + Rig("missing.glb") + " -o " + Path("m.dat"), 1, "missing.glb: the file cannot be opened"},
      {"info " + Rig("missing.fbx"), 1,
       "posewright-cli info: File Format Error: missing.fbx: the file cannot be opened"},
      {"rig " + Rig("hand.fbx"), 2, "usage: posewright-cli rig MODEL -o OUT.dat"},
      {"bind " + Rig("hand.fbx") + " --rig", 2, "usage: posewright-cli bind MODEL --rig"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args), c.status);
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("q.dat")));
}
}  // namespace
}  // namespace posewright
