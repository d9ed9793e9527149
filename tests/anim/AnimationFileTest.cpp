#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "support/AnimationTestSupport.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
const std::string kGolden = std::string(POSEWRIGHT_SOURCE_DIR) + "/tests/anim/data/TwoBoneQuarterTurn.anm";

Animation Empty(int boneCount) {
  Animation a;
  a.boneCount = boneCount;
  return a;
}

std::string TempPath(const std::string& name) {
  static const TempDir folder("anim");
  return folder.path(name);
}
}  // namespace

TEST(AnimationFile, WritesTheTwoBoneExampleByteForByte) {
  Animation a = Empty(2);
  a.InsertKey(UniformPose(2, 0.0f), 0);
  std::vector<D3DXQUATERNION> turned = UniformPose(2, 0.0f);
  turned[1] = AxisAngle(0, 1, 0, 1.5707964f);
  a.InsertKey(turned, 30);
  const std::string path = TempPath("golden.anm");
  ASSERT_TRUE(WriteAnimationFile(a, path));
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(kGolden));
  std::filesystem::remove(path);
}

TEST(AnimationFile, ReadsTheExampleAndAnEmptyAnimationIsTheHeaderAlone) {
  Animation a = Empty(2);
  ASSERT_TRUE(ReadAnimationFile(a, kGolden));
  EXPECT_EQ(KeyTimes(a), (std::vector<int>{0, 30}));
  EXPECT_EQ(a.currentKey(), 1);
  EXPECT_EQ(a.keys()[1].rotations[1], D3DXQUATERNION(0.0f, 0.7071f, 0.0f, 0.7071f));  // not normalised
  EXPECT_EQ(FormatAnimationFile(Empty(3)), "NumBones: 3\r\n");
  Animation headerOnly = Empty(3);
  EXPECT_TRUE(ReadAnimationText(headerOnly, "NumBones: 3", "h.anm"));
  EXPECT_TRUE(headerOnly.keys().empty());
}

TEST(AnimationFile, RoundTripKeepsTimesAndRoundsRotationsToFourDecimals) {
  Animation a = Empty(3);
  a.InsertKey(std::vector<D3DXQUATERNION>{{0.123456f, -0.98766f, 0.5f, -0.00004f}, {}, {1, 2, 3, 4}}, -7);
  a.InsertKey(UniformPose(3, 0.3f), 2147483647);
  a.InsertKey(UniformPose(1, 0.3f), 12);  // short keyframe: written with identity
  Animation b = Empty(3);
  ASSERT_TRUE(ReadAnimationText(b, FormatAnimationFile(a), "r.anm"));
  EXPECT_EQ(KeyTimes(b), (std::vector<int>{-7, 12, 2147483647}));
  ExpectNear(b.keys()[0].rotations[0], {0.1235f, -0.9877f, 0.5f, -0.0f}, 1e-6f);
  EXPECT_EQ(b.keys()[1].rotations[2], D3DXQUATERNION());
  EXPECT_EQ(FormatAnimationFile(b), FormatAnimationFile(a));
}

TEST(AnimationFile, StopsQuietlyKeepingWhatWasRead) {
  // Wrong bone count: nothing read.
  Animation wrongCount = Empty(3);
  Status s = ReadAnimationFile(wrongCount, kGolden);
  EXPECT_FALSE(s);
  EXPECT_NE(s.detail.find("TwoBoneQuarterTurn.anm, line 1"), std::string::npos) << s.detail;
  EXPECT_TRUE(wrongCount.keys().empty());

  // A malformed second block keeps the first.
  Animation broken = Empty(1);
  s = ReadAnimationText(broken,
                        "NumBones: 1\nTime: 5\nQuaternions:\n0 0 0 1\nTime: 9\nQuaternion:\n0 0 0 1\n", "b");
  EXPECT_EQ(KeyTimes(broken), std::vector<int>{5});
  EXPECT_NE(s.detail.find("line 6"), std::string::npos) << s.detail;

  // Garbage after a blank line is not read.
  Animation blank = Empty(1);
  s = ReadAnimationText(
      blank, "NumBones: 1\nTime: 5\nQuaternions:\n0 0 0 1\n\nTime: 9\nQuaternions:\n0 0 0 1\n", "b");
  EXPECT_EQ(KeyTimes(blank), std::vector<int>{5});
  EXPECT_FALSE(s);
  Animation trailing = Empty(1);
  EXPECT_TRUE(
      ReadAnimationText(trailing, "NumBones: 1\r\nTime: 5\r\nQuaternions:\r\n0 0 0 1\r\n\r\n  \r\n", "b"));

  // No such file.
  Animation missing = Empty(1);
  EXPECT_FALSE(ReadAnimationFile(missing, TempPath("does-not-exist.anm")));
  EXPECT_TRUE(missing.keys().empty());
}

TEST(AnimationFile, BlocksGoThroughInsertKey) {
  Animation a = Empty(1);
  ASSERT_TRUE(ReadAnimationText(a,
                                "NumBones: 1\nTime: 30\nQuaternions: \n0 0 0 1\n"
                                "Time: 0\nQuaternions: \n0 0 0 1\n"
                                "Time: 10\nQuaternions: \n0.1 0 0 1\n"
                                "Time: 10\nQuaternions: \n0.2 0 0 1",
                                "o"));
  EXPECT_EQ(KeyTimes(a), (std::vector<int>{0, 10, 30}));
  EXPECT_FLOAT_EQ(a.keys()[1].rotations[0].x, 0.2f);  // the later block for 10 wins
  EXPECT_EQ(a.currentKey(), 1);                       // the last inserted
}

TEST(AnimationFile, RotationLinesAreReadAsTheyCome) {
  // Missing tokens read as 0, extra tokens are ignored, a block cut short by
  // the end is still inserted with identity for the missing bones, and a
  // "Time:" line inside a block is just another rotation line.
  Animation a = Empty(3);
  const Status s = ReadAnimationText(a,
                                     "NumBones: 3\nTime: 1\nQuaternions: \n0.5\n1 2 3 4 5\nTime: 7\n"
                                     "Time: 2\nQuaternions: \n0 0 1 0\n",
                                     "c");
  EXPECT_FALSE(s);
  ASSERT_EQ(KeyTimes(a), (std::vector<int>{1, 2}));
  EXPECT_EQ(a.keys()[0].rotations[0], D3DXQUATERNION(0.5f, 0, 0, 0));
  EXPECT_EQ(a.keys()[0].rotations[1], D3DXQUATERNION(1, 2, 3, 4));
  EXPECT_EQ(a.keys()[0].rotations[2], D3DXQUATERNION(0, 7, 0, 0));
  EXPECT_EQ(a.keys()[1].rotations[0], D3DXQUATERNION(0, 0, 1, 0));
  EXPECT_EQ(a.keys()[1].rotations[1], D3DXQUATERNION());
  EXPECT_EQ(a.keys()[1].boneCount(), 3);
}

// A file that could not be read back to the same keyframes is not written:
// rotations beyond the stated count would be cut, and the reader takes only
// digits, so infinite or NaN numbers would come back as something else.
TEST(AnimationFile, RefusesToWriteWhatCouldNotBeReadBack) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* what;
    int boneCount;
    std::vector<D3DXQUATERNION> rotations;
  };
  const std::vector<Case> refused = {
      {"keys but no bone count", 0, UniformPose(2, 0.3f)},
      {"more rotations than the count", 2, UniformPose(3, 0.3f)},
      {"not a number", 2, {{0, std::nanf(""), 0, 1}, {}}},
      {"infinite", 2, {{}, {0, 0, -inf, 1}}},
  };
  const std::string path = TempPath("refused.anm");
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    Animation a = Empty(c.boneCount);
    a.InsertKey(UniformPose(c.boneCount, 0.0f), 0);
    a.InsertKey(c.rotations, 25);
    const Status s = WriteAnimationFile(a, path);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.message, "Animation Save Error");
    EXPECT_NE(s.detail.find("refused.anm: the keyframe at time 25"), std::string::npos) << s.detail;
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  // Fewer rotations than the count are written with identity, and read back so.
  Animation shortKey = Empty(3);
  shortKey.InsertKey(UniformPose(2, 0.3f), 0);
  EXPECT_TRUE(WriteAnimationFile(shortKey, path));
  std::filesystem::remove(path);
}
}  // namespace posewright
