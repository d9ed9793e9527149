#include <gtest/gtest.h>

#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneDataReader.h"
#include "skeleton/BoneInformationFile.h"
#include "support/BoneDataText.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
// Root (0)
// ├─ B1 (1) ── B2 (2)
// ├─ B3 (3)
// └─ B4 (4)
Skeleton FiveBones() {
  BoneDataResult r = ParseBoneData(BoneDataWithParents({0, 1, 0, 0}), "five.dat");
  EXPECT_TRUE(r.status.ok) << r.status.describe();
  return std::move(r.skeleton);
}

TEST(BlendingParametersFile, WritesDefaultsByteForByte) {
  BoneDataResult r = ParseBoneData(BoneDataWithParents({0, 1}), "three.dat");
  ASSERT_TRUE(r.status.ok);
  TempDir dir;
  const std::string file = dir.path("defaults.prm");
  ASSERT_TRUE(WriteBlendingParameters(r.skeleton, file).ok);
  EXPECT_EQ(dir.read("defaults.prm"), "1 1 1.0000 0.3500\r\n2 2 1.0000 0.3500\r\n");

  r.skeleton.bones[1].symmetricId = 5;
  r.skeleton.blendParams[2] = BlendingParams{0.12345f, 2.0f};
  EXPECT_EQ(FormatBlendingParameters(r.skeleton), "1 5 1.0000 0.3500\r\n2 2 0.1235 2.0000\r\n");
}

TEST(BlendingParametersFile, WithoutSkeletonBothFilesAreEmpty) {
  TempDir dir;
  const std::string prm = dir.write("empty.prm", "old contents");
  const std::string bnf = dir.write("empty.bnf", "old contents");
  ASSERT_TRUE(WriteBlendingParameters(Skeleton{}, prm).ok);
  ASSERT_TRUE(WriteBoneInformation(Skeleton{}, bnf).ok);
  EXPECT_EQ(dir.read("empty.prm"), "");
  EXPECT_EQ(dir.read("empty.bnf"), "");
}

TEST(BlendingParametersFile, WriteFailureIsReported) {
  const Status s = WriteBlendingParameters(FiveBones(), "/nonexistent/posewright/out.prm");
  EXPECT_FALSE(s.ok);
  EXPECT_FALSE(WriteBoneInformation(FiveBones(), "/nonexistent/posewright/out.bnf").ok);
}

TEST(BlendingParametersFile, ReadAppliesLinesUpToTheFirstBadOne) {
  Skeleton s = FiveBones();
  TempDir dir;
  const std::string file = dir.write("partial.prm", "3 4 1.5000 0.2000\r\n0 1 2.0 2.0\r\n4 3 2.0 2.0\r\n");
  const Status status = ReadBlendingParameters(s, file);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.detail.find("partial.prm, line 2: bone index 0 is outside 1..4"), std::string::npos)
      << status.detail;
  EXPECT_EQ(s.bones[3].symmetricId, 4);
  EXPECT_EQ(s.blendParams[3].R, 1.5f);
  EXPECT_EQ(s.blendParams[3].H, 0.2f);
  EXPECT_EQ(s.bones[4].symmetricId, 4);
  EXPECT_EQ(s.blendParams[4].R, 1.0f);
}

TEST(BlendingParametersFile, BadValuesAreNeverStored) {
  Skeleton s = FiveBones();
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"2 9 0.0 1.0\n", "R and H must be above 0"},
      {"2 9 1.0 -0.5\n", "R and H must be above 0"},
      {"2 9 1.0\n", "R and H must be above 0"},
      {"5 9 1.0 1.0\n", "bone index 5"},
      {"\n2 9 1.0 1.0\n", "bone index 0"},
      {"2 9 1.0 1.0" + std::string(250, ' ') + "\n", "longer than 255"},
  };
  for (const auto& [text, reason] : bad) {
    SCOPED_TRACE(text);
    const Status status = ApplyBlendingParameters(s, text, "bad.prm");
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, "Blending Parameters Error");
    EXPECT_NE(status.detail.find(reason), std::string::npos) << status.detail;
    EXPECT_EQ(s.bones[2].symmetricId, 2);
    EXPECT_EQ(s.blendParams[2].R, 1.0f);
    EXPECT_EQ(s.blendParams[2].H, 0.35f);
  }
}

TEST(BlendingParametersFile, RoundTripAndLenientEnd) {
  Skeleton s = FiveBones();
  s.bones[1].symmetricId = 3;
  s.bones[3].symmetricId = 1;
  s.blendParams[2] = BlendingParams{0.75f, 0.5f};
  const std::string text = FormatBlendingParameters(s);
  Skeleton t = FiveBones();
  // Trailing blank lines end the file normally; the partner index is taken as it stands.
  ASSERT_TRUE(ApplyBlendingParameters(t, text + "\r\n\n", "trip.prm").ok);
  EXPECT_EQ(FormatBlendingParameters(t), text);
  ASSERT_TRUE(ApplyBlendingParameters(t, "4 77 1.0 1.0", "nolf.prm").ok);
  EXPECT_EQ(t.bones[4].symmetricId, 77);
}

TEST(BlendingParametersFile, ReadIsRefusedWithoutSkeletonOrFile) {
  Skeleton none;
  TempDir dir;
  const std::string file = dir.write("noskel.prm", "1 1 1.0 1.0\n");
  const Status s = ReadBlendingParameters(none, file);
  EXPECT_EQ(s.message, "Bone data has not been loaded yet.");
  Skeleton five = FiveBones();
  EXPECT_EQ(ReadBlendingParameters(five, "/nonexistent/posewright/x.prm").message,
            "Blending Parameters Error");
}

TEST(BoneInformationFile, WritesParentsAndJointsByteForByte) {
  Skeleton s = FiveBones();
  s.bones[0].parentId = 7;  // the root's parent is always written as 0
  s.bones[2].begin = D3DXVECTOR3(-1.5f, 0.00006f, 1234.56789f);
  TempDir dir;
  const std::string file = dir.path("bones.bnf");
  ASSERT_TRUE(WriteBoneInformation(s, file).ok);
  EXPECT_EQ(dir.read("bones.bnf"),
            "0 0 0.0000 0.0000 0.0000\r\n"
            "1 0 0.0000 1.0000 0.0000\r\n"
            "2 1 -1.5000 0.0001 1234.5679\r\n"
            "3 0 0.0000 1.0000 0.0000\r\n"
            "4 0 0.0000 1.0000 0.0000\r\n");
}
}  // namespace
}  // namespace posewright
