// One model written in every encoding (text, binary with 32- and 64-bit
// floats, compressed text and binary over many small blocks) must read the same.
#include <gtest/gtest.h>

#include "model/MeshLoader.h"
#include "xfile/XBinaryBuilder.h"
#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
const char* kText = R"(
template Unused { <01234567-89ab-cdef-0123-456789abcdef> DWORD x; }
Material Red { 1;0;0;1;; 10; 0.5;0.5;0.5;; 0;0;0;; TextureFilename { "red.bmp"; } }
Frame Root {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,2,0,1;; }
  Mesh Body {
    4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;
    2; 4;0,1,2,3;, 3;0,2,1;;
    MeshNormals { 2; 0;0;1;, 0;0;-1;; 2; 4;0,0,0,0;, 3;1,1,1;; }
    MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; }
    MeshMaterialList { 2; 2; 1, 0;; { Red } Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } }
    XSkinMeshHeader { 2; 6; 2; }
    SkinWeights { "Arm"; 2; 0, 1; 0.25, 1.0; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
    SkinWeights { "Hand"; 1; 0; 0.75; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  }
}
AnimTicksPerSecond { 4800; }
AnimationSet Walk { Animation { AnimationKey { 4; 1; 0; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;; } { Root } } }
)";

std::string Binary(int floatBits) {
  XBinaryBuilder b(floatBits);
  const auto identity = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0};
  b.token(kXTokenTemplate).name("Unused").open().guid();
  b.token(kXTokenDword).name("x").token(kXTokenSemicolon).close();
  b.object("Material", "Red").floats({1, 0, 0, 1, 10, 0.5, 0.5, 0.5, 0, 0, 0});
  b.object("TextureFilename").str("red.bmp").close().close();
  b.object("Frame", "Root");
  b.object("FrameTransformMatrix").floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1}).close();
  b.object("Mesh", "Body").ints({4}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
  b.ints({2, 4, 0, 1, 2, 3, 3, 0, 2, 1});  // the face count and all faces in one list
  b.object("MeshNormals")
      .ints({2})
      .floats({0, 0, 1, 0, 0, -1})
      .ints({2, 4, 0, 0, 0, 0})
      .ints({3, 1, 1, 1})
      .close();
  b.object("MeshTextureCoords").integer(4).floats({0, 0, 1, 0}).floats({1, 1, 0, 1}).close();
  b.object("MeshMaterialList").ints({2, 2, 1, 0}).open().name("Red").close();
  b.object("Material").floats({0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}).close().close();
  b.object("XSkinMeshHeader").ints({2, 6, 2}).close();
  b.object("SkinWeights").str("Arm").ints({2, 0, 1}).floats({0.25, 1.0}).floats(identity).close();
  b.object("SkinWeights").str("Hand").ints({1, 0}).floats({0.75}).floats(identity).close();
  b.close().close();
  b.object("AnimTicksPerSecond").ints({4800}).close();
  b.object("AnimationSet", "Walk").object("Animation").object("AnimationKey").ints({4, 1, 0, 16});
  b.floats(identity).close().open().name("Root").close().close().close();
  return b.bytes();
}

void ExpectSameDocument(const XFileDocument& a, const XFileDocument& b) {
  ASSERT_EQ(a.frames.size(), b.frames.size());
  for (std::size_t i = 0; i < a.frames.size(); ++i) {
    EXPECT_EQ(a.frames[i].name, b.frames[i].name);
    EXPECT_EQ(a.frames[i].parent, b.frames[i].parent);
    EXPECT_EQ(a.frames[i].transform, b.frames[i].transform);
  }
  ASSERT_EQ(a.meshes.size(), b.meshes.size());
  const XMesh& m = a.meshes[0];
  const XMesh& n = b.meshes[0];
  EXPECT_EQ(m.name, n.name);
  EXPECT_EQ(m.positions, n.positions);
  EXPECT_EQ(m.faceStarts, n.faceStarts);
  EXPECT_EQ(m.faceCorners, n.faceCorners);
  EXPECT_EQ(m.normals, n.normals);
  EXPECT_EQ(m.normalCorners, n.normalCorners);
  EXPECT_EQ(m.texCoords, n.texCoords);
  EXPECT_EQ(m.faceMaterials, n.faceMaterials);
  ASSERT_EQ(m.materials.size(), n.materials.size());
  for (std::size_t i = 0; i < m.materials.size(); ++i) {
    EXPECT_EQ(m.materials[i].MatD3D, n.materials[i].MatD3D);
    EXPECT_EQ(m.materials[i].textureFilename, n.materials[i].textureFilename);
  }
  EXPECT_EQ(m.skinHeader.maxSkinWeightsPerFace, n.skinHeader.maxSkinWeightsPerFace);
  ASSERT_EQ(m.skinWeights.size(), n.skinWeights.size());
  for (std::size_t i = 0; i < m.skinWeights.size(); ++i) {
    EXPECT_EQ(m.skinWeights[i].transformNodeName, n.skinWeights[i].transformNodeName);
    EXPECT_EQ(m.skinWeights[i].vertexIndices, n.skinWeights[i].vertexIndices);
    EXPECT_EQ(m.skinWeights[i].weights, n.skinWeights[i].weights);
    EXPECT_EQ(m.skinWeights[i].matrixOffset, n.skinWeights[i].matrixOffset);
  }
  EXPECT_EQ(a.ticksPerSecond, b.ticksPerSecond);
  ASSERT_EQ(a.animationSets.size(), b.animationSets.size());
  ASSERT_EQ(b.animationSets[0].animations.size(), 1u);
  EXPECT_EQ(a.animationSets[0].name, b.animationSets[0].name);
  const XAnimation& x = a.animationSets[0].animations[0];
  const XAnimation& y = b.animationSets[0].animations[0];
  EXPECT_EQ(x.frameName, y.frameName);
  ASSERT_EQ(y.keys.size(), 1u);
  EXPECT_EQ(x.keys[0].keyType, y.keys[0].keyType);
  ASSERT_EQ(y.keys[0].keys.size(), 1u);
  EXPECT_EQ(x.keys[0].keys[0].values, y.keys[0].keys[0].values);
}

TEST(Encodings, TextReadsAsWritten) {
  XFileDocument doc;
  const Status s = ParseXFile(TextX(kText), "model.x", doc);
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(doc.meshes.size(), 1u);
  const XMesh& m = doc.meshes[0];
  EXPECT_EQ(m.faceStarts, (std::vector<uint32_t>{0, 4, 7}));
  EXPECT_EQ(m.faceMaterials, (std::vector<uint32_t>{1, 0}));
  ASSERT_EQ(m.materials.size(), 2u);
  EXPECT_EQ(m.materials[0].textureFilename, "red.bmp");  // the referenced Red
  EXPECT_EQ(m.materials[1].MatD3D.Diffuse, (D3DCOLORVALUE{0, 1, 0, 1}));
  EXPECT_EQ(doc.ticksPerSecond, 4800u);
  ASSERT_EQ(doc.animationSets.size(), 1u);
  EXPECT_EQ(doc.animationSets[0].name, "Walk");
  EXPECT_EQ(doc.animationSets[0].animations[0].frameName, "Root");
  EXPECT_EQ(doc.animationSets[0].animations[0].keys[0].keys[0].values.size(), 16u);
}

TEST(Encodings, BinaryAndCompressedFormsReadLikeText) {
  XFileDocument text;
  ASSERT_TRUE(ParseXFile(TextX(kText), "model.x", text).ok);
  const struct {
    const char* label;
    std::string bytes;
    XFileEncoding encoding;
  } forms[] = {
      {"binary 32", Binary(32), XFileEncoding::Binary},
      {"binary 64", Binary(64), XFileEncoding::Binary},
      {"bzip", CompressX(Binary(32), 40), XFileEncoding::CompressedBinary},
      {"tzip", CompressX(TextX(kText), 50), XFileEncoding::CompressedText},
      {"tzip one block", CompressX(TextX(kText)), XFileEncoding::CompressedText},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.label);
    XFileDocument doc;
    const Status s = ParseXFile(form.bytes, "model.x", doc);
    ASSERT_TRUE(s.ok) << s.describe();
    EXPECT_EQ(doc.encoding, form.encoding);
    ExpectSameDocument(text, doc);
  }
}

TEST(Encodings, BinaryAndTextBuildTheSameModel) {
  TempDir dir;
  SkinnedModel fromText;
  SkinnedModel fromBinary;
  ASSERT_TRUE(LoadMesh(fromText, dir.write("t.x", TextX(kText))).ok);
  ASSERT_TRUE(LoadMesh(fromBinary, dir.write("b.x", Binary(64))).ok);
  ASSERT_EQ(fromText.sourceMesh.vertices.size(), 7u);
  EXPECT_EQ(fromText.sourceMesh.indices, (std::vector<uint16_t>{4, 5, 6, 0, 1, 2, 0, 2, 3}));
  EXPECT_EQ(fromText.sourceMesh.indices, fromBinary.sourceMesh.indices);
  EXPECT_EQ(fromText.attributeTable, fromBinary.attributeTable);
  for (std::size_t v = 0; v < 7; ++v) {
    EXPECT_EQ(fromText.sourceMesh.vertices[v].position, fromBinary.sourceMesh.vertices[v].position);
    EXPECT_EQ(fromText.sourceMesh.vertices[v].normal, fromBinary.sourceMesh.vertices[v].normal);
  }
}
}  // namespace
}  // namespace posewright
