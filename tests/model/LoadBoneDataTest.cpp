#include <gtest/gtest.h>

#include "model/LoadBoneData.h"
#include "support/BoneDataText.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
// A loaded, not yet bound mesh of three vertices.
SkinnedModel LoadedModel() {
  SkinnedModel m;
  m.sourceMesh.vertices.resize(3);
  m.sourceMesh.vertices[2].position = D3DXVECTOR3(1, 2, 3);
  m.sourceMesh.indices = {0, 1, 2};
  m.meshLoaded = true;
  return m;
}

TEST(LoadBoneData, BindsTheLoadedMeshAndReplacesTheSkeleton) {
  TempDir dir;
  const std::string file = dir.write("load_ok.dat", kExampleBoneData);
  SkinnedModel m = LoadedModel();
  const Status s = LoadBoneData(m, file);
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_TRUE(m.sourceMesh.vertices.empty());
  ASSERT_EQ(m.vertexCount(), 3u);
  EXPECT_EQ(m.skinnedMesh.vertices[2].position, D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(m.pointVertices.size(), 3u);
  EXPECT_EQ(m.selection.vertexCount(), 3u);
  EXPECT_TRUE(m.bonesLoaded());
  EXPECT_EQ(m.skeleton.boneCount(), 2);
  EXPECT_EQ(m.skeleton.bones[1].name, "Arm");

  // A second skeleton for the same, already bound mesh keeps its vertices and
  // starts with nothing selected.
  m.selection.selected[1] = 1;
  const std::string deeper = dir.write("load_deeper.dat", BoneDataWithParents({0, 1}));
  ASSERT_TRUE(LoadBoneData(m, deeper).ok);
  ASSERT_EQ(m.vertexCount(), 3u);
  EXPECT_EQ(m.skinnedMesh.vertices[2].position, D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(m.selection.selectedCount(), 0u);
  EXPECT_EQ(m.skeleton.boneCount(), 3);
}

TEST(LoadBoneData, FailedReadLeavesTheModelAsItWas) {
  TempDir dir;
  const std::string good = dir.write("keep_good.dat", kExampleBoneData);
  const std::string bad =
      dir.write("keep_bad.dat", ReplaceLine(BoneDataWithParents({0, 1, 2}), 6, "ParentID: 5\n"));
  SkinnedModel m = LoadedModel();
  ASSERT_TRUE(LoadBoneData(m, good).ok);
  m.skinnedMesh.vertices[1].blendWeights[0] = 0.25f;
  m.skeleton.blendParams[1].R = 2.5f;
  m.selection.selected[0] = 1;

  const Status s = LoadBoneData(m, bad);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "File Format Error");
  EXPECT_NE(s.detail.find("keep_bad.dat, line 6"), std::string::npos) << s.detail;
  EXPECT_EQ(m.skeleton.boneCount(), 2);
  EXPECT_TRUE(m.bonesLoaded());
  EXPECT_EQ(m.skeleton.blendParams[1].R, 2.5f);
  EXPECT_EQ(m.skinnedMesh.vertices[1].blendWeights[0], 0.25f);
  EXPECT_EQ(m.selection.selected[0], 1);
}

TEST(LoadBoneData, FailedReadDoesNotBindANewMesh) {
  TempDir dir;
  const std::string bad = dir.write("unbound_bad.dat", "numBones: 0\n");
  SkinnedModel m = LoadedModel();
  EXPECT_FALSE(LoadBoneData(m, bad).ok);
  EXPECT_EQ(m.sourceMesh.vertices.size(), 3u);
  EXPECT_TRUE(m.skinnedMesh.vertices.empty());
  EXPECT_FALSE(m.bonesLoaded());
}

TEST(LoadBoneData, RefusedWithoutAMesh) {
  TempDir dir;
  const std::string file = dir.write("nomesh.dat", kExampleBoneData);
  SkinnedModel empty;
  const Status s = LoadBoneData(empty, file);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "Mesh has not been loaded yet.");
  EXPECT_FALSE(empty.bonesLoaded());
}
}  // namespace
}  // namespace posewright
