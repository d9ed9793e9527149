// posewright-cli weights on the sample character: the tools run in the order
// given and the saved model holds their result; bad values are usage errors
// and a refused tool writes nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "fileio/FileBytes.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "support/TempDir.h"
#include "weights/BlendWeights.h"
#include "weighttools/MirrorVertices.h"
#include "weighttools/MirrorWeights.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;
const std::string kSamples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";

struct WeightsCommandTest : ::testing::Test {
  TempDir folder{"weights_cli"};
  std::string out;
  std::string err;

  // The sample character bound with its parameters, saved as character.skm;
  // without partners, also as unpaired.skm.
  void SetUp() override {
    SkinnedModel m;
    ASSERT_TRUE(LoadMesh(m, kSamples + "character.x"));
    ASSERT_TRUE(LoadBoneData(m, kSamples + "character.dat"));
    ASSERT_TRUE(ReadBlendingParameters(m.skeleton, kSamples + "character.prm"));
    ComputeBlendWeights(m);
    ASSERT_TRUE(WriteSkinnedMesh(m, Path("character.skm")));
    for (Bone& b : m.skeleton.bones) b.symmetricId = static_cast<int32_t>(&b - m.skeleton.bones.data());
    ASSERT_TRUE(WriteSkinnedMesh(m, Path("unpaired.skm")));
  }

  std::string Path(const std::string& name) const { return folder.path(name); }

  int Run(const std::string& args) {
    const std::string command = std::string(POSEWRIGHT_CLI) + " weights " + args + " > " +
                                Path("stdout.txt") + " 2> " + Path("stderr.txt");
    const int status = std::system(command.c_str());
    out = ReadFileBytes(Path("stdout.txt")).value_or("");
    err = ReadFileBytes(Path("stderr.txt")).value_or("");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(WeightsCommandTest, ToolsRunInOrderAndTheResultIsSaved) {
  ASSERT_EQ(Run(Path("character.skm") + " --smooth 4:0.5 --limit 2 --mirror r2l --prune 0.2 --normalise -o " +
                Path("out.skm")),
            0)
      << err;
  EXPECT_NE(out.find("--smooth 4:0.5: 2653 vertices, "), std::string::npos) << out;
  EXPECT_NE(out.find("--mirror r2l: 2653 vertices, "), std::string::npos) << out;
  EXPECT_NE(out.find(", 0 without a mirror vertex\n"), std::string::npos) << out;
  EXPECT_LT(out.find("--limit 2"), out.find("--mirror r2l"));
  EXPECT_LT(out.find("--prune 0.2"), out.find("--normalise"));

  SkinnedModel m;
  ASSERT_TRUE(ReadSkinnedMesh(m, Path("out.skm")));
  const std::vector<SkinVertex>& v = m.skinnedMesh.vertices;
  const std::vector<uint32_t> mirror =
      FindMirrorVertices(v, kMirrorRelativeTolerance * BoundingBoxDiagonal(v));
  const std::array<uint8_t, 256> partner = BonePartnerTable(m.skeleton);
  for (std::size_t i = 0; i < v.size(); ++i) {
    SCOPED_TRACE("vertex " + std::to_string(i));
    // Limit 2 then prune 0.2 and normalise: one or two bones (on the plane the
    // mirror may share one bone's weight with its partner: three), at least 0.2
    // each, summing to 1 (within the six decimals of the file).
    float sum = 0.0f;
    int bones = 0;
    for (int s = 0; s < 4; ++s) {
      const float w = s < 3 ? v[i].blendWeights[s] : v[i].lastWeight();
      if (v[i].boneIndex(s) == 0 || std::abs(w) < 1e-5f) continue;
      ++bones;
      sum += w;
      EXPECT_GE(w, 0.2f - 1e-5f);
    }
    EXPECT_GE(bones, 1);
    ASSERT_NE(mirror[i], kNoMirrorVertex);
    EXPECT_LE(bones, mirror[i] == i ? 3 : 2);
    EXPECT_NEAR(sum, 1.0f, 1e-5f);
    // The mirror came before prune and normalise, which treat both sides alike.
    const SkinVertex& other = v[mirror[i]];
    for (int s = 0; s < 3; ++s) {
      if (v[i].boneIndex(s) == 0) continue;
      bool found = false;
      for (int t = 0; t < 3; ++t) {
        if (other.boneIndex(t) == partner[v[i].boneIndex(s)]) {
          found = true;
          EXPECT_NEAR(other.blendWeights[t], v[i].blendWeights[s], 2e-6f);
        }
      }
      EXPECT_TRUE(found);
    }
  }
}

TEST_F(WeightsCommandTest, BadValuesAreUsageErrorsAndRefusalsWriteNothing) {
  const std::string model = Path("character.skm") + " ";
  const std::string output = " -o " + Path("out.skm");
  struct Case {
    std::string args;
    int status;
  };
  const std::vector<Case> cases = {
      {model + "--normalise", 2},              // no -o
      {model + output, 2},                     // no tool
      {model + "--smooth 0" + output, 2},      // N from 1
      {model + "--smooth 3:0" + output, 2},    // S above 0
      {model + "--smooth 3:1.5" + output, 2},  // S at most 1
      {model + "--smooth x:0.5" + output, 2},
      {model + "--prune 1" + output, 2},  // T below 1
      {model + "--prune -0.1" + output, 2},
      {model + "--prune 0.1x" + output, 2},
      {model + "--limit 5" + output, 2},  // K 1..4
      {model + "--limit 0" + output, 2},
      {model + "--mirror up" + output, 2},
      {model + "--frobnicate" + output, 2},
      {model + "--normalise --select 13" + output, 2},  // the model has bones 0..12
      {model + "--normalise --select 0" + output, 2},   // the root carries no weight
      {model + "--normalise --select 3,x" + output, 2},
      {Path("unpaired.skm") + " --normalise --mirror l2r" + output, 1},
      {Path("missing.skm") + " --normalise" + output, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args), c.status) << err;
    if (c.status == 2) {
      EXPECT_NE(err.find("usage: posewright-cli weights"), std::string::npos) << err;
    }
    EXPECT_FALSE(fs::exists(Path("out.skm")));
  }
  EXPECT_EQ(Run(Path("unpaired.skm") + " --mirror l2r" + output), 1);
  EXPECT_NE(err.find(kWeightToolNoPartners), std::string::npos) << err;
}

TEST_F(WeightsCommandTest, SelectLimitsTheToolsToTheBonesVertices) {
  ASSERT_EQ(Run(Path("character.skm") + " --select 6,8 --limit 1 -o " + Path("out.skm")), 0) << err;
  SkinnedModel before, after;
  ASSERT_TRUE(ReadSkinnedMesh(before, Path("character.skm")));
  ASSERT_TRUE(ReadSkinnedMesh(after, Path("out.skm")));
  std::size_t changed = 0;
  for (std::size_t i = 0; i < before.vertexCount(); ++i) {
    const SkinVertex& a = before.skinnedMesh.vertices[i];
    const SkinVertex& b = after.skinnedMesh.vertices[i];
    bool forearm = false;
    for (int s = 0; s < 4; ++s) {
      const float w = s < 3 ? a.blendWeights[s] : a.lastWeight();
      forearm = forearm || ((a.boneIndex(s) == 6 || a.boneIndex(s) == 8) && w > 0.0f);
    }
    const bool same = a.boneIndices == b.boneIndices && a.blendWeights[0] == b.blendWeights[0] &&
                      a.blendWeights[1] == b.blendWeights[1] && a.blendWeights[2] == b.blendWeights[2];
    if (!same) ++changed;
    EXPECT_TRUE(same || forearm) << "vertex " << i;
  }
  EXPECT_GT(changed, 0u);
}
}  // namespace
}  // namespace posewright
