// Parameterised test models: sizes as asked, sound anchors, the adversarial
// variants doing what they promise, and files that match the model in memory.
#include <gtest/gtest.h>

#include <cmath>

#include "HullChecks.h"
#include "XScan.h"
#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "skeleton/BoneDataReader.h"
#include "support/TempDir.h"
#include "tools/gen/ModelFiles.h"
#include "weights/AnchorContainment.h"

namespace posewright {

namespace {
struct Generated {
  GeneratedModel model;
  ModelFiles files;
  /// Read back by the test's scanner.
  ScannedXMesh mesh;
  /// Read back by the editor's readers.
  Skeleton skeleton;
  Animation animation;
};

// Generates the model into folder and reads all its files back.
Generated Generate(const ModelOptions& o, const TempDir& folder) {
  Generated g;
  const Status s = GenerateModelFiles(o, folder.path().string(), &g.model, &g.files);
  EXPECT_TRUE(s) << s.describe();
  std::string error;
  std::optional<ScannedXMesh> mesh = ScanXFile(ReadFileBytes(g.files.x).value_or(""), &error);
  EXPECT_TRUE(mesh) << error;
  if (mesh) {
    g.mesh = std::move(*mesh);
  }
  BoneDataResult bones = ParseBoneData(ReadFileBytes(g.files.boneData).value_or(""), g.files.boneData);
  EXPECT_TRUE(bones.status) << bones.status.describe();
  g.skeleton = std::move(bones.skeleton);
  g.animation.boneCount = o.bones + 1;
  const Status keys =
      ReadAnimationText(g.animation, ReadFileBytes(g.files.animation).value_or(""), g.files.animation);
  EXPECT_TRUE(keys) << keys.describe();
  return g;
}

ModelOptions Options(int vertices, int bones, int faces, int keys) {
  ModelOptions o;
  o.vertices = vertices;
  o.bones = bones;
  o.anchorFaces = faces;
  o.keys = keys;
  return o;
}

std::size_t Triangles(const ScannedXMesh& m) {
  std::size_t n = 0;
  for (const auto& f : m.faces) {
    n += f.size() - 2;
  }
  return n;
}

int AnchorsHolding(const Skeleton& skeleton, const D3DXVECTOR3& p) {
  int count = 0;
  for (std::size_t b = 1; b < skeleton.anchors.size(); ++b) {
    count += HullHolds(skeleton.anchors[b], p, 1e-6);
  }
  return count;
}

TEST(ParamModel, FilesHoldTheRequestedSizesAndTheModelInMemory) {
  const struct {
    int vertices, bones, faces, keys;
    bool binary;
  } cases[] = {{500, 4, 4, 3, false},   {800, 10, 6, 0, true},     {2000, 12, 10, 5, false},
               {3001, 20, 14, 7, true}, {65535, 64, 48, 8, false}, {65535, 255, 12, 2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.vertices) + " vertices, " + std::to_string(c.bones) + " bones, " +
                 std::to_string(c.faces) + " faces");
    TempDir folder("model");
    ModelOptions o = Options(c.vertices, c.bones, c.faces, c.keys);
    o.binary = c.binary;
    const Generated g = Generate(o, folder);
    ASSERT_EQ(g.mesh.positions.size(), static_cast<std::size_t>(c.vertices));
    EXPECT_LE(Triangles(g.mesh), 65535u);
    EXPECT_GE(Triangles(g.mesh), static_cast<std::size_t>(c.vertices) / 2);
    for (std::size_t i = 0; i < g.mesh.positions.size(); ++i) {
      ASSERT_EQ(g.mesh.positions[i], g.model.mesh.vertices[i].position) << i;
      ASSERT_EQ(g.mesh.normals[i], g.model.mesh.vertices[i].normal) << i;
    }
    ASSERT_EQ(g.skeleton.boneCount(), c.bones + 1);
    for (std::size_t b = 1; b < g.skeleton.anchors.size(); ++b) {
      EXPECT_EQ(g.skeleton.anchors[b].faceCount(), c.faces);
      EXPECT_EQ(g.skeleton.anchors[b].vertices, g.model.skeleton.anchors[b].vertices);
      EXPECT_EQ(g.skeleton.anchors[b].faceNormals, g.model.skeleton.anchors[b].faceNormals);
      EXPECT_EQ(g.skeleton.bones[b].restRotation, g.model.skeleton.bones[b].restRotation);
    }
    ASSERT_EQ(g.animation.keys().size(), static_cast<std::size_t>(c.keys));
    for (std::size_t k = 0; k < g.animation.keys().size(); ++k) {
      EXPECT_EQ(g.animation.keys()[k].time, static_cast<int>(10 * k));
      EXPECT_EQ(g.animation.keys()[k].rotations, g.model.animation.keys()[k].rotations);
    }
  }
}

TEST(ParamModel, AnchorsAreClosedConvexAndOutwardForEveryFaceCount) {
  for (int faces : {4, 6, 8, 10, 12, 14, 16, 30, 48, 64}) {
    ModelOptions o = Options(300, 6, faces, 1);
    o.crowded = true;  // fan bones point in directions other than ±X
    const GeneratedModel m = BuildModel(o);
    for (std::size_t b = 1; b < m.skeleton.anchors.size(); ++b) {
      const BoneAnchor& a = m.skeleton.anchors[b];
      EXPECT_EQ(AnchorShapeProblem(a), "") << faces << " faces, bone " << b;
      EXPECT_EQ(a.faceCount(), faces);
      // No face parallel to Z (see the sample assets' test).
      for (const D3DXVECTOR3& n : a.faceNormals) {
        EXPECT_GT(std::fabs(n.z), 1e-3f) << faces << " faces, bone " << b;
      }
    }
  }
}

TEST(ParamModel, PlainVerticesLieInOneToFourAnchorsAndJointsBlend) {
  for (int faces : {4, 6, 12, 48}) {
    TempDir folder("plain");
    const Generated g = Generate(Options(3000, 17, faces, 2), folder);
    int blended = 0;
    for (std::size_t v = 0; v < g.mesh.positions.size(); ++v) {
      const int count = AnchorsHolding(g.skeleton, g.mesh.positions[v]);
      ASSERT_TRUE(count >= 1 && count <= 4) << faces << " faces: vertex " << v << " in " << count;
      EXPECT_EQ(count, g.model.anchorCounts[v]);
      // The editor's containment test agrees.
      int editorCount = 0;
      for (std::size_t b = 1; b < g.skeleton.anchors.size(); ++b) {
        editorCount += Contains(g.mesh.positions[v], g.skeleton.anchors[b]);
      }
      EXPECT_EQ(editorCount, count) << faces << " faces: vertex " << v;
      blended += count >= 2;
    }
    EXPECT_GT(blended, 100) << faces << " faces";
  }
}

TEST(ParamModel, PartnersAreMirroredChains) {
  const GeneratedModel m = BuildModel(Options(2000, 20, 12, 1));
  int paired = 0;
  for (int i = 1; i < m.skeleton.boneCount(); ++i) {
    const Bone& a = m.skeleton.bones[static_cast<std::size_t>(i)];
    const Bone& b = m.skeleton.bones[static_cast<std::size_t>(a.symmetricId)];
    EXPECT_EQ(b.symmetricId, i);
    if (a.symmetricId != i) {
      ++paired;
      EXPECT_EQ(a.begin, D3DXVECTOR3(-b.begin.x, b.begin.y, b.begin.z));
      EXPECT_EQ(a.end, D3DXVECTOR3(-b.end.x, b.end.y, b.end.z));
    }
  }
  // Chains of 8, 8 and 4 bones: the third has no mirrored chain.
  EXPECT_EQ(paired, 16);
}

TEST(ParamModel, OnFaceVerticesLieExactlyOnAnchorAndBoxBoundaries) {
  for (int faces : {4, 10, 14, 48}) {
    SCOPED_TRACE(std::to_string(faces) + " faces");
    TempDir folder("onfaces");
    ModelOptions o = Options(1000, 6, faces, 1);
    o.onFaces = true;
    const Generated g = Generate(o, folder);
    const BoneAnchor& anchor = g.skeleton.anchors[1];
    int onEdges = 0;
    int onBoxAndFace = 0;
    int corners = 0;
    for (std::size_t v = 0; v < g.mesh.positions.size(); ++v) {
      const D3DXVECTOR3& p = g.mesh.positions[v];
      if (g.model.kinds[v] == VertexKind::OnAnchorFace) {
        EXPECT_NEAR(HullExcess(anchor, p), 0.0, 1e-6) << v;
        onBoxAndFace += p.y == anchor.boxMax.y;
        // Halfway along a side edge: the edge's ends share y and z with it.
        bool onEdge = false;
        for (const auto& f : anchor.faces) {
          for (std::size_t k = 0; k < 3; ++k) {
            const D3DXVECTOR3& a = anchor.vertices[static_cast<std::size_t>(f[k])];
            const D3DXVECTOR3& b = anchor.vertices[static_cast<std::size_t>(f[(k + 1) % 3])];
            onEdge = onEdge || (a.y == p.y && b.y == p.y && a.z == p.z && b.z == p.z &&
                                std::min(a.x, b.x) < p.x && p.x < std::max(a.x, b.x));
          }
        }
        onEdges += onEdge;
      } else if (g.model.kinds[v] == VertexKind::OnBoxFace) {
        ++corners;
        EXPECT_TRUE(p.x == anchor.boxMin.x || p.x == anchor.boxMax.x);
        EXPECT_TRUE(p.y == anchor.boxMin.y || p.y == anchor.boxMax.y);
        EXPECT_TRUE(p.z == anchor.boxMin.z || p.z == anchor.boxMax.z);
        EXPECT_GT(HullExcess(anchor, p), 1e-4);
      }
    }
    EXPECT_EQ(corners, faces == 4 ? 4 : 8);  // a tetrahedron's vertices are box corners
    EXPECT_GE(onBoxAndFace, 1);
    if (faces >= 12) {
      EXPECT_EQ(onEdges, faces / 4);
    }
  }
}

TEST(ParamModel, OutsideAndCrowdedVerticesLieInNoneAndFivePlusAnchors) {
  TempDir folder("crowd");
  ModelOptions o = Options(1500, 12, 16, 1);
  o.outside = true;
  o.crowded = true;
  const Generated g = Generate(o, folder);
  ASSERT_EQ(g.model.fanBones.size(), 6u);
  int outside = 0;
  int crowded = 0;
  for (std::size_t v = 0; v < g.mesh.positions.size(); ++v) {
    const int count = AnchorsHolding(g.skeleton, g.mesh.positions[v]);
    if (g.model.kinds[v] == VertexKind::Outside) {
      ++outside;
      EXPECT_EQ(count, 0);
    } else if (g.model.kinds[v] == VertexKind::Crowded) {
      ++crowded;
      EXPECT_GE(count, 5);
    } else {
      EXPECT_GE(count, 1);
    }
  }
  EXPECT_EQ(outside, 6);
  EXPECT_EQ(crowded, 6);
}

TEST(ParamModel, TextFilesUseTheChosenLineEnds) {
  for (LineEnd style : {LineEnd::CrLf, LineEnd::Lf}) {
    TempDir folder("lineends");
    ModelOptions o = Options(400, 3, 12, 2);
    o.lineEnd = style;
    Generated g = Generate(o, folder);
    for (const std::string* path :
         {&g.files.x, &g.files.boneData, &g.files.blendingParameters, &g.files.animation}) {
      const std::string text = ReadFileBytes(*path).value_or("");
      std::size_t lf = 0;
      std::size_t crlf = 0;
      for (std::size_t i = 0; i < text.size(); ++i) {
        lf += text[i] == '\n';
        crlf += text[i] == '\n' && i > 0 && text[i - 1] == '\r';
      }
      EXPECT_GT(lf, 0u) << *path;
      EXPECT_EQ(crlf, style == LineEnd::CrLf ? lf : 0u) << *path;
      EXPECT_EQ(text.back(), '\n') << *path;
    }
  }
}

TEST(ParamModel, BinaryAndTextFilesHoldTheSameMesh) {
  TempDir text("text");
  TempDir binary("binary");
  ModelOptions o = Options(1200, 9, 20, 1);
  o.onFaces = o.outside = true;
  const Generated a = Generate(o, text);
  o.binary = true;
  const Generated b = Generate(o, binary);
  EXPECT_EQ(a.mesh.positions, b.mesh.positions);
  EXPECT_EQ(a.mesh.normals, b.mesh.normals);
  EXPECT_EQ(a.mesh.faces, b.mesh.faces);
  EXPECT_EQ(a.mesh.normalFaces, b.mesh.normalFaces);
  EXPECT_EQ(a.mesh.uvs, b.mesh.uvs);
  EXPECT_EQ(a.mesh.faceMaterials, b.mesh.faceMaterials);
  ASSERT_EQ(a.mesh.materials.size(), b.mesh.materials.size());
  for (std::size_t i = 0; i < a.mesh.materials.size(); ++i) {
    EXPECT_EQ(a.mesh.materials[i].name, b.mesh.materials[i].name);
    EXPECT_EQ(a.mesh.materials[i].values, b.mesh.materials[i].values);
  }
  EXPECT_EQ(ReadFileBytes(b.files.x).value_or("").substr(0, 16), "xof 0303bin 0032");
}

TEST(ParamModel, SameOptionsGiveTheSameBytes) {
  TempDir first("same_a");
  TempDir second("same_b");
  ModelOptions o = Options(2500, 14, 22, 6);
  o.onFaces = o.outside = o.crowded = true;
  o.seed = 7;
  const Generated a = Generate(o, first);
  const Generated b = Generate(o, second);
  for (auto member :
       {&ModelFiles::x, &ModelFiles::boneData, &ModelFiles::blendingParameters, &ModelFiles::animation}) {
    EXPECT_EQ(ReadFileBytes(a.files.*member), ReadFileBytes(b.files.*member));
  }
  o.seed = 8;
  EXPECT_NE(BuildModel(o).animation.keys()[1].rotations, a.model.animation.keys()[1].rotations);
}

TEST(ParamModel, RefusesOptionsItCannotBuildAndWritesNothing) {
  const struct {
    ModelOptions options;
    const char* why;
  } bad[] = {{Options(1000, 4, 13, 1), "odd face count"},
             {Options(1000, 4, 2, 1), "too few faces"},
             {Options(1000, 0, 12, 1), "no bones"},
             {Options(65535, 256, 12, 1), "too many bones"},
             {Options(65536, 8, 12, 1), "too many vertices"},
             {Options(47, 8, 12, 1), "too few vertices for the bones"},
             {Options(1000, 4, 12, -1), "negative keys"}};
  for (const auto& c : bad) {
    TempDir folder("bad");
    const std::string out = folder.path("model");
    const Status s = GenerateModelFiles(c.options, out);
    EXPECT_FALSE(s) << c.why;
    EXPECT_FALSE(s.detail.empty()) << c.why;
    EXPECT_FALSE(std::filesystem::exists(out)) << c.why;
  }
  ModelOptions crowded = Options(1000, 4, 12, 1);
  EXPECT_TRUE(ApplyModelVariant(crowded, "crowded"));
  EXPECT_FALSE(ValidateModelOptions(crowded));
  EXPECT_FALSE(ApplyModelVariant(crowded, "sideways"));
  EXPECT_TRUE(ValidateModelOptions(Options(48, 8, 12, 1)));
}
}  // namespace
}  // namespace posewright
