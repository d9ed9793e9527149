#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "skeleton/BoneDataReader.h"
#include "support/BoneDataText.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
BoneDataResult Parse(const std::string& text) {
  return ParseBoneData(text, "arm.dat");
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(ReadBoneData, DocumentedExampleGivesRootAndArm) {
  const BoneDataResult r = Parse(kExampleBoneData);
  ASSERT_TRUE(r.status.ok) << r.status.describe();
  const Skeleton& s = r.skeleton;
  EXPECT_TRUE(s.bonesLoaded);
  ASSERT_EQ(s.boneCount(), 2);

  const Bone& root = s.bones[0];
  EXPECT_EQ(root.name, "Root");
  EXPECT_EQ(root.begin, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(root.end, D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(root.restRotation, D3DXQUATERNION());
  EXPECT_EQ(root.restRotationInverse, D3DXQUATERNION());
  EXPECT_EQ(root.parentId, 0);
  EXPECT_EQ(root.symmetricId, 0);
  EXPECT_EQ(s.blendParams[0].R, 1.0f);
  EXPECT_EQ(s.blendParams[0].H, 1.0f);
  EXPECT_EQ(s.anchors[0].faceCount(), 0);

  const Bone& arm = s.bones[1];
  EXPECT_EQ(arm.name, "Arm");
  EXPECT_EQ(arm.parentId, 0);
  EXPECT_EQ(arm.symmetricId, 1);
  EXPECT_EQ(arm.begin, D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(arm.end, D3DXVECTOR3(1, 1, 0));
  const D3DXQUATERNION q(0.0f, 0.7071f, 0.0f, 0.7071f);
  EXPECT_EQ(arm.restRotation, q);
  EXPECT_EQ(arm.orientation, q);
  EXPECT_EQ(arm.poseRotation, D3DXQUATERNION());
  D3DXQUATERNION inverse;
  D3DXQuaternionInverse(&inverse, &q);
  EXPECT_EQ(arm.restRotationInverse, inverse);
  EXPECT_EQ(s.blendParams[1].R, 1.0f);
  EXPECT_EQ(s.blendParams[1].H, 0.35f);

  const BoneAnchor& a = s.anchors[1];
  EXPECT_EQ(a.boxMin, D3DXVECTOR3(-0.1f, 0.6f, -0.4f));
  EXPECT_EQ(a.boxMax, D3DXVECTOR3(1.2f, 1.4f, 0.4f));
  ASSERT_EQ(a.vertexCount(), 4);
  EXPECT_EQ(a.vertices[2], D3DXVECTOR3(-0.1f, 1.4f, 0.0f));
  EXPECT_EQ(a.vertices[3], D3DXVECTOR3(1.2f, 1.0f, 0.0f));
  ASSERT_EQ(a.faceCount(), 4);
  EXPECT_EQ(a.faceNormals[1], D3DXVECTOR3(0.2941f, -0.9558f, 0.0f));
  EXPECT_EQ(a.faceNormals[3], D3DXVECTOR3(0.1363f, 0.443f, -0.8861f));
  EXPECT_EQ(a.faces[0], (std::array<int32_t, 3>{0, 1, 2}));
  EXPECT_EQ(a.faces[2], (std::array<int32_t, 3>{1, 3, 2}));

  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  for (const D3DXMATRIX& m : s.skinMatrices) EXPECT_EQ(m, identity);
}

TEST(ReadBoneData, ReadsTheFileAtPath) {
  const TempDir dir;
  const std::string path = dir.path("read_bone_data_test.dat");
  {
    std::string text = BoneDataWithParents({0, 1, 1, 0});
    const std::size_t at = text.find("Name: B3");
    text.replace(at, 8, "Name: Arm");
    std::ofstream(path, std::ios::binary) << text;
  }
  const BoneDataResult r = ReadBoneData(path);
  std::remove(path.c_str());
  ASSERT_TRUE(r.status.ok) << r.status.describe();
  const Skeleton& s = r.skeleton;
  ASSERT_EQ(s.boneCount(), 5);
  EXPECT_EQ(s.bones[3].name, "Arm");
  EXPECT_EQ(s.bones[3].parentId, 1);
  EXPECT_EQ(s.bones[4].parentId, 0);
  EXPECT_TRUE(s.bonesLoaded);
}

TEST(ReadBoneData, MissingFileIsRefused) {
  const BoneDataResult missing = ReadBoneData("/nonexistent/posewright/none.dat");
  EXPECT_FALSE(missing.status.ok);
  EXPECT_EQ(missing.status.message, "File Format Error");
  EXPECT_NE(missing.status.detail.find("none.dat"), std::string::npos);
}

TEST(ReadBoneData, LenientWhereTheFormatIsLenient) {
  const BoneDataResult rootOnly = Parse("numBones: 1\nroot_point: 1 2 3\nend_point: 1 3 3\n");
  ASSERT_TRUE(rootOnly.status.ok) << rootOnly.status.describe();
  EXPECT_EQ(rootOnly.skeleton.boneCount(), 1);
  EXPECT_EQ(rootOnly.skeleton.bones[0].begin, D3DXVECTOR3(1, 2, 3));

  std::string text = ReplaceLine(kExampleBoneData, 4, "Name: Left Arm\n");
  text = ReplaceLine(text, 7, "bone_begin: 0.5 1.5 2.5 9.0\n");
  text = ReplaceLine(text, 8, "bone_end: 1.0 2.0\n");
  text += "anything after the last face line\nnumBones: 7\n";
  const BoneDataResult r = Parse(text);
  ASSERT_TRUE(r.status.ok) << r.status.describe();
  EXPECT_EQ(r.skeleton.bones[1].name, "Left");
  EXPECT_EQ(r.skeleton.bones[1].begin, D3DXVECTOR3(0.5f, 1.5f, 2.5f));
  EXPECT_EQ(r.skeleton.bones[1].end, D3DXVECTOR3(1.0f, 2.0f, 0.0f));

  // Vertex lines carry no key: an empty one reads as the origin.
  const BoneDataResult blankVertex = Parse(ReplaceLine(kExampleBoneData, 15, "\n"));
  ASSERT_TRUE(blankVertex.status.ok) << blankVertex.status.describe();
  EXPECT_EQ(blankVertex.skeleton.anchors[1].vertices[1], D3DXVECTOR3(0, 0, 0));
}

TEST(ReadBoneData, CrLfReadsLikeLf) {
  const BoneDataResult lf = Parse(kExampleBoneData);
  const BoneDataResult crlf = Parse(Crlf(kExampleBoneData));
  ASSERT_TRUE(crlf.status.ok) << crlf.status.describe();
  EXPECT_EQ(crlf.skeleton.bones[1].name, "Arm");
  EXPECT_EQ(crlf.skeleton.anchors[1].faceNormals, lf.skeleton.anchors[1].faceNormals);
  EXPECT_EQ(crlf.skeleton.anchors[1].faces, lf.skeleton.anchors[1].faces);
  EXPECT_EQ(crlf.skeleton.bones[1].restRotation, lf.skeleton.bones[1].restRotation);
}

struct BadFile {
  const char* what;
  std::string text;
  int line;
  const char* reason;
};

TEST(ReadBoneData, EveryFormatErrorIsRefusedWithLineAndReason) {
  const std::string longLine = "bone_begin: 0.0 1.0 0.0" + std::string(240, ' ') + "5\n";
  const std::vector<BadFile> cases = {
      {"empty file", "", 1, "ends where \"numBones:\""},
      {"count 0", ReplaceLine(kExampleBoneData, 1, "numBones: 0\n"), 1, "outside 1..256"},
      {"negative count", ReplaceLine(kExampleBoneData, 1, "numBones: -3\n"), 1, "outside 1..256"},
      {"count not a number", ReplaceLine(kExampleBoneData, 1, "numBones: two\n"), 1, "outside"},
      {"count above 256", ReplaceLine(kExampleBoneData, 1, "numBones: 257\n"), 1, "outside 1..256"},
      {"key letter case", ReplaceLine(kExampleBoneData, 1, "NumBones: 2\n"), 1, "expected \"numBones:\""},
      {"wrong root key", ReplaceLine(kExampleBoneData, 2, "end_point: 0 0 0\n"), 2,
       "expected \"root_point:\""},
      {"empty keyed line", ReplaceLine(kExampleBoneData, 5, "\n"), 5, "expected \"ID:\""},
      {"parent is the bone itself", ReplaceLine(kExampleBoneData, 6, "ParentID: 1\n"), 6, "parent index 1"},
      {"negative parent", ReplaceLine(kExampleBoneData, 6, "ParentID: -1\n"), 6, "parent index -1"},
      {"three faces", ReplaceLine(kExampleBoneData, 11, "numFaces_anchor: 3\n"), 11, "below 4"},
      {"negative vertex count", ReplaceLine(kExampleBoneData, 10, "numVertices_anchor: -1\n"), 10, "below 0"},
      {"vertex count beyond the file", ReplaceLine(kExampleBoneData, 10, "numVertices_anchor: 2000000000\n"),
       10, "more than the rest of the file"},
      {"face count beyond the file", ReplaceLine(kExampleBoneData, 11, "numFaces_anchor: 1000000\n"), 11,
       "more than the rest of the file"},
      {"face index past the vertices", ReplaceLine(kExampleBoneData, 21, "0.1 0.4 0.8 1 4 2\n"), 21,
       "index 4 is outside 0..3"},
      {"negative face index", ReplaceLine(kExampleBoneData, 22, "0.1 0.4 -0.8 2 3 -1\n"), 22, "index -1"},
      {"file ends in the faces", ReplaceLine(kExampleBoneData, 22, ""), 22, "ends where an anchor face"},
      {"line longer than 255", ReplaceLine(kExampleBoneData, 7, longLine), 7, "longer than 255"},
  };
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.what);
    const BoneDataResult r = Parse(c.text);
    EXPECT_FALSE(r.status.ok);
    EXPECT_EQ(r.status.message, "File Format Error");
    EXPECT_NE(r.status.detail.find("arm.dat, line " + std::to_string(c.line) + ":"), std::string::npos)
        << r.status.detail;
    EXPECT_NE(r.status.detail.find(c.reason), std::string::npos) << r.status.detail;
    EXPECT_FALSE(r.skeleton.bonesLoaded);
    EXPECT_EQ(r.skeleton.boneCount(), 0);
  }
}

TEST(ReadBoneData, ParentMustBeListedEarlierInLongerFiles) {
  EXPECT_TRUE(Parse(BoneDataWithParents({0, 1, 2, 1})).status.ok);
  const BoneDataResult forward = Parse(BoneDataWithParents({0, 3, 1}));
  EXPECT_FALSE(forward.status.ok);
  EXPECT_NE(forward.status.detail.find("before bone 2"), std::string::npos) << forward.status.detail;
}
}  // namespace
}  // namespace posewright
