#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "SkmTestModel.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace posewright {

namespace {
std::string Format(const SkinnedModel& m) {
  std::string text;
  EXPECT_TRUE(FormatSkinnedMesh(m, text));
  return text;
}

Status Parse(std::string_view text, SkinnedModel& out, const TextureLoader& loader = {}) {
  return ParseSkinnedMesh(text, "test.skm", "/models", loader, out);
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

TEST(ReadSkinnedMesh, RestoresTheBoundModel) {
  const SkinnedModel original = SmallBoundModel();
  SkinnedModel m;
  ASSERT_TRUE(Parse(Format(original), m));
  ASSERT_EQ(m.skinnedMesh.vertices.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const SkinVertex& a = original.skinnedMesh.vertices[i];
    const SkinVertex& b = m.skinnedMesh.vertices[i];
    // Equal to six decimals: 0.0078125 is stored as 0.007812.
    EXPECT_NEAR(b.position.z, a.position.z, 6e-7);
    EXPECT_EQ(b.position.x, a.position.x);
    EXPECT_EQ(b.boneIndices, a.boneIndices) << "vertex " << i;
    EXPECT_EQ(b.normal, a.normal);
    EXPECT_EQ(b.u, a.u);
    EXPECT_EQ(b.v, a.v);
    EXPECT_EQ(b.pointSize, 10.0f);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(b.blendWeights[k], a.blendWeights[k]);
  }
  EXPECT_EQ(m.skinnedMesh.vertices[1].boneIndex(3), 200);
  EXPECT_EQ(m.skinnedMesh.indices, original.skinnedMesh.indices);
  EXPECT_EQ(m.skinnedMesh.faceAttributes, original.skinnedMesh.faceAttributes);
  EXPECT_EQ(m.adjacency, original.adjacency);
  EXPECT_EQ(m.attributeTable, original.attributeTable);
  EXPECT_EQ(m.pointVertices.size(), 4u);
  EXPECT_EQ(m.pointVertices[1].boneIndices, 0xC8000201u);

  // Both material copies hold ambient 0.5 with the alpha kept.
  ASSERT_EQ(m.materialList.size(), 2u);
  EXPECT_EQ(m.materialList[0].MatD3D.Ambient, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f}));
  EXPECT_EQ(m.materials[1].Ambient, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.75f}));
  EXPECT_EQ(m.materialList[0].MatD3D.Diffuse, original.materialList[0].MatD3D.Diffuse);
  EXPECT_EQ(m.materialList[0].MatD3D.Power, 8.0f);
  EXPECT_EQ(m.materialList[0].textureFilename, "tex/skin.png");
  EXPECT_EQ(m.materialList[1].textureFilename, "");

  const Skeleton& s = m.skeleton;
  ASSERT_EQ(s.boneCount(), 3);
  EXPECT_TRUE(s.bonesLoaded);
  EXPECT_TRUE(m.meshLoaded);
  EXPECT_EQ(s.bones[1].name, "Left");  // only the first word is stored
  EXPECT_EQ(s.bones[2].parentId, 1);
  EXPECT_EQ(s.bones[1].symmetricId, 2);
  EXPECT_EQ(s.bones[2].end, (D3DXVECTOR3{1.5f, 1, 0}));
  EXPECT_EQ(s.bones[2].restRotation, (D3DXQUATERNION{0, 0.707107f, 0, 0.707107f}));
  EXPECT_EQ(s.bones[2].orientation, s.bones[2].restRotation);
  EXPECT_EQ(s.bones[2].poseRotation, D3DXQUATERNION());
  D3DXQUATERNION inverse;
  D3DXQuaternionInverse(&inverse, &s.bones[2].restRotation);
  EXPECT_EQ(s.bones[2].restRotationInverse, inverse);
  ASSERT_EQ(s.blendParams.size(), 3u);
  for (const BlendingParams& p : s.blendParams) {
    EXPECT_EQ(p.R, 1.0f);
    EXPECT_EQ(p.H, 0.35f);
  }
  EXPECT_EQ(s.anchors.size(), 3u);
  EXPECT_EQ(s.anchors[1].faceCount(), 0);
  EXPECT_EQ(m.selection.unselectedCount, 4u);
  EXPECT_EQ(m.selection.selectedCount(), 0u);
}

TEST(ReadSkinnedMesh, WriteReadWriteIsStableAfterAmbientNormalises) {
  const std::string first = Format(SmallBoundModel());
  SkinnedModel once;
  ASSERT_TRUE(Parse(first, once));
  const std::string second = Format(once);
  // Only the file's ambient 0.2 changed to 0.5.
  std::vector<std::string> expected = SplitCrLf(first);
  EXPECT_EQ(expected[14], "0.200000\t0.200000\t0.200000\t1.000000");
  expected[14] = "0.500000\t0.500000\t0.500000\t1.000000";
  EXPECT_EQ(SplitCrLf(second), expected);
  SkinnedModel twice;
  ASSERT_TRUE(Parse(second, twice));
  EXPECT_EQ(Format(twice), second);
}

TEST(ReadSkinnedMesh, ArbitraryFloatsAreStableAfterTheFirstWrite) {
  SkinnedModel m = SmallBoundModel();
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  std::uniform_int_distribution<int> exponent(-30, 40);
  auto any = [&] { return std::ldexp(unit(random), exponent(random)); };
  m.skinnedMesh.vertices.resize(4000);
  for (SkinVertex& v : m.skinnedMesh.vertices) {
    v.position = {any(), any(), any()};
    v.blendWeights[0] = unit(random);
    v.blendWeights[1] = any();
    v.normal = {unit(random), any(), 0.0078125f};
    v.u = any();
    v.boneIndices = static_cast<uint32_t>(random());
  }
  const std::string first = Format(m);
  SkinnedModel read;
  ASSERT_TRUE(Parse(first, read));
  // Every value reads back as the float nearest to the printed decimal.
  for (std::size_t i = 0; i < m.skinnedMesh.vertices.size(); ++i) {
    const float x = m.skinnedMesh.vertices[i].position.x;
    char printed[80];
    std::snprintf(printed, sizeof printed, "%.6f", static_cast<double>(x));
    ASSERT_EQ(read.skinnedMesh.vertices[i].position.x, std::strtof(printed, nullptr)) << printed;
    ASSERT_EQ(read.skinnedMesh.vertices[i].boneIndices, m.skinnedMesh.vertices[i].boneIndices);
  }
  // The mesh sections do not depend on the ambient colour: identical at once.
  const std::string second = Format(read);
  const std::size_t meshEnd = first.find("Materials:");
  EXPECT_EQ(second.substr(0, meshEnd), first.substr(0, meshEnd));
  SkinnedModel again;
  ASSERT_TRUE(Parse(second, again));
  EXPECT_EQ(Format(again), second);
}

TEST(ReadSkinnedMesh, LfAndLooseNumbersReadAsTheOriginalDid) {
  std::string text = Format(SmallBoundModel());
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  SkinnedModel fromLf;
  ASSERT_TRUE(Parse(lf, fromLf));
  SkinnedModel fromCrLf;
  ASSERT_TRUE(Parse(text, fromCrLf));
  EXPECT_EQ(Format(fromLf), Format(fromCrLf));

  // Numbers come from the leading numeric part; other text and missing fields read as 0.
  std::vector<std::string> lines = SplitCrLf(text);
  lines[1] = "0 1.5abc x 2 ";     // position 1.5, 0, 2; everything after is missing
  lines[2] = "1 0 0 0 0 0 0 -1";  // index word -1 is 0xFFFFFFFF
  SkinnedModel loose;
  ASSERT_TRUE(Parse(JoinCrLf(lines), loose));
  EXPECT_EQ(loose.skinnedMesh.vertices[0].position, (D3DXVECTOR3{1.5f, 0, 2}));
  EXPECT_EQ(loose.skinnedMesh.vertices[0].boneIndices, 0u);
  EXPECT_EQ(loose.skinnedMesh.vertices[1].boneIndices, 0xFFFFFFFFu);
}

TEST(ReadSkinnedMesh, AnImageNamedByManyMaterialsIsLoadedOnceAndShared) {
  std::vector<std::string> lines = SplitCrLf(Format(SmallBoundModel()));
  ASSERT_EQ(lines[18], "tex/skin.png");
  lines[25] = "tex/skin.png";  // the second material names the same file
  int loads = 0;
  const TextureLoader loader = [&](const std::string&, std::string*) -> SharedTexture {
    ++loads;
    return std::make_shared<const TextureImage>(TextureImage{1, 1, {1, 2, 3, 4}});
  };
  SkinnedModel m;
  ASSERT_TRUE(Parse(JoinCrLf(lines), m, loader));
  EXPECT_EQ(loads, 1);
  ASSERT_NE(m.textures[0], nullptr);
  EXPECT_EQ(m.textures[1], m.textures[0]);
}

TEST(ReadSkinnedMesh, TextureNamesResolveBesideTheFileAndStayAsWritten) {
  std::vector<std::string> lines = SplitCrLf(Format(SmallBoundModel()));
  ASSERT_EQ(lines[18], "tex/skin.png");
  lines[18] = "tex\\skin.png  ";  // trailing spaces are part of the name
  lines[25] = "missing.png";
  std::vector<std::string> asked;
  const TextureLoader loader = [&](const std::string& path, std::string*) -> SharedTexture {
    asked.push_back(path);
    if (path.find("missing") != std::string::npos) return nullptr;
    return std::make_shared<const TextureImage>(TextureImage{1, 1, {1, 2, 3, 4}});
  };
  SkinnedModel m;
  ASSERT_TRUE(Parse(JoinCrLf(lines), m, loader));
  EXPECT_EQ(asked, (std::vector<std::string>{"/models/tex/skin.png  ", "/models/missing.png"}));
  EXPECT_NE(m.textures[0], nullptr);
  EXPECT_EQ(m.textures[1], nullptr);
  EXPECT_EQ(m.materialList[0].textureFilename, "tex\\skin.png  ");
  EXPECT_EQ(m.textureNames[0], "tex\\skin.png  ");
  // A name whose image did not decode is still written back.
  EXPECT_EQ(m.materialList[1].textureFilename, "missing.png");
  const std::vector<std::string> written = SplitCrLf(Format(m));
  EXPECT_EQ(written[18], "tex\\skin.png  ");
  EXPECT_EQ(written[25], "missing.png");
}

TEST(ReadSkinnedMesh, EveryEarlyEndIsRefused) {
  const std::vector<std::string> lines = SplitCrLf(Format(SmallBoundModel()));
  for (std::size_t keep = 0; keep < lines.size(); ++keep) {
    const std::vector<std::string> part(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(keep));
    SkinnedModel m;
    EXPECT_FALSE(Parse(JoinCrLf(part), m)) << keep << " lines";
  }
}

TEST(ReadSkinnedMesh, BadContentIsRefusedWithItsLine) {
  const std::vector<std::string> good = SplitCrLf(Format(SmallBoundModel()));
  // line index -> replacement, and the line number the detail must name
  const struct {
    std::size_t index;
    std::string text;
    const char* why;
  } cases[] = {
      {0, "vertices: 4", "key is case-sensitive"},
      {0, "Vertices: 0", "no vertices"},
      {0, "Vertices: -4", "negative count"},
      {0, "Vertices: 70000", "beyond 16-bit vertex numbers"},
      {0, "Vertices: 2000000000", "count beyond the file"},
      {1, std::string(300, '1'), "overlong line"},
      {2, "1 1e39 0 0 0 0 0 0 0 0 0 0 0", "position beyond the float range"},
      {33, "0 0 0 -1e40", "rotation beyond the float range"},
      {6, "0\t1\t4", "face corner not below the vertex count"},
      {6, "0\t-1\t2", "negative face corner"},
      {5, "Indices: 2", "no faces"},
      {9, "4294967295\t2\t4294967295", "neighbour beyond the faces"},
      {11, "Materials: 9", "materials beyond the file"},
      {27, "2\t0\t1\t0\t3", "attribute names a missing material"},
      {27, "0\t1\t2\t0\t3", "face range beyond the faces"},
      {27, "0\t0\t1\t2\t3", "vertex range beyond the vertices"},
      {27, "0\t-1\t1\t0\t3", "negative face start"},
      {29, "Bone: 0", "no bones"},
      {31, "0\t1\t0", "root with a parent"},
      {35, "1\t1\t2", "bone is its own parent"},
      {39, "2\t5\t1", "parent after the child"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = good;
    lines[c.index] = c.text;
    SkinnedModel m;
    const Status s = Parse(JoinCrLf(lines), m);
    EXPECT_FALSE(s) << c.why;
    EXPECT_EQ(s.message, "File Format Error") << c.why;
    EXPECT_NE(s.detail.find("test.skm, line " + std::to_string(c.index + 1) + ":"), std::string::npos)
        << c.why << ": " << s.detail;
  }
}

TEST(ReadSkinnedMesh, FailureLeavesTheModelUntouched) {
  const TempDir temp("skm_read");
  const std::filesystem::path& dir = temp.path();
  const std::string good = (dir / "good.skm").string();
  const std::string bad = (dir / "bad.skm").string();
  ASSERT_TRUE(WriteSkinnedMesh(SmallBoundModel(), good));
  std::vector<std::string> lines = SplitCrLf(*ReadFileBytes(good));
  lines[39] = "2\t2\t1";
  ASSERT_TRUE(WriteFileAtomically(bad, JoinCrLf(lines)));

  SkinnedModel model = SmallBoundModel();
  model.selection.selected[2] = 1;
  RebuildPointList(model.selection);
  const std::string before = Format(model);
  EXPECT_FALSE(ReadSkinnedMesh(model, bad));
  EXPECT_FALSE(ReadSkinnedMesh(model, (dir / "absent.skm").string()));
  EXPECT_EQ(Format(model), before);
  EXPECT_EQ(model.selection.selectedCount(), 1u);

  ASSERT_TRUE(ReadSkinnedMesh(model, good));
  EXPECT_EQ(model.selection.selectedCount(), 0u);
  EXPECT_EQ(model.meshFolder, dir.string());
  ASSERT_EQ(model.skeleton.boneCount(), 3);
  EXPECT_EQ(model.skeleton.bones[2].name, "Hand");
  EXPECT_EQ(model.skeleton.bones[2].parentId, 1);
}

TEST(ReadSkinnedMesh, BoneCountLimit) {
  SkinnedModel m = SmallBoundModel();
  m.skeleton.bones.resize(256, m.skeleton.bones[1]);
  SkinnedModel read;
  EXPECT_TRUE(Parse(Format(m), read));
  m.skeleton.bones.push_back(m.skeleton.bones[1]);
  SkinnedModel refused;
  const Status s = Parse(Format(m), refused);
  EXPECT_FALSE(s);
  EXPECT_NE(s.detail.find("1 to 256"), std::string::npos) << s.detail;
}

TEST(ReadSkinnedMesh, SixteenBitLimit) {
  SkinnedModel m = SmallBoundModel();
  m.skinnedMesh.vertices.resize(65535, m.skinnedMesh.vertices[0]);
  m.skinnedMesh.indices.back() = 65534;
  m.attributeTable[1].VertexCount = 65534;
  SkinnedModel read;
  ASSERT_TRUE(Parse(Format(m), read));
  EXPECT_EQ(read.selection.pointList.size(), 65535u);
  EXPECT_EQ(read.skinnedMesh.indices.back(), 65534);

  m.skinnedMesh.vertices.push_back(m.skinnedMesh.vertices[0]);
  std::string text;
  EXPECT_FALSE(FormatSkinnedMesh(m, text));
}
}  // namespace

namespace {
TEST(ReadSkinnedMesh, DecodesTexturesBesideTheFileByDefault) {
  const TempDir temp("skm_tex");
  const std::filesystem::path& dir = temp.path();
  std::filesystem::create_directories(dir / "tex");
  std::filesystem::copy_file(std::filesystem::path(SharedTestDataDir()) / "x" / "test.png",
                             dir / "tex" / "skin.png", std::filesystem::copy_options::overwrite_existing);
  const std::string path = (dir / "model.skm").string();
  ASSERT_TRUE(WriteSkinnedMesh(SmallBoundModel(), path));
  SkinnedModel m;
  ASSERT_TRUE(ReadSkinnedMesh(m, path));
  ASSERT_NE(m.textures[0], nullptr);
  EXPECT_GT(m.textures[0]->width, 0);
  EXPECT_EQ(m.textures[1], nullptr);
}
}  // namespace
}  // namespace posewright
