#include <gtest/gtest.h>

#include "ScriptedShell.h"
#include "editor/Commands.h"
#include "importer/BoneDataWriter.h"
#include "importer/ImportTestSupport.h"
#include "importer/WeightAgreement.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace {
using namespace import_test;

struct ImportCommandsTest : ::testing::Test {
  Application app;
  ScriptedShell shell{app};
  Commands commands{app, shell};
  TempDir folder{"importcommands"};

  void SetUp() override { shell.keyframe.initialize(); }

  void OpenRigged(const std::string& path) {
    shell.answerFile(path);
    commands.handleCommand(CommandId::OpenRiggedModel);
  }
};

// One step: the rigged model is bound with its own skeleton and weights, the
// Bone panel's tree shows its bones, and the editor can draw and pose it.
TEST_F(ImportCommandsTest, OpenRiggedModelBindsTheFilesSkeletonAndWeights) {
  OpenRigged(KeptRig("two_roots.dae"));
  ASSERT_TRUE(shell.messages.empty()) << shell.messages.front().text << ": " << shell.messages.front().detail;
  ASSERT_EQ(shell.fileRequests.size(), 1u);
  EXPECT_EQ(shell.fileRequests[0], file_dialogs::OpenRiggedModel());
  EXPECT_TRUE(app.canDraw());
  EXPECT_EQ(app.model.skeleton.boneCount(), 5);
  EXPECT_EQ(shell.tree.entries().size(), 5u);
  EXPECT_EQ(shell.tree.entries()[1].label, BoneTreeLabel("LeftThigh", 1));
  EXPECT_EQ(shell.selected, app.boneItems[0]);
  EXPECT_EQ(shell.expanded.size(), 5u);
  EXPECT_GT(shell.modelChanges, 0);
  EXPECT_EQ(shell.busyDepth, 0);
  EXPECT_EQ(app.model.selection.selectedCount(), 0u);
  // The file's weights, not recomputed ones: the legs' vertices follow their thighs and shins.
  RiggedImport direct;
  ASSERT_TRUE(ImportRiggedModel(KeptRig("two_roots.dae"), direct));
  for (std::size_t v = 0; v < app.model.vertexCount(); ++v) {
    ASSERT_EQ(app.model.skinnedMesh.vertices[v].boneIndices, app.model.pointVertices[v].boneIndices);
    EXPECT_EQ(DominantSlotBone(app.model.skinnedMesh.vertices[v]), direct.rig.influences[v].bones[0]);
  }
  // The model saves as .skm and reads back with its bones.
  ASSERT_TRUE(WriteSkinnedMesh(app.model, folder.path("legs.skm")));
}

TEST_F(ImportCommandsTest, AFileThatCannotBeUsedLeavesTheModelAsItWas) {
  OpenRigged(KeptRig("bent_tube.glb"));
  ASSERT_TRUE(app.canDraw());
  const std::size_t entries = shell.tree.entries().size();
  const std::vector<SkinVertex> vertices = app.model.skinnedMesh.vertices;
  for (const std::string& bad : {KeptRig("quads.obj"), folder.write("broken.glb", "glTF garbage")}) {
    shell.messages.clear();
    OpenRigged(bad);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].caption, "Error");
    EXPECT_EQ(shell.messages[0].text, "File Format Error");
    EXPECT_EQ(shell.messages[0].detail.rfind(FileNameOf(bad) + ": ", 0), 0u) << shell.messages[0].detail;
    EXPECT_EQ(shell.tree.entries().size(), entries);
    EXPECT_EQ(app.model.skinnedMesh.vertices.size(), vertices.size());
    EXPECT_EQ(app.model.skeleton.boneCount(), 4);
    EXPECT_EQ(shell.busyDepth, 0);
  }
  shell.messages.clear();
  shell.cancelFile();
  commands.handleCommand(CommandId::OpenRiggedModel);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_EQ(app.model.skeleton.boneCount(), 4);
}

// File > Open Data > Mesh opens any format; the bone data dialog follows.
TEST_F(ImportCommandsTest, OpenMeshTakesAnyFormatAndTellsWhatWasLeftOut) {
  const std::string dat = folder.path("tube.dat");
  RiggedImport tube;
  ASSERT_TRUE(ImportRiggedModel(KeptRig("bent_tube.glb"), tube));
  ASSERT_TRUE(WriteBoneData(tube.rig.skeleton, dat));
  shell.answerFile(KeptRig("bent_tube.glb"), 2);
  shell.answerFile(dat);
  commands.handleCommand(CommandId::OpenMesh);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_TRUE(app.canDraw());
  EXPECT_EQ(app.model.vertexCount(), tube.mesh.sourceMesh.vertices.size());

  const std::string degenerate = folder.write("flat.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 2\n");
  shell.answerFile(degenerate, 2);
  shell.cancelFile();
  commands.handleCommand(CommandId::OpenMesh);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].caption, "Attention");
  EXPECT_EQ(shell.messages[0].text, "1 face with fewer than three distinct corners was left out.");
  EXPECT_EQ(app.model.sourceMesh.faceCount(), 1u);
}

// Save Data > Bone Data as BoneData(*.dat): the skeleton with its anchors,
// reading back as the same bones; a skeleton from a .skm (which keeps no
// anchors) gets anchors from its weights.
TEST_F(ImportCommandsTest, SaveBoneDataWritesABoneDataFile) {
  OpenRigged(KeptRig("hand.fbx"));
  ASSERT_TRUE(app.canDraw());
  shell.answerFile(folder.path("hand.dat"), kBoneDataFileFilter);
  commands.handleCommand(CommandId::SaveBoneData);
  ASSERT_TRUE(shell.messages.empty()) << shell.messages.front().detail;
  const BoneDataResult saved = ParseBoneData(*ReadFileBytes(folder.path("hand.dat")), "hand.dat");
  ASSERT_TRUE(saved.status);
  for (std::size_t b = 0; b < saved.skeleton.bones.size(); ++b) {
    EXPECT_EQ(saved.skeleton.bones[b].begin, app.model.skeleton.bones[b].begin);
    EXPECT_EQ(saved.skeleton.anchors[b].vertices, app.model.skeleton.anchors[b].vertices);
  }

  ASSERT_TRUE(WriteSkinnedMesh(app.model, folder.path("hand.skm")));
  shell.answerFile(folder.path("hand.skm"));
  commands.handleCommand(CommandId::OpenSkinnedMesh);
  ASSERT_TRUE(app.canDraw());
  EXPECT_EQ(app.model.skeleton.anchors[1].faceCount(), 0);
  shell.answerFile(folder.path("fromskm.dat"), kBoneDataFileFilter);
  commands.handleCommand(CommandId::SaveBoneData);
  ASSERT_TRUE(shell.messages.empty()) << shell.messages.front().detail;
  BoneDataResult fromSkm = ParseBoneData(*ReadFileBytes(folder.path("fromskm.dat")), "fromskm.dat");
  ASSERT_TRUE(fromSkm.status) << fromSkm.status.detail;
  SkinnedModel check = app.model;
  check.skeleton.anchors = fromSkm.skeleton.anchors;
  std::vector<VertexInfluences> current;
  for (const SkinVertex& v : app.model.skinnedMesh.vertices) current.push_back(InfluencesOf(v));
  const WeightAgreement agreement = MeasureWeightAgreement(check, current);
  EXPECT_GE(agreement.coverage.fewest, 1);
  EXPECT_LE(agreement.coverage.most, 4);

  // The .bnf type still writes bone information.
  shell.answerFile(folder.path("hand.bnf"), 1);
  commands.handleCommand(CommandId::SaveBoneData);
  EXPECT_NE(ReadFileBytes(folder.path("hand.bnf"))->find("\r\n1 0 0.0000 0.0000 0.0000\r\n"),
            std::string::npos);
}
}  // namespace
}  // namespace posewright
