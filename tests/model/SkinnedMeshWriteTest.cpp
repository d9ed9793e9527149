#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "SkmTestModel.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
std::string CrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

TEST(WriteSkinnedMesh, ByteForByte) {
  std::string text;
  ASSERT_TRUE(FormatSkinnedMesh(SmallBoundModel(), text));
  const std::string expected = CrLf({
      "Vertices: 4",
      "0\t0.000000\t1.000000\t0.000000\t1.000000\t0.000000\t0.000000\t1\t0.000000\t1.000000\t0.000000\t0."
      "500000\t0.000000",
      "1\t1.000000\t-2.500000\t0.007812\t0.250000\t0.500000\t0.125000\t3355443713\t0.000000\t0.000000\t-1."
      "000000\t1.000000\t0.250000",
      "2\t0.000000\t0.000000\t1.000000\t1.000000\t0.000000\t0.000000\t2\t1.000000\t0.000000\t0.000000\t0."
      "000000\t1.000000",
      "3\t2.000000\t0.000000\t0.000000\t0.500000\t0.500000\t0.000000\t513\t0.000000\t1.000000\t0.000000\t1."
      "000000\t1.000000",
      "Indices: 6",
      "0\t1\t2",
      "2\t1\t3",
      "Adjacency: 2",
      "4294967295\t1\t4294967295",
      "0\t4294967295\t4294967295",
      "Materials: 2",
      "0",
      "1.000000\t0.500000\t0.250000\t1.000000",
      "0.200000\t0.200000\t0.200000\t1.000000",
      "0.000000\t0.000000\t0.000000\t1.000000",
      "0.000000\t0.000000\t0.000000\t1.000000",
      "8.000000",
      "tex/skin.png",
      "1",
      "0.500000\t0.500000\t0.500000\t1.000000",
      "0.500000\t0.500000\t0.500000\t0.750000",
      "0.000000\t0.000000\t0.000000\t0.000000",
      "0.000000\t0.000000\t0.000000\t0.000000",
      "0.000000",
      "(NULL)",
      "Attributes: 2",
      "0\t0\t1\t0\t3",
      "1\t1\t1\t1\t3",
      "Bone: 3",
      "Root",
      "0\t0\t0",
      "0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0.000000",
      "0.000000\t0.000000\t0.000000\t1.000000",
      "Left",
      "1\t0\t2",
      "0.000000\t1.000000\t0.000000\t1.000000\t1.000000\t0.000000",
      "0.000000\t0.707107\t0.000000\t0.707107",
      "Hand",
      "2\t1\t1",
      "1.000000\t1.000000\t0.000000\t1.500000\t1.000000\t0.000000",
      "0.000000\t0.707107\t0.000000\t0.707107",
  });
  EXPECT_EQ(text, expected);
}

TEST(WriteSkinnedMesh, RefusesWhatCouldNotBeReadBack) {
  std::string text = "untouched";
  SkinnedModel unbound;
  EXPECT_FALSE(FormatSkinnedMesh(unbound, text));

  SkinnedModel noBones = SmallBoundModel();
  noBones.skeleton.clear();
  EXPECT_FALSE(FormatSkinnedMesh(noBones, text));

  SkinnedModel longName = SmallBoundModel();
  longName.materialList[0].textureFilename = std::string(256, 'a');
  const Status tooLong = FormatSkinnedMesh(longName, text);
  EXPECT_FALSE(tooLong);
  EXPECT_NE(tooLong.detail.find("line 19"), std::string::npos) << tooLong.detail;
  longName.materialList[0].textureFilename = std::string(255, 'a');
  EXPECT_TRUE(FormatSkinnedMesh(longName, text));

  SkinnedModel huge = SmallBoundModel();
  huge.skinnedMesh.vertices[3].position.x = 3e38f;  // "%.6f" gives 46 characters per such number
  huge.skinnedMesh.vertices[3].position.y = -3e38f;
  huge.skinnedMesh.vertices[3].position.z = 3e38f;
  huge.skinnedMesh.vertices[3].normal = {3e38f, 3e38f, 3e38f};
  EXPECT_FALSE(FormatSkinnedMesh(huge, text));

  SkinnedModel notFinite = SmallBoundModel();
  notFinite.skinnedMesh.vertices[2].blendWeights[1] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(FormatSkinnedMesh(notFinite, text));
  notFinite = SmallBoundModel();
  notFinite.skeleton.bones[1].restRotation.w = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(FormatSkinnedMesh(notFinite, text));

  SkinnedModel lineBreak = SmallBoundModel();
  lineBreak.materialList[1].textureFilename = "a\nb.png";
  EXPECT_FALSE(FormatSkinnedMesh(lineBreak, text));
}

TEST(WriteSkinnedMesh, FailedWriteIsReportedAndKeepsTheOldFile) {
  const TempDir temp("skm_write");
  const std::filesystem::path& dir = temp.path();
  const std::string path = (dir / "model.skm").string();
  ASSERT_TRUE(WriteFileAtomically(path, "previous"));
  SkinnedModel unbound;
  EXPECT_FALSE(WriteSkinnedMesh(unbound, path));
  EXPECT_EQ(ReadFileBytes(path), std::string("previous"));
  EXPECT_FALSE(WriteSkinnedMesh(SmallBoundModel(), (dir / "missing" / "model.skm").string()));
  EXPECT_TRUE(WriteSkinnedMesh(SmallBoundModel(), path));
  EXPECT_EQ(ReadFileBytes(path)->substr(0, 13), "Vertices: 4\r\n");
}
}  // namespace
}  // namespace posewright
