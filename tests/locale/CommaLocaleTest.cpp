// A desktop session under a comma-decimal locale (de_DE) must write and read
// the same bytes as the C locale: the sample bound, weights typed, every text
// format saved and the .x exported, once in each locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "anim/Animation.h"
#include "anim/AnimationFile.h"
#include "editor/panels/WeightControlRules.h"
#include "export/SkinnedMeshXWriter.h"
#include "importer/BoneDataWriter.h"
#include "importer/ModelImport.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneInformationFile.h"
#include "support/TestData.h"
#include "weights/BlendWeights.h"
#include "weights/WeightEditing.h"

namespace posewright {

namespace {
constexpr const char* kCommaLocale = "de_DE.UTF-8";

std::string Sample(const char* name) {
  return std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/" + name;
}

struct SessionFiles {
  std::string skm, prm, bnf, anm, x;
  std::string riggedDat;  // the bone data made for a rigged model
  float typedWeight = -1.0f;
  std::string shownWeight;
};

// Everything a user's session reads and writes, in the current locale.
SessionFiles RunSession() {
  SessionFiles out;
  RiggedImport rig;
  EXPECT_TRUE(ImportRiggedModel(SharedTestDataDir() + "/rigs/bent_tube.glb", rig).ok);
  out.riggedDat = FormatBoneData(rig.rig.skeleton);
  SkinnedModel model;
  EXPECT_TRUE(LoadMesh(model, Sample("character.x")).ok);
  EXPECT_TRUE(LoadBoneData(model, Sample("character.dat")).ok);
  const Status prm = ReadBlendingParameters(model.skeleton, Sample("character.prm"));
  EXPECT_TRUE(prm.ok) << prm.message << " " << prm.detail;
  ComputeBlendWeights(model, 1);

  out.typedWeight = ParseWeightText("0.35");
  out.shownWeight = FormatWeight(0.35f);
  SelectByBones(model, BoneIndexQuad{1, 2, 0, 0});
  SetSelectedWeights(model, BoneIndexQuad{1, 2, 0, 0},
                     WeightQuad{ParseWeightText("0.35"), ParseWeightText("0.65"), 0.0f, 0.0f});

  Animation walk;
  walk.boneCount = model.skeleton.boneCount();
  const Status anm = ReadAnimationFile(walk, Sample("walk.anm"));
  EXPECT_TRUE(anm.ok) << anm.message << " " << anm.detail;

  EXPECT_TRUE(FormatSkinnedMesh(model, out.skm).ok);
  out.prm = FormatBlendingParameters(model.skeleton);
  out.bnf = FormatBoneInformation(model.skeleton);
  out.anm = FormatAnimationFile(walk);
  EXPECT_TRUE(FormatSkinnedMeshX(ExportOptions{}, model, &walk, out.x).ok);
  return out;
}

class CommaLocaleTest : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};
}  // namespace

TEST_F(CommaLocaleTest, SessionFilesAreByteIdenticalToTheCLocale) {
  std::setlocale(LC_ALL, "C");
  const SessionFiles c = RunSession();

  ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr)
      << kCommaLocale << " is not installed (tools/setup.sh generates it)";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5") << "the locale's decimal mark is not a comma";
  const SessionFiles de = RunSession();

  EXPECT_FLOAT_EQ(c.typedWeight, 0.35f);
  EXPECT_FLOAT_EQ(de.typedWeight, 0.35f);
  EXPECT_EQ(de.shownWeight, "0.3500");
  EXPECT_EQ(de.skm, c.skm);
  EXPECT_EQ(de.prm, c.prm);
  EXPECT_EQ(de.bnf, c.bnf);
  EXPECT_EQ(de.anm, c.anm);
  EXPECT_EQ(de.x, c.x);
  EXPECT_EQ(de.riggedDat, c.riggedDat);
  EXPECT_NE(c.prm.find("1.5000"), std::string::npos) << c.prm;
}

TEST_F(CommaLocaleTest, ATypedCommaIsReadByTheNumericPrefixRule) {
  ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr);
  EXPECT_FLOAT_EQ(ParseWeightText("0,5"), 0.0f);
  EXPECT_FLOAT_EQ(ParseWeightText("1,5"), 1.0f);
  EXPECT_FLOAT_EQ(ParseWeightText("0.5"), 0.5f);
}
}  // namespace posewright
