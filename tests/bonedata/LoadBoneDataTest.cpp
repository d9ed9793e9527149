#include <gtest/gtest.h>

#include "BoneDataText.h"
#include "TempFile.h"
#include "skeleton/RecordingBoneTree.h"
#include "skin/LoadBoneData.h"

namespace {
// A loaded, not yet bound mesh of three vertices; the bind step stands in for
// the mesh binding by converting the vertices and counting its calls.
struct LoadedModel {
  SkinnedModel model;
  int binds = 0;
  BindMeshStep bind = [this](SkinnedModel& m) {
    ++binds;
    for (const MeshVertex& v : m.sourceMesh.vertices) {
      SkinVertex s;
      s.position = v.position;
      m.skinnedMesh.vertices.push_back(s);
    }
    m.sourceMesh = SourceMesh{};
    m.selection.reset(m.skinnedMesh.vertices.size());
  };

  LoadedModel() {
    model.sourceMesh.vertices.resize(3);
    model.meshLoaded = true;
  }
};

TEST(LoadBoneData, BindsTheLoadedMeshAndReplacesTheSkeleton) {
  TempFile file("load_ok.dat", kExampleBoneData);
  LoadedModel m;
  RecordingBoneTree tree;
  const Status s = LoadBoneData(m.model, file.path(), tree, m.bind);
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(m.binds, 1);
  EXPECT_EQ(m.model.vertexCount(), 3u);
  EXPECT_TRUE(m.model.bonesLoaded());
  EXPECT_EQ(m.model.skeleton.boneCount(), 2);
  EXPECT_EQ(tree.entry(m.model.skeleton.treeItems[1]).label, "Arm ( 1 ) ");

  // A second skeleton for the same, already bound mesh: no second bind.
  TempFile deeper("load_deeper.dat", BoneDataWithParents({0, 1}));
  ASSERT_TRUE(LoadBoneData(m.model, deeper.path(), tree, m.bind).ok);
  EXPECT_EQ(m.binds, 1);
  EXPECT_EQ(m.model.skeleton.boneCount(), 3);
  EXPECT_EQ(tree.entries().size(), 3u);
}

TEST(LoadBoneData, FailedReadLeavesModelAndTreeAsTheyWere) {
  TempFile good("keep_good.dat", kExampleBoneData);
  TempFile bad("keep_bad.dat", ReplaceLine(BoneDataWithParents({0, 1, 2}), 6, "ParentID: 5\n"));
  LoadedModel m;
  RecordingBoneTree tree;
  ASSERT_TRUE(LoadBoneData(m.model, good.path(), tree, m.bind).ok);
  m.model.skinnedMesh.vertices[1].blendWeights[0] = 0.25f;
  m.model.skeleton.blendParams[1].R = 2.5f;

  const Status s = LoadBoneData(m.model, bad.path(), tree, m.bind);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "File Format Error");
  EXPECT_NE(s.detail.find("keep_bad.dat, line 6"), std::string::npos) << s.detail;
  EXPECT_EQ(m.model.skeleton.boneCount(), 2);
  EXPECT_TRUE(m.model.bonesLoaded());
  EXPECT_EQ(m.model.skeleton.blendParams[1].R, 2.5f);
  EXPECT_EQ(m.model.skinnedMesh.vertices[1].blendWeights[0], 0.25f);
  EXPECT_EQ(tree.entries().size(), 2u);
  EXPECT_EQ(tree.clearCount(), 1);
}

TEST(LoadBoneData, FailedReadDoesNotBindANewMesh) {
  TempFile bad("unbound_bad.dat", "numBones: 0\n");
  LoadedModel m;
  RecordingBoneTree tree;
  EXPECT_FALSE(LoadBoneData(m.model, bad.path(), tree, m.bind).ok);
  EXPECT_EQ(m.binds, 0);
  EXPECT_EQ(m.model.sourceMesh.vertices.size(), 3u);
  EXPECT_FALSE(m.model.bonesLoaded());
}

TEST(LoadBoneData, RefusedWithoutAMesh) {
  TempFile file("nomesh.dat", kExampleBoneData);
  SkinnedModel empty;
  RecordingBoneTree tree;
  int binds = 0;
  const Status s = LoadBoneData(empty, file.path(), tree, [&](SkinnedModel&) { ++binds; });
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "Mesh has not been loaded yet.");
  EXPECT_EQ(binds, 0);
  EXPECT_FALSE(empty.bonesLoaded());
  EXPECT_TRUE(tree.entries().empty());

  // A mesh that is loaded but cannot be bound (no bind step) is refused alike.
  LoadedModel m;
  EXPECT_EQ(LoadBoneData(m.model, file.path(), tree, nullptr).message, "Mesh has not been loaded yet.");
  EXPECT_FALSE(m.model.bonesLoaded());
}
}  // namespace
