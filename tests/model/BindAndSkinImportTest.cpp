// Binding the loaded mesh, and importing a .x file that carries skin weights.
#include <gtest/gtest.h>

#include "model/MeshLoader.h"
#include "model/SkinMeshImport.h"
#include "support/MathMatchers.h"
#include "support/WorkedExampleX.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
const char* kIdentity = "1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;";

std::string Weights(const std::string& bone, const std::string& indices, const std::string& weights,
                    int count) {
  return "SkinWeights { \"" + bone + "\"; " + std::to_string(count) + "; " + indices + "; " + weights + "; " +
         kIdentity + " }\n";
}

/// Four vertices, two triangles, normals that split vertex 0 once (copy 4).
std::string SkinnedQuad(const std::string& skin) {
  return TextX(R"(
Frame Root { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
Mesh {
  4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;
  2; 3;0,1,2;, 3;0,2,3;;
  MeshNormals { 2; 0;0;1;, 0;1;0;; 2; 3;0,0,0;, 3;1,0,0;; }
  XSkinMeshHeader { 4; 12; 6; }
)" + skin + "}\n}\n");
}

Skeleton NamedSkeleton(std::initializer_list<const char*> names) {
  Skeleton s;
  for (const char* n : names) {
    Bone b;
    b.name = n;
    s.bones.push_back(b);
  }
  s.resizePerBoneArrays();
  s.bonesLoaded = true;
  return s;
}

TEST(BindMesh, ConvertsToSkinVerticesWithPointBufferAndEmptySelection) {
  TempDir dir;
  SkinnedModel model;
  ASSERT_TRUE(LoadMesh(model, dir.write("q.x", SkinnedQuad(""))).ok);
  model.selection.unselectedCount = 0;
  ASSERT_TRUE(BindMesh(model));
  const std::vector<SkinVertex>& v = model.skinnedMesh.vertices;
  ASSERT_EQ(v.size(), 5u);
  EXPECT_TRUE(model.sourceMesh.vertices.empty());
  EXPECT_EQ(model.skinnedMesh.indices, (std::vector<uint16_t>{0, 1, 2, 4, 2, 3}));
  EXPECT_EQ(model.skinnedMesh.faceAttributes, (std::vector<uint32_t>{0, 0}));
  ExpectNear(v[4].position, D3DXVECTOR3(0, 0, 0));
  ExpectNear(v[4].normal, D3DXVECTOR3(0, 1, 0));
  for (const SkinVertex& s : v) {
    EXPECT_EQ(s.boneIndices, 0u);
    EXPECT_EQ(s.blendWeights[0], 0.0f);
    EXPECT_EQ(s.pointSize, 10.0f);
  }
  ASSERT_EQ(model.pointVertices.size(), 5u);
  EXPECT_EQ(model.pointVertices[2].position, v[2].position);
  EXPECT_EQ(model.pointVertices[2].pointSize, 10.0f);
  EXPECT_EQ(model.selection.selected, (std::vector<uint8_t>(5, 0)));
  EXPECT_EQ(model.selection.pointList, (std::vector<uint16_t>{4, 3, 2, 1, 0}));
  EXPECT_EQ(model.selection.unselectedCount, 5u);

  // Binding again (a second bone data file) keeps the bound vertices.
  model.skinnedMesh.vertices[1].setBoneIndex(0, 3);
  model.selection.selected[1] = 1;
  ASSERT_TRUE(BindMesh(model));
  EXPECT_EQ(model.skinnedMesh.vertices.size(), 5u);
  EXPECT_EQ(model.selection.selectedCount(), 0u);

  SkinnedModel empty;
  EXPECT_FALSE(BindMesh(empty));
  EXPECT_TRUE(empty.pointVertices.empty());
}

// Vertex 0 is named by five bones; the four strongest stay, normalised; its
// normal copy (vertex 4) carries the same influences. Vertex 1 has Arm twice
// (weights add) and a zero weight (dropped). Vertex 2 ties Arm and Leg:
// heavier first, equal weights in bone order. Vertex 3 has no influence.
TEST(SkinImport, StrongestFourInfluencesNormalisedInSkinWeightsOrder) {
  TempDir dir;
  const std::string skin = Weights("Arm", "0, 1, 2, 1", "0.1, 0.2, 0.3, 0.2", 4) +
                           Weights("Leg", "0, 2", "0.4, 0.3", 2) + Weights("Head", "0, 1", "0.05, 0.0", 2) +
                           Weights("Tail", "0", "0.2", 1) + Weights("Wing", "0", "0.3", 1) +
                           Weights("Spare", "", "", 0);
  SkinnedModel model;
  const Status s = LoadMeshFromXof(model, dir.write("skin.x", SkinnedQuad(skin)));
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_TRUE(model.meshLoaded);
  EXPECT_FALSE(model.bonesLoaded());
  const std::vector<SkinVertex>& v = model.skinnedMesh.vertices;
  ASSERT_EQ(v.size(), 5u);
  // Bones: Arm 1, Leg 2, Head 3, Tail 4, Wing 5, Spare 6. Vertex 0: Leg 0.4,
  // Wing 0.3, Tail 0.2, Arm 0.1 (Head 0.05 dropped); sum 1.0.
  const uint32_t packed0 = 2u | (5u << 8) | (4u << 16) | (1u << 24);
  for (int i : {0, 4}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(v[static_cast<std::size_t>(i)].boneIndices, packed0);
    EXPECT_NEAR(v[static_cast<std::size_t>(i)].blendWeights[0], 0.4f, 1e-6f);
    EXPECT_NEAR(v[static_cast<std::size_t>(i)].blendWeights[1], 0.3f, 1e-6f);
    EXPECT_NEAR(v[static_cast<std::size_t>(i)].blendWeights[2], 0.2f, 1e-6f);
    EXPECT_NEAR(v[static_cast<std::size_t>(i)].lastWeight(), 0.1f, 1e-6f);
  }
  EXPECT_EQ(v[1].boneIndices, 1u);
  EXPECT_FLOAT_EQ(v[1].blendWeights[0], 1.0f);
  EXPECT_NEAR(v[1].lastWeight(), 0.0f, 1e-6f);
  EXPECT_EQ(v[2].boneIndices, 1u | (2u << 8));
  EXPECT_FLOAT_EQ(v[2].blendWeights[0], 0.5f);
  EXPECT_FLOAT_EQ(v[2].blendWeights[1], 0.5f);
  EXPECT_EQ(v[3].boneIndices, 0u);
  EXPECT_EQ(v[3].blendWeights[0], 0.0f);
  // The point buffer shows the same weights; nothing is selected.
  EXPECT_EQ(model.pointVertices[0].boneIndices, packed0);
  EXPECT_EQ(model.selection.unselectedCount, 5u);
  EXPECT_TRUE(model.sourceMesh.vertices.empty());
  EXPECT_EQ(model.attributeTable.size(), 1u);
  EXPECT_EQ(model.materialCount(), 1u);
}

TEST(SkinImport, KeepsTheSkeletonTheFileWasExportedFromAndReleasesAnyOther) {
  TempDir dir;
  const std::string file = dir.write(
      "skin.x", SkinnedQuad(Weights("Arm", "0, 1", "1.0, 1.0", 2) + Weights("Hand", "2", "1.0", 1)));
  SkinnedModel model;
  model.skeleton = NamedSkeleton({"Root", "Arm", "Hand"});
  ASSERT_TRUE(LoadMeshFromXof(model, file).ok);
  EXPECT_TRUE(model.bonesLoaded());
  EXPECT_EQ(model.skeleton.boneCount(), 3);
  EXPECT_EQ(model.skinnedMesh.vertices[2].boneIndex(0), 2);

  model.skeleton = NamedSkeleton({"Root", "Hand", "Arm"});
  ASSERT_TRUE(LoadMeshFromXof(model, file).ok);
  EXPECT_FALSE(model.bonesLoaded());
  EXPECT_EQ(model.skeleton.boneCount(), 0);

  model.skeleton = NamedSkeleton({"Root", "Arm", "Hand", "Foot"});
  ASSERT_TRUE(LoadMeshFromXof(model, file).ok);
  EXPECT_FALSE(model.bonesLoaded());
}

TEST(SkinImport, RefusalsLeaveTheModelAsItWas) {
  TempDir dir;
  SkinnedModel model;
  model.skeleton = NamedSkeleton({"Root", "Arm"});
  ASSERT_TRUE(LoadMeshFromXof(model, dir.write("ok.x", SkinnedQuad(Weights("Arm", "0", "1", 1)))).ok);
  ASSERT_TRUE(model.bonesLoaded());

  ExpectRefused(LoadMeshFromXof(model, dir.write("static.x", SkinnedQuad(""))),
                "static.x:", "no SkinWeights");
  std::string many;
  for (int b = 0; b < 256; ++b) many += Weights("B" + std::to_string(b), "0", "1", 1);
  ExpectRefused(LoadMeshFromXof(model, dir.write("many.x", SkinnedQuad(many))), "256 bones", "at most 255");
  ExpectRefused(LoadMeshFromXof(model, dir.write("bad.x", SkinnedQuad(Weights("Arm", "9", "1", 1)))),
                "bad.x, line", "skin vertex index 9 is out of range");
  EXPECT_TRUE(model.bonesLoaded());
  EXPECT_EQ(model.skinnedMesh.vertices.size(), 5u);
  EXPECT_EQ(model.skinnedMesh.vertices[0].boneIndex(0), 1);
}

TEST(SkinImport, BonesOfSeveralMeshesShareNumbersByName) {
  TempDir dir;
  const std::string file = dir.write("two.x", TextX(std::string(R"(
Mesh a { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;
  SkinWeights { "Leg"; 1; 0; 1; )") + kIdentity + R"( }
  SkinWeights { "Arm"; 1; 1; 1; )" + kIdentity + R"( } }
Mesh b { 3; 0;0;1;, 1;0;1;, 0;1;1;; 1; 3;0,1,2;;
  SkinWeights { "Arm"; 1; 0; 1; )" + kIdentity + R"( }
  SkinWeights { "Neck"; 1; 2; 1; )" + kIdentity + R"( } }
)"));
  XFileDocument doc;
  ASSERT_TRUE(ReadXFile(file, doc).ok);
  EXPECT_EQ(SkinBoneNames(doc), (std::vector<std::string>{"Leg", "Arm", "Neck"}));
  SkinnedModel model;
  ASSERT_TRUE(LoadMeshFromXof(model, file).ok);
  const std::vector<SkinVertex>& v = model.skinnedMesh.vertices;
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[0].boneIndex(0), 1);
  EXPECT_EQ(v[1].boneIndex(0), 2);
  EXPECT_EQ(v[3].boneIndex(0), 2);
  EXPECT_EQ(v[4].boneIndices, 0u);
  EXPECT_EQ(v[5].boneIndex(0), 3);
}

TEST(SkinImport, RealSkinnedCubeBindsEveryVertexToItsOneBone) {
  SkinnedModel model;
  const Status s = LoadMeshFromXof(model, XTestDataDir() + "/test_cube_binary.x");
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(model.skinnedMesh.vertices.size(), 24u);
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    EXPECT_EQ(v.boneIndices, 1u);
    EXPECT_EQ(v.blendWeights[0], 1.0f);
  }
}
}  // namespace

namespace {
// The layout the editor's own export writes: templates, a top-level mesh with
// skin weights, a frame hierarchy that references the mesh, an animation set.
const std::string kExported = std::string(R"(xof 0303txt 0032
template MeshFaces {
	<3D82AB5F-62DA-11cf-AB39-0020AF71E433>
	DWORD nFaceVertexIndices;
	array DWORD faceVertexIndices[nFaceVertexIndices];
}
template Frame {
	<3D82AB46-62DA-11cf-AB39-0020AF71E433>
	[...]
}

)") + kWorkedExampleModel + R"(AnimationSet {
 Animation {
  AnimationKey {
   4;
   2;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;,
   30;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;;
  }
  {Root}
 }
 Animation {
  AnimationKey {
   4;
   1;
   30;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.500000,0.000000,1.000000;;;
  }
  {Arm}
 }
}
)";

TEST(SkinImport, ReadsTheLayoutTheEditorExports) {
  TempDir dir;
  std::string crlf;
  for (const char c : std::string(kExported)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const std::string file = dir.write("exported.x", crlf);
  XFileDocument doc;
  const Status read = ReadXFile(file, doc);
  ASSERT_TRUE(read.ok) << read.describe();
  ASSERT_EQ(doc.meshes.size(), 1u);  // the {thisMesh} reference adds no second copy
  EXPECT_EQ(doc.meshes[0].frame, -1);
  ASSERT_EQ(doc.frames.size(), 2u);
  EXPECT_EQ(doc.frames[1].name, "Arm");
  EXPECT_EQ(doc.frames[1].parent, 0);
  ASSERT_EQ(doc.animationSets.size(), 1u);
  const std::vector<XAnimation>& animations = doc.animationSets[0].animations;
  ASSERT_EQ(animations.size(), 2u);
  EXPECT_EQ(animations[0].frameName, "Root");
  EXPECT_EQ(animations[1].frameName, "Arm");
  ASSERT_EQ(animations[0].keys.size(), 1u);
  EXPECT_EQ(animations[0].keys[0].keyType, 4u);
  ASSERT_EQ(animations[0].keys[0].keys.size(), 2u);
  EXPECT_EQ(animations[0].keys[0].keys[1].time, 30u);
  EXPECT_EQ(animations[1].keys[0].keys[0].values[13], 0.5f);

  SkinnedModel model;
  model.skeleton = NamedSkeleton({"Root", "Arm"});
  ASSERT_TRUE(LoadMeshFromXof(model, file).ok);
  EXPECT_TRUE(model.bonesLoaded());
  ASSERT_EQ(model.skinnedMesh.vertices.size(), 3u);
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    EXPECT_EQ(v.boneIndices, 1u);
    EXPECT_EQ(v.blendWeights[0], 1.0f);
    EXPECT_EQ(v.normal, D3DXVECTOR3(0, 0, -1));
  }
  EXPECT_EQ(model.skinnedMesh.vertices[1].u, 1.0f);
}
}  // namespace
}  // namespace posewright
