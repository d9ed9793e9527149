// What the export writes for the cases a real model runs into.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "export/SkinnedMeshXWriter.h"
#include "export/XTemplates.h"
#include "support/ExportTestModels.h"
#include "support/TempDir.h"

namespace posewright {

using namespace exporttest;

namespace {
const std::string kIdentityText =
    "1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,"
    "0.000000,0.000000,0.000000,0.000000,1.000000;;";

// The exported text after the header line and the template block.
std::string Export(const SkinnedModel& model, const Animation* animation, ExportOptions options = {}) {
  std::string text;
  const Status status = FormatSkinnedMeshX(options, model, animation, text);
  EXPECT_TRUE(status) << status.describe();
  const std::string head = std::string(kXFileHeaderLine) + std::string(XTemplateBlock());
  EXPECT_TRUE(text.starts_with(head));
  return text.substr(std::min(head.size(), text.size()));
}

// The text from the line starting with first up to and including the next
// line that is exactly last (both without their CR LF).
std::string Section(const std::string& text, const std::string& first, const std::string& last) {
  const std::size_t begin = text.find("\r\n" + first);
  if (begin == std::string::npos) return "(missing " + first + ")";
  const std::size_t end = text.find("\r\n" + last + "\r\n", begin + 2);
  if (end == std::string::npos) return "(unterminated " + first + ")";
  return text.substr(begin + 2, end + 2 + last.size() - (begin + 2));
}

// Everything after the mesh object.
std::string AfterMesh(const std::string& text) {
  const std::size_t mesh = text.find("Mesh thisMesh {");
  const std::size_t end = text.find("\r\n}\r\n", mesh);
  return text.substr(end + 5);
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}
}  // namespace

TEST(SkinnedMeshXWriter, RootOnlySkeletonHasNoSkinWeightsAndOneFrameAndAnimation) {
  SkinnedModel model = OneTriangle();
  for (SkinVertex& v : model.skinnedMesh.vertices) v.boneIndices = 0;
  SetBones(model, {NamedBone("Root", 0)});
  const Animation animation = StillAnimation(1, {0, 10});
  const std::string text = Export(model, &animation);
  EXPECT_NE(text.find(" XSkinMeshHeader {\r\n  4;\r\n  12;\r\n  0;\r\n }\r\n}\r\n"), std::string::npos);
  EXPECT_EQ(Count(text, "SkinWeights {"), 0u);
  EXPECT_EQ(
      AfterMesh(text).substr(0, AfterMesh(text).find("AnimationSet")),
      "Frame Root {\r\n FrameTransformMatrix {\r\n  " + kIdentityText + "\r\n }\r\n {thisMesh}\r\n}\r\n");
  EXPECT_EQ(Count(text, " Animation {"), 1u);
}

TEST(SkinnedMeshXWriter, SlotsListEveryNamedBoneWithItsWeightIncludingZeroAndTheImpliedFourth) {
  SkinnedModel model = OneTriangle();
  SetBones(model, {NamedBone("Root", 0), NamedBone("A", 0), NamedBone("B", 0), NamedBone("C", 0)});
  const D3DXVECTOR3 n(0, 0, -1);
  // Vertex 0: slots A 0.25, B 0.5, empty 0.125, C gets 1 − 0.875.
  // Vertex 1: A with weight 0 in slot 1, the rest on B.
  // Vertex 2: bone 0 in every slot but slot 3, which names A with weight 1.
  model.skinnedMesh.vertices = {
      Vertex({0, 0, 0}, n, 0, 0, 0x03000201u, 0.25f, 0.5f, 0.125f),
      Vertex({1, 0, 0}, n, 1, 0, 0x00000102u, 1.0f, 0.0f, 0.0f),
      Vertex({0, 1, 0}, n, 0, 1, 0x01000000u, 0.0f, 0.0f, 0.0f),
  };
  const std::string text = Export(model, nullptr);
  EXPECT_NE(text.find("  4;\r\n  12;\r\n  3;\r\n }\r\n"), std::string::npos);
  EXPECT_EQ(Section(text, " SkinWeights {\r\n  \"A\"", " }"),
            " SkinWeights {\r\n  \"A\";\r\n  3;\r\n  0,\r\n  1,\r\n  2;\r\n  0.250000,\r\n  0.000000,\r\n"
            "  1.000000;\r\n  " +
                kIdentityText + "\r\n }");
  EXPECT_EQ(Section(text, " SkinWeights {\r\n  \"B\"", " }"),
            " SkinWeights {\r\n  \"B\";\r\n  2;\r\n  0,\r\n  1;\r\n  0.500000,\r\n  1.000000;\r\n  " +
                kIdentityText + "\r\n }");
  EXPECT_EQ(Section(text, " SkinWeights {\r\n  \"C\"", " }"),
            " SkinWeights {\r\n  \"C\";\r\n  1;\r\n  0;\r\n  0.125000;\r\n  " + kIdentityText + "\r\n }");
}

TEST(SkinnedMeshXWriter, BoneThatMovesNoVertexGetsNoSkinWeightsAndTheHeaderCountsOnlyWrittenOnes) {
  SkinnedModel model = OneTriangle();
  SetBones(model, {NamedBone("Root", 0), NamedBone("Unused", 0), NamedBone("Arm", 0)});
  for (SkinVertex& v : model.skinnedMesh.vertices) v.boneIndices = 2;
  const std::string text = Export(model, nullptr);
  EXPECT_NE(text.find(" XSkinMeshHeader {\r\n  4;\r\n  12;\r\n  1;\r\n }\r\n SkinWeights {\r\n  \"Arm\";"),
            std::string::npos);
  EXPECT_EQ(Count(text, "SkinWeights {"), 1u);
  EXPECT_EQ(Count(text, "Unused"), 1u);  // its frame only
  EXPECT_NE(text.find("Frame Unused {"), std::string::npos);
}

TEST(SkinnedMeshXWriter, NameWithTwoWordsIsWrittenAsItsFirstWordEverywhere) {
  SkinnedModel model = OneTriangle();
  model.skeleton.bones[1].name = "  Left Arm";
  const Animation animation = StillAnimation(2, {0});
  const std::string text = Export(model, &animation);
  EXPECT_NE(text.find("  \"Left\";\r\n"), std::string::npos);
  EXPECT_NE(text.find(" Frame Left {\r\n"), std::string::npos);
  EXPECT_NE(text.find("  {Left}\r\n"), std::string::npos);
  EXPECT_EQ(Count(text, "Arm"), 0u);
}

TEST(SkinnedMeshXWriter, MaterialIdsFollowFaceOrderWhateverTheOrderOfTheRanges) {
  SkinnedModel model = OneTriangle();
  model.skinnedMesh.vertices.push_back(Vertex({1, 1, 0}, {0, 0, -1}, 1, 1, 1));
  model.skinnedMesh.indices = {0, 1, 2, 2, 1, 3, 3, 1, 0};
  model.skinnedMesh.faceAttributes = {1, 0, 0};
  model.adjacency.assign(9, 0xFFFFFFFFu);
  SetMaterials(model, {WhiteMaterial(), WhiteMaterial()});
  model.attributeTable = {{0, 1, 2, 0, 4}, {1, 0, 1, 0, 3}};
  const std::string text = Export(model, nullptr);
  EXPECT_NE(text.find(" MeshMaterialList {\r\n  2;\r\n  3;\r\n  1,\r\n  0,\r\n  0;;\r\n  Material {"),
            std::string::npos);
}

TEST(SkinnedMeshXWriter, TextureNameIsQuotedUnescapedAndOnlyForLoadedTextures) {
  SkinnedModel model = OneTriangle();
  D3DXMATERIAL textured = WhiteMaterial();
  textured.textureFilename = "tex\\skin \"1\".png";
  D3DXMATERIAL missing = WhiteMaterial();
  missing.textureFilename = "missing.png";
  SetMaterials(model, {textured, missing});
  model.textures[0] = std::make_shared<const TextureImage>(TextureImage{1, 1, {255, 255, 255, 255}});
  const std::string text = Export(model, nullptr);
  EXPECT_NE(
      text.find("   0.000000;0.000000;0.000000;;\r\n   TextureFileName {\r\n    \"tex\\skin \"1\".png\";\r\n"
                "   }\r\n  }\r\n  Material {"),
      std::string::npos);
  EXPECT_EQ(text.find("missing.png"), std::string::npos);
}

TEST(SkinnedMeshXWriter, MaterialColoursComeFromTheDrawingCopyWithoutAmbient) {
  SkinnedModel model = OneTriangle();
  model.materials[0].Diffuse = {0.5f, 0.25f, 0.125f, 0.75f};
  model.materials[0].Specular = {0.1f, 0.2f, 0.3f, 1};
  model.materials[0].Emissive = {0.0078125f, 0, -0.5f, 1};
  model.materials[0].Power = 12.5f;
  const std::string text = Export(model, nullptr);
  EXPECT_NE(text.find("  Material {\r\n   0.500000;0.250000;0.125000;0.750000;;\r\n   12.500000;\r\n"
                      "   0.100000;0.200000;0.300000;;\r\n   0.007812;0.000000;-0.500000;;\r\n  }\r\n"),
            std::string::npos);
}

TEST(SkinnedMeshXWriter, FramesNestWithOneSpacePerLevelAndTheMeshReferenceHasOneSpace) {
  SkinnedModel model = OneTriangle();
  // Root ─┬─ A ── B
  //       └─ C          (C comes after B in the array)
  SetBones(model, {NamedBone("Root", 0), NamedBone("A", 0), NamedBone("B", 1), NamedBone("C", 0)});
  const std::string m = "FrameTransformMatrix {\r\n";
  const std::string expected =
      "Frame Root {\r\n"
      " " +
      m + "  " + kIdentityText +
      "\r\n }\r\n"
      " {thisMesh}\r\n"
      " Frame A {\r\n"
      "  " +
      m + "   " + kIdentityText +
      "\r\n  }\r\n"
      "  Frame B {\r\n"
      "   " +
      m + "    " + kIdentityText +
      "\r\n   }\r\n"
      "  }\r\n"
      " }\r\n"
      " Frame C {\r\n"
      "  " +
      m + "   " + kIdentityText +
      "\r\n  }\r\n"
      " }\r\n"
      "}\r\n";
  EXPECT_EQ(AfterMesh(Export(model, nullptr)), expected);
}

TEST(SkinnedMeshXWriter, SingleKeyframeGivesOneKeyPerBoneEndingInThreeSemicolons) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {7});
  const std::string text = Export(model, &animation, {4800, false});
  EXPECT_EQ(Count(text, "   1;\r\n   7;16;" + kIdentityText + ";\r\n"), 2u);
  // In all-frames mode the one keyframe is one key, at its time in ticks.
  const std::string all = Export(model, &animation, {4800, true});
  EXPECT_EQ(Count(all, "   1;\r\n   560;16;" + kIdentityText + ";\r\n"), 2u);
}

TEST(SkinnedMeshXWriter, AllFramesBelowSixtyPerSecondWritesOneKeyPerTick) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {10, 40});
  // 30 ticks per second: editor frames 10 .. 39 are ticks 5 .. 19.
  const std::string text = Export(model, &animation, {30, true});
  EXPECT_EQ(Count(text, "  AnimationKey {\r\n   4;\r\n   15;\r\n   5;16;"), 2u);
  EXPECT_EQ(Count(text, "   19;16;" + kIdentityText + ";\r\n"), 2u);  // the last key
  EXPECT_EQ(Count(text, ";16;"), 30u);
}

TEST(SkinnedMeshXWriter, MeshInFrameMovesTheMeshIntoTheRootFrameAndChangesNothingElse) {
  SkinnedModel model = OneTriangle();
  SetBones(model, {NamedBone("Root", 0), NamedBone("A", 0), NamedBone("B", 1)});
  const Animation animation = StillAnimation(3, {0, 20});
  const std::string standard = Export(model, &animation, {4800, true});
  const std::size_t meshBegin = standard.find("Mesh thisMesh {\r\n");
  const std::size_t meshEnd = standard.find("\r\n}\r\n", meshBegin) + 5;
  ASSERT_NE(meshBegin, std::string::npos);
  std::string indented;
  for (std::size_t at = meshBegin; at < meshEnd; at = standard.find('\n', at) + 1) {
    indented += " " + standard.substr(at, standard.find('\n', at) + 1 - at);
  }
  std::string expected = standard.substr(0, meshBegin) + standard.substr(meshEnd);
  const std::size_t reference = expected.find(" {thisMesh}\r\n");
  ASSERT_NE(reference, std::string::npos);
  expected.replace(reference, std::string(" {thisMesh}\r\n").size(), indented);
  EXPECT_EQ(Export(model, &animation, {4800, true, true}), expected);
  EXPECT_NE(expected.find("}\r\n Mesh thisMesh {\r\n  "), std::string::npos) << "after the root's matrix";
}

TEST(SkinnedMeshXWriter, AllFramesFromTenToFortyWritesThirtyKeysFromTenTimesTheTicks) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {10, 40});
  const std::string text = Export(model, &animation, {4800, true});
  EXPECT_EQ(Count(text, "  AnimationKey {\r\n   4;\r\n   30;\r\n   800;16;"), 2u);
  EXPECT_EQ(Count(text, "   3120;16;" + kIdentityText + ";\r\n"), 2u);  // (40 − 1) × 80
  EXPECT_EQ(Count(text, "   3200;16;"), 0u);
}

TEST(SkinnedMeshXWriter, KeyframeModeWritesOwnTimesAndRotationsAboutTheJoint) {
  SkinnedModel model = OneTriangle();
  model.skeleton.bones[1].begin = D3DXVECTOR3(1, 2, 0);
  Animation animation;
  animation.boneCount = 2;
  // Half a turn about z for the arm at time −5; identity at 1000.
  animation.InsertKey(std::vector<D3DXQUATERNION>{D3DXQUATERNION(), D3DXQUATERNION(0, 0, 1, 0)}, -5);
  animation.InsertKey(std::vector<D3DXQUATERNION>{D3DXQUATERNION(), D3DXQUATERNION()}, 1000);
  const std::string text = Export(model, &animation, {4800, false});
  // Points turn half a turn about (1, 2, 0): the translation row is 2 × (1, 2, 0).
  EXPECT_NE(
      text.find("   2;\r\n   -5;16;-1.000000,0.000000,0.000000,0.000000,0.000000,-1.000000,0.000000,"
                "0.000000,0.000000,0.000000,1.000000,0.000000,2.000000,4.000000,0.000000,1.000000;;,\r\n"
                "   1000;16;" +
                kIdentityText + ";\r\n  }\r\n  {Arm}"),
      std::string::npos);
}

TEST(SkinnedMeshXWriter, KeyTimesWrapLikeSigned32BitArithmetic) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {100});
  // 4294967295 / 60 = 71582788 ticks; 100 × that wraps to −1431655792.
  const std::string text = Export(model, &animation, {4294967295u, true});
  EXPECT_EQ(Count(text, "   -1431655792;16;"), 2u);
}

TEST(SkinnedMeshXWriter, KeyframeShortOfRotationsTurnsTheMissingBonesByIdentity) {
  const SkinnedModel model = OneTriangle();
  Animation animation;
  animation.boneCount = 1;
  animation.InsertKey(std::vector<D3DXQUATERNION>{D3DXQUATERNION(0, 0, 1, 0)}, 0);
  const std::string text = Export(model, &animation);
  EXPECT_NE(text.find("   0;16;" + kIdentityText + ";\r\n  }\r\n  {Arm}"), std::string::npos);
}

TEST(SkinnedMeshXWriter, WithoutKeyframesOrAnimationTheFileEndsAfterTheFrames) {
  const SkinnedModel model = OneTriangle();
  const Animation empty = StillAnimation(2, {});
  for (const Animation* animation : {static_cast<const Animation*>(nullptr), &empty}) {
    const std::string text = Export(model, animation);
    EXPECT_EQ(text.find("AnimationSet"), std::string::npos);
    EXPECT_TRUE(text.ends_with("   " + kIdentityText + "\r\n  }\r\n }\r\n}\r\n"));
  }
}

TEST(SkinnedMeshXWriter, VertexDuplicationIndicesJoinSplitVerticesAcrossEdges) {
  SkinnedModel model = OneTriangle();
  const D3DXVECTOR3 n(0, 0, -1);
  // Two faces of a quad; the shared edge's vertices are split (3 ≡ 2, 4 ≡ 1).
  model.skinnedMesh.vertices = {Vertex({0, 0, 0}, n, 0, 0, 1), Vertex({1, 0, 0}, n, 1, 0, 1),
                                Vertex({0, 1, 0}, n, 0, 1, 1), Vertex({0, 1, 0}, n, 0, 1, 1),
                                Vertex({1, 0, 0}, n, 1, 0, 1), Vertex({1, 1, 0}, n, 1, 1, 1)};
  model.skinnedMesh.indices = {0, 1, 2, 3, 4, 5};
  model.skinnedMesh.faceAttributes = {0, 0};
  model.adjacency = {0xFFFFFFFFu, 1, 0xFFFFFFFFu, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  model.attributeTable = {{0, 0, 2, 0, 6}};
  const std::string text = Export(model, nullptr);
  EXPECT_EQ(
      Section(text, " VertexDuplicationIndices {", " }"),
      " VertexDuplicationIndices {\r\n  6;\r\n  4;\r\n  0,\r\n  1,\r\n  2,\r\n  2,\r\n  1,\r\n  5;\r\n }");
}

TEST(SkinnedMeshXWriter, RefusesAModelWithoutBoundMeshOrSkeleton) {
  const Animation animation = StillAnimation(2, {0});
  std::string text = "untouched";
  SkinnedModel noMesh = OneTriangle();
  noMesh.meshLoaded = false;
  SkinnedModel noFaces = OneTriangle();
  noFaces.skinnedMesh.indices.clear();
  SkinnedModel noBones = OneTriangle();
  noBones.skeleton.clear();
  for (const SkinnedModel* model : {&noMesh, &noFaces, &noBones}) {
    const Status status = FormatSkinnedMeshX({}, *model, &animation, text);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Mesh Save Error");
    EXPECT_EQ(text, "untouched");
  }
}

TEST(SkinnedMeshXWriter, RefusesAnAllFramesAnimationTooLongToWrite) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 2000000000});
  std::string text;
  EXPECT_FALSE(FormatSkinnedMeshX({60, true}, model, &animation, text));
  EXPECT_TRUE(FormatSkinnedMeshX({60, false}, model, &animation, text));
}

TEST(SkinnedMeshXWriter, WritesTheFileAndReportsAFailedWriteKeepingTheOldFile) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  TempDir dir;
  const std::string file = dir.write("export_writer_test.x", "previous");
  ASSERT_TRUE(WriteSkinnedMeshX(file, {}, model, &animation));
  std::string expected;
  ASSERT_TRUE(FormatSkinnedMeshX({}, model, &animation, expected));
  EXPECT_EQ(dir.read("export_writer_test.x"), expected);

  const Status missingFolder = WriteSkinnedMeshX(file + ".d/none/out.x", {}, model, &animation);
  EXPECT_FALSE(missingFolder);
  EXPECT_NE(missingFolder.detail.find("out.x"), std::string::npos);

  SkinnedModel unbound = model;
  unbound.meshLoaded = false;
  const Status refused = WriteSkinnedMeshX(file, {}, unbound, &animation);
  EXPECT_FALSE(refused);
  EXPECT_EQ(dir.read("export_writer_test.x"), expected);
}
}  // namespace posewright
