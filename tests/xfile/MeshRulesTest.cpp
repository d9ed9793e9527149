// The rules by which the meshes of a .x file become the editor's one mesh,
// each shown on a small hand-made text file.
#include <gtest/gtest.h>

#include <cmath>

#include "image/PngWriter.h"
#include "model/MeshLoader.h"
#include "support/MathMatchers.h"
#include "xfile/XFileMeshBuilder.h"
#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
std::vector<uint16_t> Faces(const SourceMesh& m) {
  return m.indices;
}

Status Load(SkinnedModel& model, const TempDir& dir, const std::string& body) {
  return LoadMesh(model, dir.write("mesh.x", TextX(body)));
}

TEST(MeshRules, PolygonsBecomeFans) {
  TempDir dir;
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Mesh {
  5;
  0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, -1;0;0;;
  2;
  4;0,1,2,3;,
  5;4,0,1,2,3;;
})");
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(Faces(model.sourceMesh), (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 0, 1, 4, 1, 2, 4, 2, 3}));
}

// Normals: N0 = (0,0,1), N1 = (0,1,0), N2 = (1,0,0), N3 = (0,0,1) (N0's value).
// Face 0 gives vertices 0, 1, 2 the normal N0. Face 1 gives vertex 2 N1 (a
// first copy, vertex 4), vertex 3 its first normal N1, and vertex 0 N3, equal
// in value to its N0 (no copy). Face 2 gives vertex 0 N2 (copy 5), vertex 2 N1
// again (copy 4 reused) and vertex 1 N2 (copy 6).
TEST(MeshRules, NormalSplitsAppendCopiesInFirstEncounterOrder) {
  TempDir dir;
  SkinnedModel model;
  const std::string file = dir.write("split.x", TextX(R"(
Mesh {
  4;
  0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;
  3;
  3;0,1,2;, 3;2,3,0;, 3;0,2,1;;
  MeshNormals {
    4;
    0;0;1;, 0;1;0;, 1;0;0;, 0;0;1;;
    3;
    3;0,0,0;, 3;1,1,3;, 3;2,1,2;;
  }
  MeshTextureCoords {
    4;
    0.0;0.5;, 0.1;0.5;, 0.2;0.5;, 0.3;0.5;;
  }
})"));
  XFileDocument doc;
  ASSERT_TRUE(ReadXFile(file, doc).ok);
  XBuiltMesh built;
  ASSERT_TRUE(BuildMeshFromXFile(doc, "split.x", built).ok);
  const std::vector<MeshVertex>& v = built.mesh.vertices;
  ASSERT_EQ(v.size(), 7u);
  EXPECT_EQ(built.mesh.indices, (std::vector<uint16_t>{0, 1, 2, 4, 3, 0, 5, 4, 6}));
  const D3DXVECTOR3 n0(0, 0, 1), n1(0, 1, 0), n2(1, 0, 0);
  const D3DXVECTOR3 expectedNormals[] = {n0, n0, n0, n1, n1, n2, n2};
  const uint32_t copied[] = {0, 1, 2, 3, 2, 0, 1};
  for (std::size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(v[i].normal, expectedNormals[i]);
    EXPECT_EQ(v[i].position, doc.meshes[0].positions[copied[i]]);
    EXPECT_FLOAT_EQ(v[i].u, 0.1f * static_cast<float>(copied[i]));
    EXPECT_EQ(built.origins[i].vertex, copied[i]);
  }
}

TEST(MeshRules, VertexWithManyNormalsGetsOneCopyPerDistinctNormal) {
  TempDir dir;
  SkinnedModel model;
  // Vertex 0 meets normals 0, 1, 2, 1, 3, 2 in turn: copies for 1, 2, 3.
  const Status s = Load(model, dir, R"(
Mesh {
  3; 0;0;0;, 1;0;0;, 0;1;0;;
  6; 3;0,1,2;, 3;0,1,2;, 3;0,1,2;, 3;0,1,2;, 3;0,1,2;, 3;0,1,2;;
  MeshNormals { 4; 1;0;0;, 0;1;0;, 0;0;1;, -1;0;0;;
    6; 3;0,0,0;, 3;1,0,0;, 3;2,0,0;, 3;1,0,0;, 3;3,0,0;, 3;2,0,0;; }
})");
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(model.sourceMesh.vertices.size(), 6u);
  std::vector<uint16_t> first;
  for (std::size_t f = 0; f < 6; ++f) first.push_back(model.sourceMesh.indices[3 * f]);
  EXPECT_EQ(first, (std::vector<uint16_t>{0, 3, 4, 3, 5, 4}));
  EXPECT_EQ(model.sourceMesh.vertices[5].normal, D3DXVECTOR3(-1, 0, 0));
}

// Frame A translates by (10, 0, 0); frame B inside it turns 90° about z. Mesh
// m1 sits in B, m3 in A, m2 at the top level after A. Frames apply innermost
// first: (1, 0, 0) in B becomes (0, 1, 0), then (10, 1, 0).
TEST(MeshRules, MeshesMergeUnderTheirFrameTransformsWithMaterialOffsets) {
  TempDir dir;
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Frame A {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
  Frame B {
    FrameTransformMatrix { 0,1,0,0, -1,0,0,0, 0,0,1,0, 0,0,0,1;; }
    Mesh m1 {
      3; 1;0;0;, 0;1;0;, 0;0;1;;
      1; 3;0,1,2;;
      MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; }
      MeshMaterialList { 1; 1; 0;; Material red { 1;0;0;1;; 5; 0;0;0;; 0;0;0;; } }
    }
  }
  Mesh m3 {
    3; 0;0;0;, 1;0;0;, 0;1;0;;
    2; 3;0,1,2;, 3;0,2,1;;
    MeshMaterialList { 2; 2; 1, 0;;
      Material { 0;1;0;1;; 1; 0;0;0;; 0;0;0;; }
      Material { 0;0;1;1;; 2; 0;0;0;; 0;0;0;; }
    }
  }
}
Mesh m2 {
  3; 5;5;5;, 6;5;5;, 5;6;5;;
  1; 3;0,1,2;;
})");
  ASSERT_TRUE(s.ok) << s.describe();
  const std::vector<MeshVertex>& v = model.sourceMesh.vertices;
  ASSERT_EQ(v.size(), 9u);
  ExpectNear(v[0].position, D3DXVECTOR3(10, 1, 0));
  ExpectNear(v[1].position, D3DXVECTOR3(9, 0, 0));
  ExpectNear(v[0].normal, D3DXVECTOR3(0, 1, 0));
  ExpectNear(v[4].position, D3DXVECTOR3(11, 0, 0));  // m3 only translated
  ExpectNear(v[6].position, D3DXVECTOR3(5, 5, 5));   // m2 untouched
  ASSERT_EQ(model.materialCount(), 4u);
  EXPECT_EQ(model.materialList[0].MatD3D.Diffuse, (D3DCOLORVALUE{1, 0, 0, 1}));
  EXPECT_EQ(model.materialList[1].MatD3D.Diffuse, (D3DCOLORVALUE{0, 1, 0, 1}));
  EXPECT_EQ(model.materialList[2].MatD3D.Diffuse, (D3DCOLORVALUE{0, 0, 1, 1}));
  EXPECT_EQ(model.materialList[3].MatD3D.Diffuse, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1}));  // m2's default
  // Faces in file order had materials 0 (m1), 2, 1 (m3), 3 (m2); sorted stably:
  EXPECT_EQ(model.sourceMesh.faceAttributes, (std::vector<uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(Faces(model.sourceMesh), (std::vector<uint16_t>{0, 1, 2, 3, 5, 4, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(model.attributeTable, (std::vector<D3DXATTRIBUTERANGE>{
                                      {0, 0, 1, 0, 3}, {1, 1, 1, 3, 3}, {2, 2, 1, 3, 3}, {3, 3, 1, 6, 3}}));
}

TEST(MeshRules, ShortMaterialListRepeatsItsLastIndexAndSortIsStable) {
  TempDir dir;
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Mesh {
  8; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;, 2;0;0;, 2;1;0;, 3;0;0;, 3;1;0;;
  5; 3;0,1,2;, 3;4,5,6;, 3;2,1,3;, 3;6,5,7;, 3;5,4,3;;
  MeshMaterialList { 2; 3; 1, 0, 1;
    Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }
    Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }
  }
})");
  ASSERT_TRUE(s.ok) << s.describe();
  // File order attributes 1, 0, 1, 1, 1 (the last listed index repeated).
  EXPECT_EQ(model.sourceMesh.faceAttributes, (std::vector<uint32_t>{0, 1, 1, 1, 1}));
  EXPECT_EQ(Faces(model.sourceMesh), (std::vector<uint16_t>{4, 5, 6, 0, 1, 2, 2, 1, 3, 6, 5, 7, 5, 4, 3}));
  // Range 1 uses vertices 0 … 7 (lowest 0, highest 7); range 0 vertices 4 … 6.
  EXPECT_EQ(model.attributeTable, (std::vector<D3DXATTRIBUTERANGE>{{0, 0, 1, 4, 3}, {1, 1, 4, 0, 8}}));
}

TEST(MeshRules, MaterialsKeepAmbientBlackWhileDrawingCopiesGetHalfGrey) {
  TempDir dir;
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Mesh {
  3; 0;0;0;, 1;0;0;, 0;1;0;;
  1; 3;0,1,2;;
  MeshMaterialList { 2; 1; 1;;
    Material { 0.2;0.3;0.4;0.9;; 7.5; 0.1;0.2;0.3;; 0.4;0.5;0.6;; TextureFileName { "sub\\nothere.png"; } }
    Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }
  }
})");
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(model.materialCount(), 2u);
  const D3DMATERIAL8& loaded = model.materialList[0].MatD3D;
  EXPECT_EQ(loaded.Diffuse, (D3DCOLORVALUE{0.2f, 0.3f, 0.4f, 0.9f}));
  EXPECT_EQ(loaded.Ambient, (D3DCOLORVALUE{0, 0, 0, 1}));
  EXPECT_EQ(loaded.Specular, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 1}));
  EXPECT_EQ(loaded.Emissive, (D3DCOLORVALUE{0.4f, 0.5f, 0.6f, 1}));
  EXPECT_EQ(loaded.Power, 7.5f);
  D3DMATERIAL8 copy = loaded;
  copy.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
  EXPECT_EQ(model.materials[0], copy);
  // The missing texture leaves an empty slot; its name stays as written.
  EXPECT_EQ(model.materialList[0].textureFilename, "sub\\\\nothere.png");
  EXPECT_EQ(model.textureNames, (std::vector<std::string>{"sub\\\\nothere.png", ""}));
  EXPECT_EQ(model.textures.size(), 2u);
  EXPECT_EQ(model.textures[0], nullptr);
  EXPECT_EQ(model.textures[1], nullptr);
  // Only material 1 has faces.
  EXPECT_EQ(model.attributeTable, (std::vector<D3DXATTRIBUTERANGE>{{1, 0, 1, 0, 3}}));
}

TEST(MeshRules, MeshWithoutMaterialsGetsOneDefaultGreyMaterial) {
  TempDir dir;
  SkinnedModel model;
  ASSERT_TRUE(Load(model, dir, "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }").ok);
  ASSERT_EQ(model.materialCount(), 1u);
  EXPECT_EQ(model.materialList[0].MatD3D, DefaultXMaterial().MatD3D);
  EXPECT_EQ(model.materials[0].Ambient, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1}));
  EXPECT_EQ(model.materials[0].Diffuse, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1}));
  EXPECT_TRUE(model.materialList[0].textureFilename.empty());
}

// Faces 0 and 1 share an edge through separate vertices at equal positions
// (0/4 and 1/3). Face 2 runs that edge the same way as face 0, so it pairs
// with face 1, not face 0; faces 1 and 3 both run it opposite to face 0, and
// the lower-numbered one, 1, is chosen. Faces 2 and 3 also share two edges
// towards (5, 5, 5).
TEST(MeshRules, AdjacencyJoinsOppositeEdgesByPosition) {
  TempDir dir;
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Mesh {
  7; 0;0;0;, 1;0;0;, 0;1;0;, 1;0;0;, 0;0;0;, 0;-1;0;, 5;5;5;;
  4; 3;0,1,2;, 3;3,4,5;, 3;4,3,6;, 3;1,0,6;;
})");
  ASSERT_TRUE(s.ok) << s.describe();
  const uint32_t none = 0xFFFFFFFFu;
  EXPECT_EQ(model.adjacency, (std::vector<uint32_t>{1, none, none,  //
                                                    0, none, none,  //
                                                    1, 3, 3,        //
                                                    0, 2, 2}));
}

TEST(MeshRules, SeparatorsCommentsCaseAndUnknownObjectsAreTolerated) {
  TempDir dir;
  SkinnedModel model;
  const std::string body =
      "template Mesh {\r\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\r\n DWORD nVertices;\r\n [...]\r\n}\r\n"
      "# a comment with { braces\r\n"
      "// another } one\r\n"
      "Header { 1; 0; 1; }\r\n"
      "Unknown thing <01234567-89ab-cdef-0123-456789abcdef> { \"}{\"; Nested { 1; } }\r\n"
      "material 1st { 1;0;0;1;; 3; 0;0;0;; 0;0;0;; textureFILENAME { \"a.png\"; } }\r\n"
      "FRAME f {\r\n"
      " mesh mm {\r\n"
      "  3\r\n"
      "  0 0 0, 1 0 0, 0 1 0\r\n"
      "  1\r\n"
      "  3 0 1 2;;,\r\n"
      "  meshmateriallist { 1;; 1;; 0;;; { 1st <00000000-0000-0000-0000-000000000000> } }\r\n"
      " }\r\n"
      "}\r\n";
  const Status s = Load(model, dir, body);
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(model.sourceMesh.vertices.size(), 3u);
  ASSERT_EQ(model.materialCount(), 1u);
  EXPECT_EQ(model.materialList[0].textureFilename, "a.png");
  EXPECT_EQ(model.materialList[0].MatD3D.Power, 3.0f);
}

TEST(MeshRules, FailedLoadLeavesTheModelAsItWas) {
  TempDir dir;
  SkinnedModel model;
  ASSERT_TRUE(Load(model, dir, "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }").ok);
  model.skinnedMesh.vertices.resize(2);
  model.selection.reset(2);
  const SourceMesh before = model.sourceMesh;
  const Status s = Load(model, dir, "Mesh { 4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;; 1; 3;0,1,9;; }");
  ExpectRefused(s, "mesh.x, line 2:", "vertex index 9 is out of range");
  EXPECT_EQ(model.sourceMesh.vertices.size(), before.vertices.size());
  EXPECT_EQ(model.sourceMesh.indices, before.indices);
  EXPECT_EQ(model.materialCount(), 1u);
  EXPECT_EQ(model.attributeTable.size(), 1u);
  EXPECT_EQ(model.skinnedMesh.vertices.size(), 2u);
  EXPECT_EQ(model.selection.vertexCount(), 2u);
  EXPECT_TRUE(model.meshLoaded);
}

TEST(MeshRules, NewMeshReleasesThePreviousBinding) {
  TempDir dir;
  SkinnedModel model;
  model.skinnedMesh.vertices.resize(5);
  model.pointVertices.resize(5);
  model.selection.reset(5);
  ASSERT_TRUE(Load(model, dir, "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }").ok);
  EXPECT_TRUE(model.skinnedMesh.vertices.empty());
  EXPECT_TRUE(model.pointVertices.empty());
  EXPECT_EQ(model.selection.vertexCount(), 0u);
  EXPECT_EQ(model.selection.unselectedCount, 0u);
}

TEST(MeshRules, SixteenBitLimitsAreEnforcedAfterSplitsAndFans) {
  TempDir dir;
  SkinnedModel model;
  // 65,535 vertices, two faces that give vertices 0, 1, 2 a second normal.
  std::string body = "Mesh {\n65535;\n";
  for (int i = 0; i < 65535; ++i) body += "0;0;0;,\n";
  body += "2; 3;0,1,2;, 3;0,2,1;;\nMeshNormals { 2; 0;0;1;, 0;1;0;; 2; 3;0,0,0;, 3;1,1,1;; }\n}\n";
  ExpectRefused(Load(model, dir, body), "65538 vertices", "at most 65,535");

  // One polygon of 65,538 corners makes 65,536 triangles.
  body = "Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n1; 65538;";
  for (int i = 0; i < 65538; ++i) body += i % 3 == 0 ? "0," : "1,";
  body += ";\n}\n";
  ExpectRefused(Load(model, dir, body), "line 4", "more than 65,535 triangles");
  EXPECT_FALSE(model.meshLoaded);
}
}  // namespace

TEST(MeshRules, MaterialsNamingOneImageShareOneDecodedCopy) {
  TempDir dir;
  dir.write("skin.png", EncodePng(2, 1, {255, 0, 0, 255, 0, 0, 255, 255}));
  SkinnedModel model;
  const Status s = Load(model, dir, R"(
Mesh {
  3; 0;0;0;, 1;0;0;, 0;1;0;;
  1; 3;0,1,2;;
  MeshMaterialList { 3; 1; 0;;
    Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { "skin.png"; } }
    Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { "skin.png"; } }
    Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { "skin.png"; } }
  }
})");
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(model.textures.size(), 3u);
  ASSERT_NE(model.textures[0], nullptr);
  EXPECT_EQ(model.textures[0]->width, 2);
  EXPECT_EQ(model.textures[1], model.textures[0]);
  EXPECT_EQ(model.textures[2], model.textures[0]);
}
}  // namespace posewright
