#include <gtest/gtest.h>

#include <random>

#include "ImportTestSupport.h"
#include "importer/BoneDataWriter.h"
#include "importer/Quantize.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace {
using namespace import_test;

// A number with at most six decimals, of any magnitude from a millionth to
// a thousand, as bone data carries them.
float RandomNumber(std::mt19937& rng) {
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  const float scales[] = {1e-5f, 1e-2f, 1.0f, 15.9f, 16.1f, 1000.0f};
  return Quantize6(unit(rng) * scales[rng() % 6]);
}

D3DXVECTOR3 RandomPoint(std::mt19937& rng) {
  return {RandomNumber(rng), RandomNumber(rng), RandomNumber(rng)};
}

Skeleton RandomSkeleton(std::mt19937& rng) {
  Skeleton s;
  s.bones.resize(1 + rng() % 20);
  s.resizePerBoneArrays();
  for (std::size_t i = 0; i < s.bones.size(); ++i) {
    Bone& b = s.bones[i];
    b.name = i == 0 ? "Root" : "B" + std::to_string(rng() % 1000);
    b.parentId = i == 0 ? 0 : static_cast<int32_t>(rng() % i);
    b.symmetricId = static_cast<int32_t>(i);
    b.begin = RandomPoint(rng);
    b.end = RandomPoint(rng);
    if (i > 0) {
      b.restRotation = {RandomNumber(rng), RandomNumber(rng), RandomNumber(rng), RandomNumber(rng)};
    }
    D3DXQuaternionInverse(&b.restRotationInverse, &b.restRotation);
    b.orientation = b.restRotation;
    if (i == 0) continue;
    BoneAnchor& a = s.anchors[i];
    const int vertices = 3 + static_cast<int>(rng() % 10);
    for (int v = 0; v < vertices; ++v) a.vertices.push_back(RandomPoint(rng));
    const int faces = 4 + static_cast<int>(rng() % 12);
    for (int f = 0; f < faces; ++f) {
      a.faces.push_back({static_cast<int32_t>(rng() % vertices), static_cast<int32_t>(rng() % vertices),
                         static_cast<int32_t>(rng() % vertices)});
      a.faceNormals.push_back(RandomPoint(rng));
    }
    a.boxMin = RandomPoint(rng);
    a.boxMax = RandomPoint(rng);
  }
  return s;
}

// Whatever the writer writes, the reader reads back exactly: every bone's
// name, parent, points and rotations (and the inverse the reader computes),
// every anchor's vertices, normals, faces and box.
TEST(BoneDataWriter, ReadsBackExactly) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200; ++round) {
    const Skeleton s = RandomSkeleton(rng);
    ASSERT_EQ(BoneDataProblem(s), "");
    const BoneDataResult back = ParseBoneData(FormatBoneData(s), "random.dat");
    ASSERT_TRUE(back.status) << back.status.detail;
    ASSERT_EQ(back.skeleton.boneCount(), s.boneCount());
    for (std::size_t i = 0; i < s.bones.size(); ++i) {
      const Bone& a = s.bones[i];
      const Bone& b = back.skeleton.bones[i];
      ASSERT_EQ(b.name, a.name);
      ASSERT_EQ(b.parentId, a.parentId);
      ASSERT_EQ(b.begin, a.begin);
      ASSERT_EQ(b.end, a.end);
      ASSERT_EQ(b.restRotation, a.restRotation);
      ASSERT_EQ(b.restRotationInverse, a.restRotationInverse);
      if (i == 0) continue;
      const BoneAnchor& x = s.anchors[i];
      const BoneAnchor& y = back.skeleton.anchors[i];
      ASSERT_EQ(y.vertices, x.vertices);
      ASSERT_EQ(y.faceNormals, x.faceNormals);
      ASSERT_EQ(y.faces, x.faces);
      ASSERT_EQ(y.boxMin, x.boxMin);
      ASSERT_EQ(y.boxMax, x.boxMax);
    }
  }
}

// The sample's bone data was written by the same writer: reading and writing
// it again gives the file byte for byte.
TEST(BoneDataWriter, RewritesTheSampleByteForByte) {
  const std::optional<std::string> text =
      ReadFileBytes(std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/character.dat");
  ASSERT_TRUE(text.has_value());
  const BoneDataResult read = ParseBoneData(*text, "character.dat");
  ASSERT_TRUE(read.status);
  EXPECT_EQ(FormatBoneData(read.skeleton), *text);
}

TEST(BoneDataWriter, RefusesWhatWouldNotReadBackAndWritesNothing) {
  std::mt19937 rng(3);
  Skeleton good = RandomSkeleton(rng);
  while (good.boneCount() < 3) good = RandomSkeleton(rng);
  const struct {
    const char* what;
    void (*spoil)(Skeleton&);
    const char* problem;
  } cases[] = {
      {"no anchor", [](Skeleton& s) { s.anchors[2] = BoneAnchor{}; }, "has no anchor volume"},
      {"face index", [](Skeleton& s) { s.anchors[1].faces[0][1] = 99; },
       "has an anchor face outside its vertices"},
      {"two words", [](Skeleton& s) { s.bones[1].name = "Upper Arm"; }, "a bone name must be one word"},
      {"NaN", [](Skeleton& s) { s.bones[2].end.y = std::nanf(""); },
       "has a number that is not finite or too large"},
      {"huge", [](Skeleton& s) { s.anchors[1].boxMax.x = 1e30f; }, "not finite or too large"},
      {"parent", [](Skeleton& s) { s.bones[1].parentId = 1; }, "has no parent listed before it"},
      {"no bones", [](Skeleton& s) { s.bones.clear(); }, "there are no bones"},
  };
  TempDir folder("datwriter");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Skeleton s = good;
    c.spoil(s);
    const Status status = WriteBoneData(s, folder.path("bad.dat"));
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, kBoneDataSaveError);
    EXPECT_NE(status.detail.find(c.problem), std::string::npos) << status.detail;
    EXPECT_EQ(status.detail.rfind("bad.dat: ", 0), 0u);
    EXPECT_FALSE(fs::exists(folder.path("bad.dat")));
  }
  EXPECT_TRUE(WriteBoneData(good, folder.path("good.dat")));
  BoneDataResult back = ParseBoneData(*ReadFileBytes(folder.path("good.dat")), "good.dat");
  EXPECT_TRUE(back.status);
}
}  // namespace
}  // namespace posewright
