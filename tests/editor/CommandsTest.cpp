#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "ScriptedShell.h"
#include "editor/Commands.h"
#include "fileio/FileBytes.h"
#include "importer/MeshFormats.h"
#include "model/SkinnedMeshFile.h"
#include "support/BoxBoneData.h"
#include "support/MathMatchers.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

// The textured cube of the shared test data (corners at ±0.82, texture
// ".\test.png" beside it) and a skeleton whose bone 1 holds the upper half
// and bone 2 the lower half of it.
const std::string kCubeBones =
    fixtures::BoxBoneDataText({0, -1, 0}, {0, 0, 0},
                              {{"Upper", 0, {0, 0, 0}, {0, 1, 0}, {-2, 0, -2}, {2, 2, 2}},
                               {"Lower", 0, {0, 0, 0}, {0, -1, 0}, {-2, -2, -2}, {2, 0, 2}}});

struct CommandsTest : ::testing::Test {
  Application app;
  ScriptedShell shell{app};
  Commands commands{app, shell};
  TempDir folder{"commands"};
  fs::path startFolder = fs::current_path();

  void SetUp() override {
    shell.keyframe.initialize();
    const fs::path data = fs::path(SharedTestDataDir()) / "x";
    fs::copy_file(data / "test.x", folder.path() / "cube.x");
    fs::copy_file(data / "test.png", folder.path() / "test.png");
    Write("cube.dat", kCubeBones);
  }
  void TearDown() override { fs::current_path(startFolder); }

  std::string Path(const std::string& name) const { return folder.path(name); }
  std::string Write(const std::string& name, const std::string& text) {
    EXPECT_TRUE(WriteFileAtomically(Path(name), text));
    return Path(name);
  }
  void OpenCube() {
    const std::size_t before = shell.messages.size();
    shell.answerFile(Path("cube.x"));
    shell.answerFile(Path("cube.dat"));
    commands.handleCommand(CommandId::OpenMesh);
    ASSERT_EQ(shell.messages.size(), before)
        << shell.messages.back().text << ": " << shell.messages.back().detail;
    ASSERT_TRUE(app.canDraw());
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : shell.messages) texts.push_back(m.caption + ": " + m.text);
    return texts;
  }
};

TEST_F(CommandsTest, OpenMeshBindsWeightsAndSelectsTheRoot) {
  OpenCube();
  ASSERT_EQ(shell.fileRequests.size(), 2u);
  EXPECT_EQ(shell.fileRequests[0], file_dialogs::OpenMesh());
  EXPECT_EQ(shell.fileRequests[1], file_dialogs::OpenBoneData());
  EXPECT_EQ(app.model.skeleton.boneCount(), 3);
  // The texture named in the .x file resolved against the file's folder.
  ASSERT_EQ(app.model.textures.size(), 1u);
  EXPECT_NE(app.model.textures[0], nullptr);
  // Every vertex got the bone of its half.
  for (const SkinVertex& v : app.model.skinnedMesh.vertices) {
    EXPECT_EQ(v.boneIndex(0), v.position.y > 0 ? 1 : 2) << v.position.y;
  }
  EXPECT_EQ(shell.tree.entries().size(), 3u);
  EXPECT_EQ(shell.selected, app.boneItems[0]);
  EXPECT_NE(shell.selected, 0u);
  // The camera was refreshed from its start values, not moved.
  EXPECT_FLOAT_EQ(app.camera.distance, 8.0f);
  EXPECT_FLOAT_EQ(app.camera.projection._22, 2.0f / 6.0f);
  EXPECT_EQ(shell.repaintedPanels.back(), PanelId::Bone);
  EXPECT_EQ(shell.busyDepth, 0);
  EXPECT_GT(shell.busyCount, 0);
}

TEST_F(CommandsTest, OpenMeshOffersTheBoneDialogAfterACancelledMeshDialog) {
  shell.cancelFile();
  shell.answerFile(Path("cube.dat"));
  commands.handleCommand(CommandId::OpenMesh);
  EXPECT_EQ(shell.fileRequests.size(), 2u);
  // No mesh to bind: refused with its own message, nothing loaded.
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: Mesh has not been loaded yet."});
  EXPECT_FALSE(app.model.bonesLoaded());
  EXPECT_TRUE(shell.tree.entries().empty());
  EXPECT_EQ(shell.repaintedPanels, std::vector<PanelId>{PanelId::Bone});
}

TEST_F(CommandsTest, OpenMeshReportsBadFilesWithTheirReason) {
  Write("broken.x", "xof 0303txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, }\n");
  Write("broken.dat", "numBones: 2\nroot_point: 0 0 0\nend_point: 0 1 0\nName: A\nID: 1\n");
  shell.answerFile(Path("broken.x"));
  shell.answerFile(Path("broken.dat"));
  commands.handleCommand(CommandId::OpenMesh);
  ASSERT_EQ(shell.messages.size(), 2u);
  EXPECT_EQ(shell.messages[0].caption, "Error");
  EXPECT_NE(shell.messages[0].detail.find("broken.x"), std::string::npos) << shell.messages[0].detail;
  // The bone dialog still followed; with no mesh it is refused.
  EXPECT_EQ(shell.messages[1].text, "Mesh has not been loaded yet.");

  // A bad bone file for a good mesh: "File Format Error" naming the file.
  shell.messages.clear();
  shell.answerFile(Path("cube.x"));
  shell.answerFile(Path("broken.dat"));
  commands.handleCommand(CommandId::OpenMesh);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].text, "File Format Error");
  EXPECT_EQ(shell.messages[0].caption, "Error");
  EXPECT_NE(shell.messages[0].detail.find("broken.dat"), std::string::npos) << shell.messages[0].detail;
  EXPECT_TRUE(app.model.meshLoaded);
  EXPECT_FALSE(app.model.bonesLoaded());
  EXPECT_FALSE(app.canDraw());
}

// A new mesh replaces the one the skeleton was bound to, so the skeleton goes
// with it: when the bone data step is cancelled or refused, nothing is drawn,
// the Bone panel is empty and Save says bone data is missing, until the mesh
// gets its bone data.
TEST_F(CommandsTest, ANewMeshWithoutItsBoneDataReleasesTheOldSkeleton) {
  Write("broken.dat", "numBones: 0\n");
  for (const bool cancelled : {true, false}) {
    SCOPED_TRACE(cancelled ? "bone data dialog cancelled" : "bone data refused");
    OpenCube();
    shell.messages.clear();
    const int clears = shell.clears;
    shell.answerFile(Path("cube.x"));
    if (cancelled) {
      shell.cancelFile();
    } else {
      shell.answerFile(Path("broken.dat"));
    }
    commands.handleCommand(CommandId::OpenMesh);
    EXPECT_EQ(MessageTexts(),
              cancelled ? std::vector<std::string>{} : std::vector<std::string>{"Error: File Format Error"});
    EXPECT_TRUE(app.model.meshLoaded);
    EXPECT_FALSE(app.model.bonesLoaded());
    EXPECT_EQ(app.model.skeleton.boneCount(), 0);
    EXPECT_FALSE(app.canDraw());
    EXPECT_TRUE(shell.tree.entries().empty());
    EXPECT_TRUE(app.boneItems.empty());
    EXPECT_EQ(shell.selected, 0u);
    EXPECT_EQ(shell.clears, clears + 1);  // the old model's picture is gone

    // Save, in either format, says what is missing and writes nothing.
    for (const int filter : {kSkinnedMeshFilter, kDirectXFilter}) {
      shell.messages.clear();
      shell.answerFile(Path("unbound.skm"), filter);
      commands.handleCommand(CommandId::SaveSkinnedMesh);
      EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: Bone data has not been loaded yet."});
      ASSERT_EQ(shell.messages.size(), 1u);
      EXPECT_NE(shell.messages[0].detail.find(".dat"), std::string::npos) << shell.messages[0].detail;
      EXPECT_EQ(shell.options.runs, 0);
      EXPECT_FALSE(fs::exists(Path("unbound.skm")));
    }

    // The waiting mesh takes its bone data later: mesh dialog cancelled, .dat chosen.
    shell.messages.clear();
    shell.cancelFile();
    shell.answerFile(Path("cube.dat"));
    commands.handleCommand(CommandId::OpenMesh);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(app.canDraw());
    EXPECT_EQ(shell.tree.entries().size(), 3u);
  }
}

// A skinned .x whose bones the skeleton does not have drops the skeleton: the
// last picture goes with it and Save says bone data is missing.
TEST_F(CommandsTest, ASkinnedXImportThatDropsTheSkeletonClearsTheViewAndSaveSaysWhy) {
  OpenCube();
  shell.answerFile(Path("cube_export.x"), kDirectXFilter);
  shell.options.enteredText = "60";
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  ASSERT_TRUE(shell.messages.empty());
  std::string renamed = kCubeBones;
  renamed.replace(renamed.find("Upper"), 5, "Top");
  Write("renamed.dat", renamed);
  shell.answerFile(Path("cube.x"));
  shell.answerFile(Path("renamed.dat"));
  commands.handleCommand(CommandId::OpenMesh);
  ASSERT_TRUE(app.canDraw());

  const int clears = shell.clears;
  shell.answerFile(Path("cube_export.x"), kDirectXFilter);
  commands.handleCommand(CommandId::OpenSkinnedMesh);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_TRUE(app.model.meshLoaded);
  EXPECT_FALSE(app.model.bonesLoaded());
  EXPECT_TRUE(shell.tree.entries().empty());
  EXPECT_EQ(shell.clears, clears + 1);
  shell.answerFile(Path("unbound.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: Bone data has not been loaded yet."});
}

TEST_F(CommandsTest, NewAsksThenClearsTheModelButKeepsCounterCameraAndViewFlags) {
  OpenCube();
  commands.handleCommand(CommandId::AnimationAdd);
  commands.handleKey(FunctionKey::F1);
  commands.handleKey(FunctionKey::F5);
  app.animation.currentTime = 12;
  const float pitch = app.camera.pitch;

  // The added animation is unsaved work: New asks about it first.
  shell.saveAnswers = {SaveChangesAnswer::Discard};
  shell.answers = {false};
  commands.handleCommand(CommandId::New);
  EXPECT_TRUE(app.canDraw());
  EXPECT_EQ(app.animation.animations.size(), 1);
  EXPECT_EQ(shell.clears, 0);

  shell.saveAnswers = {SaveChangesAnswer::Discard};
  shell.answers = {true};
  commands.handleCommand(CommandId::New);
  EXPECT_EQ(shell.questions.back(), "Attention: All Data will be erased.Proceed?");
  EXPECT_FALSE(app.model.meshLoaded);
  EXPECT_FALSE(app.model.bonesLoaded());
  EXPECT_EQ(app.model.skeleton.boneCount(), 0);
  EXPECT_EQ(app.model.vertexCount(), 0u);
  EXPECT_TRUE(app.model.textures.empty());
  EXPECT_TRUE(shell.tree.entries().empty());
  EXPECT_TRUE(app.animation.animations.empty());
  EXPECT_EQ(shell.clears, 1);
  EXPECT_EQ(app.animation.currentTime, 12);
  EXPECT_FLOAT_EQ(app.camera.pitch, pitch);
  EXPECT_TRUE(app.gridXZ);
  EXPECT_EQ(shell.keyframeView.title, "Keyframe : Unnamed(1)");

  // A second New has no tree to empty; it only clears the viewport again.
  const int treeClears = shell.tree.clearCount();
  shell.answers = {true};
  commands.handleCommand(CommandId::New);
  EXPECT_EQ(shell.tree.clearCount(), treeClears);
  EXPECT_EQ(shell.clears, 2);

  commands.handleCommand(CommandId::AnimationAdd);
  EXPECT_EQ(shell.keyframeView.title, "Keyframe : Unnamed(2)");
}

TEST_F(CommandsTest, FillModeKeysAndMenuItems) {
  commands.handleKey(FunctionKey::F9);
  EXPECT_EQ(app.fillMode, FillMode::Wireframe);
  commands.handleKey(FunctionKey::F9);
  EXPECT_EQ(app.fillMode, FillMode::Solid);
  commands.handleCommand(CommandId::Wireframe);
  commands.handleCommand(CommandId::Wireframe);  // sets, does not toggle
  EXPECT_EQ(app.fillMode, FillMode::Wireframe);
  commands.handleKey(FunctionKey::F9);
  EXPECT_EQ(app.fillMode, FillMode::Solid);
  commands.handleCommand(CommandId::Solid);
  EXPECT_EQ(app.fillMode, FillMode::Solid);
  app.fillMode = FillMode::Point;
  commands.handleKey(FunctionKey::F9);
  EXPECT_EQ(app.fillMode, FillMode::Point);
}

TEST_F(CommandsTest, GridKeysToggleOnlyTheirGridAndCheckMark) {
  commands.handleKey(FunctionKey::F7);
  EXPECT_TRUE(app.gridXY);
  EXPECT_FALSE(app.gridXZ);
  EXPECT_FALSE(app.gridYZ);
  EXPECT_EQ(shell.checks, (std::map<CheckItem, bool>{{CheckItem::GridXY, true}}));
  commands.handleCommand(CommandId::GridXY);
  EXPECT_FALSE(app.gridXY);
  EXPECT_EQ(shell.checks[CheckItem::GridXY], false);
  commands.handleKey(FunctionKey::F5);
  commands.handleKey(FunctionKey::F6);
  EXPECT_TRUE(app.gridXZ);
  EXPECT_TRUE(app.gridYZ);
  EXPECT_TRUE(shell.checks[CheckItem::GridXZ]);
  EXPECT_TRUE(shell.checks[CheckItem::GridYZ]);
}

TEST_F(CommandsTest, PointModeClearsTheSelectionToADescendingList) {
  commands.handleKey(FunctionKey::F8);  // no mesh: only the mode changes
  EXPECT_TRUE(app.vertexMode);
  EXPECT_TRUE(shell.checks[CheckItem::Point]);
  OpenCube();
  const std::size_t n = app.model.vertexCount();
  app.model.selection.selected[0] = 1;
  app.model.selection.selected[5] = 1;
  RebuildPointList(app.model.selection);
  commands.handleCommand(CommandId::Point);
  EXPECT_FALSE(app.vertexMode);
  EXPECT_FALSE(shell.checks[CheckItem::Point]);
  EXPECT_EQ(app.model.selection.unselectedCount, n);
  EXPECT_EQ(app.model.selection.selectedCount(), 0u);
  ASSERT_EQ(app.model.selection.pointList.size(), n);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(app.model.selection.pointList[i], n - 1 - i);
  }
}

TEST_F(CommandsTest, CameraKeys) {
  commands.handleKey(FunctionKey::F1);
  EXPECT_FLOAT_EQ(app.camera.pitch, -1.5707964f);
  EXPECT_FLOAT_EQ(app.camera.yaw, 0.0f);
  commands.handleKey(FunctionKey::F2);
  EXPECT_FLOAT_EQ(app.camera.pitch, 0.0f);
  EXPECT_FLOAT_EQ(app.camera.yaw, -1.5707964f);
  // F4 does nothing until mesh and skeleton are loaded.
  app.camera.target = {1, 2, 3};
  commands.handleKey(FunctionKey::F4);
  EXPECT_FLOAT_EQ(app.camera.target.x, 1.0f);
  OpenCube();
  commands.handleKey(FunctionKey::F4);  // nothing selected: the origin
  EXPECT_FLOAT_EQ(app.camera.target.x, 0.0f);
  EXPECT_FLOAT_EQ(app.camera.target.z, 0.0f);
  // The right face of the cube: its centre is (0.82, middle height, 0).
  app.model.selection.selected.assign(app.model.vertexCount(), 0);
  float low = 1e9f, high = -1e9f;
  for (std::size_t i = 0; i < app.model.vertexCount(); ++i) {
    const D3DXVECTOR3& p = app.model.skinnedMesh.vertices[i].position;
    if (p.x > 0) {
      app.model.selection.selected[i] = 1;
      low = std::min(low, p.y);
      high = std::max(high, p.y);
    }
  }
  commands.handleKey(FunctionKey::F4);
  EXPECT_FLOAT_EQ(app.camera.target.x, 0.820374f);
  EXPECT_FLOAT_EQ(app.camera.target.y, 0.5f * low + 0.5f * high);
  EXPECT_NEAR(app.camera.target.z, 0.0f, 1e-6f);
  // Refreshed: the target is in the middle of the view.
  D3DXVECTOR3 inView;
  D3DXVec3TransformCoord(&inView, &app.camera.target, &app.camera.view);
  EXPECT_NEAR(inView.x, 0.0f, 1e-5f);
  EXPECT_NEAR(inView.y, 0.0f, 1e-5f);
}

TEST_F(CommandsTest, SaveSkinnedMeshWritesTheChosenFileOrSaysWhy) {
  shell.cancelFile();
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: Mesh Save Error"});
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::SaveSkinnedMesh());
  EXPECT_EQ(shell.fileRequests.back().preselectedFilter, 2);

  OpenCube();
  shell.messages.clear();
  shell.answerFile(Path("cube.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_TRUE(shell.messages.empty());
  SkinnedModel back;
  ASSERT_TRUE(ReadSkinnedMesh(back, Path("cube.skm")));
  EXPECT_EQ(back.vertexCount(), app.model.vertexCount());

  shell.answerFile(Path("missing/cube.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].caption, "Error");
  EXPECT_NE(shell.messages[0].detail.find("missing"), std::string::npos);
}

TEST_F(CommandsTest, DirectXFilterExportsThroughTheOptionDialog) {
  OpenCube();
  commands.handleCommand(CommandId::AnimationAdd);
  shell.answerFile(Path("cube_export.x"), kDirectXFilter);
  shell.options.enteredText = "4800";
  shell.options.enteredAllFrames = true;
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(shell.options.shownText, "60");
  EXPECT_TRUE(shell.messages.empty());
  const std::string written = ReadFileBytes(Path("cube_export.x")).value_or("");
  EXPECT_EQ(written.rfind("xof 0303txt 0032", 0), 0u);
  EXPECT_NE(written.find("SkinWeights"), std::string::npos);

  // The next export proposes the value confirmed last; Cancel writes nothing.
  shell.answerFile(Path("cancelled.x"), kDirectXFilter);
  shell.options.accept = false;
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(shell.options.shownText, "4800");
  EXPECT_FALSE(fs::exists(Path("cancelled.x")));
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].caption, "Save *.x");
  EXPECT_EQ(shell.messages[0].text, "ファイルの保存をキャンセルしました");
}

TEST_F(CommandsTest, GltfTypesExportEveryListedAnimationUnderItsName) {
  shell.answerFile(Path("nothing.glb"), kGlbFilter);
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Save glTF: Mesh Save Error"});
  EXPECT_FALSE(fs::exists(Path("nothing.glb")));

  OpenCube();
  shell.messages.clear();
  for (const char* name : {"arm", "wave"}) {
    Animation animation;
    animation.name = name;
    animation.boneCount = 3;
    const std::vector<D3DXQUATERNION> rest(3), turned(3, D3DXQUATERNION(0.0f, 0.6f, 0.0f, 0.8f));
    animation.InsertKey(rest, 0);
    animation.InsertKey(turned, 30);
    app.animation.animations.AppendAnimation(animation);
  }
  // Each type writes its container; a name typed without an extension gets
  // the chosen type's.
  for (const auto& [typed, filter, written] : {std::tuple{"cube_b", kGlbFilter, "cube_b.glb"},
                                               std::tuple{"cube_t.gltf", kGltfFilter, "cube_t.gltf"}}) {
    shell.answerFile(Path(typed), filter);
    commands.handleCommand(CommandId::SaveSkinnedMesh);
    EXPECT_TRUE(shell.messages.empty()) << shell.messages.front().detail;
    const std::string bytes = ReadFileBytes(Path(written)).value_or("");
    const std::size_t json = bytes.find("{\"");
    ASSERT_NE(json, std::string::npos) << written;
    EXPECT_EQ(bytes.rfind("glTF", 0) == 0, filter == kGlbFilter) << written;
    EXPECT_NE(bytes.find(R"("name":"arm")", json), std::string::npos) << written;
    EXPECT_NE(bytes.find(R"("name":"wave")", json), std::string::npos) << written;
  }
  EXPECT_TRUE(fs::exists(Path("cube_t.bin")));
  EXPECT_TRUE(fs::exists(Path("cube_t_test.png")));
}

TEST_F(CommandsTest, OpenSkinnedMeshRebuildsTreeSelectsRootAndExpandsEveryBone) {
  OpenCube();
  shell.answerFile(Path("cube.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::SaveSkinnedMesh);
  shell.answers = {true};
  commands.handleCommand(CommandId::New);
  const TempDir elsewhere("elsewhere");
  fs::current_path(elsewhere.path());  // names resolve against the file's folder, not here

  const int clearsBefore = shell.tree.clearCount();
  shell.answerFile(Path("cube.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::OpenSkinnedMesh);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::OpenSkinnedMesh());
  ASSERT_TRUE(app.canDraw());
  EXPECT_NE(app.model.textures[0], nullptr);
  EXPECT_EQ(shell.tree.clearCount(), clearsBefore + 1);
  ASSERT_EQ(shell.tree.entries().size(), 3u);
  EXPECT_EQ(shell.tree.entries()[1].label, "Upper ( 1 ) ");
  EXPECT_EQ(shell.selected, app.boneItems[0]);
  EXPECT_EQ(shell.expanded, app.boneItems);

  // A broken file changes neither the model nor the tree.
  Write("broken.skm", "garbage\n");
  shell.answerFile(Path("broken.skm"), kSkinnedMeshFilter);
  commands.handleCommand(CommandId::OpenSkinnedMesh);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].text, "File Format Error");
  EXPECT_EQ(shell.tree.entries().size(), 3u);
  EXPECT_TRUE(app.canDraw());

  // Cancelled: only the Bone panel is repainted.
  shell.repaintedPanels.clear();
  shell.cancelFile();
  commands.handleCommand(CommandId::OpenSkinnedMesh);
  EXPECT_EQ(shell.repaintedPanels, std::vector<PanelId>{PanelId::Bone});
}

TEST_F(CommandsTest, BlendingParametersNeedASkeletonAndReachTheReaderAndWriter) {
  commands.handleCommand(CommandId::OpenBlendingParameters);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: Bone data has not been loaded yet."});
  EXPECT_TRUE(shell.fileRequests.empty());

  OpenCube();
  shell.messages.clear();
  Write("cube.prm", "1 2 0.5000 0.2500\r\n");
  shell.answerFile(Path("cube.prm"));
  commands.handleCommand(CommandId::OpenBlendingParameters);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::OpenBlendingParameters());
  EXPECT_FLOAT_EQ(app.model.skeleton.blendParams[1].R, 0.5f);
  EXPECT_EQ(app.model.skeleton.bones[1].symmetricId, 2);

  shell.answerFile(Path("out.prm"));
  commands.handleCommand(CommandId::SaveBlendingParameters);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::SaveBlendingParameters());
  EXPECT_EQ(ReadFileBytes(Path("out.prm")).value_or("").substr(0, 19), "1 2 0.5000 0.2500\r\n");

  shell.answerFile(Path("out.bnf"));
  commands.handleCommand(CommandId::SaveBoneData);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::SaveBoneData());
  EXPECT_TRUE(fs::exists(Path("out.bnf")));
  EXPECT_TRUE(shell.messages.empty());
}

TEST_F(CommandsTest, AnimationFilesOpenUnderTheirNameAndSaveTheCurrentOne) {
  OpenCube();
  // With no animation the save says so instead of writing nothing.
  commands.handleCommand(CommandId::SaveAnimation);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"error: No animations Exist"});
  shell.messages.clear();

  Write("walk.anm", "NumBones: 3\r\nTime: 0\r\nQuaternions: \r\n0 0 0 1\r\n0 0 0 1\r\n0 0 0 1\r\n");
  shell.answerFile(Path("walk.anm"));
  commands.handleCommand(CommandId::OpenAnimation);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::OpenAnimation());
  EXPECT_EQ(shell.keyframeView.title, "Keyframe : walk.anm");
  ASSERT_EQ(app.animation.animations.size(), 1);
  EXPECT_EQ(app.animation.animations.current()->keys().size(), 1u);
  EXPECT_TRUE(shell.messages.empty());

  shell.answerFile(Path("copy.anm"));
  commands.handleCommand(CommandId::SaveAnimation);
  EXPECT_EQ(shell.fileRequests.back(), file_dialogs::SaveAnimation());
  EXPECT_EQ(ReadFileBytes(Path("copy.anm")).value_or(""),
            "NumBones: 3\r\nTime: 0\r\nQuaternions: \r\n0.0000 0.0000 0.0000 1.0000\r\n"
            "0.0000 0.0000 0.0000 1.0000\r\n0.0000 0.0000 0.0000 1.0000\r\n");

  // A file that breaks off is still appended, and the reason is shown.
  Write("bad.anm", "NumBones: 7\r\n");
  shell.answerFile(Path("bad.anm"));
  commands.handleCommand(CommandId::OpenAnimation);
  EXPECT_EQ(app.animation.animations.size(), 2);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_NE(shell.messages[0].detail.find("bad.anm"), std::string::npos);
}

// An animation added before any model takes its bone count from the
// skeleton its first keyframe is recorded on, so its file holds every
// recorded rotation and opens again with that model.
TEST_F(CommandsTest, AnAnimationAddedBeforeTheModelSavesAndReopensItsKeys) {
  commands.handleCommand(CommandId::AnimationAdd);
  OpenCube();
  Skeleton& skeleton = app.model.skeleton;
  for (const int t : {0, 30, 60}) {
    SetBonePose(skeleton.bones[1], AxisAngle(1, 0, 0, 0.01f * static_cast<float>(t)));
    SetBonePose(skeleton.bones[2], AxisAngle(0, 0, 1, -0.02f * static_cast<float>(t)));
    shell.keyframe.sliderMoved(t);
    shell.keyframe.addPressed(skeleton);
  }
  shell.answerFile(Path("arm.anm"));
  commands.handleCommand(CommandId::SaveAnimation);
  shell.answerFile(Path("arm.anm"));
  commands.handleCommand(CommandId::OpenAnimation);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{});

  ASSERT_EQ(app.animation.animations.size(), 2);
  const Animation& recorded = app.animation.animations.at(0);
  const Animation& reopened = app.animation.animations.at(1);
  ASSERT_EQ(recorded.keys().size(), 3u);
  ASSERT_EQ(reopened.keys().size(), recorded.keys().size());
  for (std::size_t k = 0; k < recorded.keys().size(); ++k) {
    EXPECT_EQ(reopened.keys()[k].time, recorded.keys()[k].time);
    ASSERT_EQ(reopened.keys()[k].rotations.size(), 3u);
    for (std::size_t b = 0; b < 3; ++b) {
      ExpectNear(reopened.keys()[k].rotations[b], recorded.keys()[k].rotations[b], 1e-4f);
    }
  }
}

TEST_F(CommandsTest, WindowCommands) {
  commands.handleCommand(CommandId::Weight);
  commands.handleCommand(CommandId::Rotate);
  EXPECT_EQ(shell.shownPanels, (std::vector<PanelId>{PanelId::WeightControl, PanelId::BoneControl}));
  commands.handleCommand(CommandId::AnimationName);
  commands.handleCommand(12345);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_FALSE(shell.closeRequested);
  commands.handleCommand(CommandId::Exit);
  EXPECT_TRUE(shell.closeRequested);
}

TEST(FileDialogSettings, MatchTheCommandTable) {
  using K = FileDialogRequest::Kind;
  const auto check = [](const FileDialogRequest& r, K kind, std::vector<FileFilter> filters, int preselected,
                        const std::string& extension, bool mustExist, bool askOverwrite) {
    EXPECT_EQ(r.kind, kind);
    EXPECT_EQ(r.filters, filters);
    EXPECT_EQ(r.preselectedFilter, preselected);
    EXPECT_EQ(r.defaultExtension, extension);
    EXPECT_EQ(r.mustExist, mustExist);
    EXPECT_EQ(r.askOverwrite, askOverwrite);
  };
  check(file_dialogs::OpenMesh(), K::Open, {{"Direct3D(*.x)", "*.x"}, {"All meshes", MeshFilePatterns()}}, 1,
        "x", true, false);
  check(file_dialogs::OpenBoneData(), K::Open, {{"BoneData(*.dat)", "*.dat"}}, 1, "", false, false);
  check(file_dialogs::OpenSkinnedMesh(), K::Open, {{"SkinnedMesh(*.skm)", "*.skm"}, {"Direct3D(*.x)", "*.x"}},
        1, "skm", true, false);
  check(file_dialogs::OpenBlendingParameters(), K::Open, {{"Bone Parameters(*.prm)", "*.prm"}}, 1, "", true,
        false);
  check(file_dialogs::OpenAnimation(), K::Open, {{"Animation Keyframes(*.anm)", "*.anm"}}, 1, "", true,
        false);
  check(file_dialogs::SaveSkinnedMesh(), K::Save,
        {{"SkinnedMesh(*.skm)", "*.skm"},
         {"Direct3D SkinnedMesh(*.x)", "*.x"},
         {"glTF 2.0 binary (*.glb)", "*.glb"},
         {"glTF 2.0 (*.gltf)", "*.gltf"}},
        2, "skm", false, true);
  check(file_dialogs::SaveBlendingParameters(), K::Save, {{"Bone Parameters(*.prm)", "*.prm"}}, 1, "", false,
        true);
  check(file_dialogs::SaveAnimation(), K::Save, {{"Animation Keyframes(*.anm)", "*.anm"}}, 1, "anm", false,
        true);
  check(file_dialogs::SaveBoneData(), K::Save,
        {{"Bone Infomation(*.bnf)", "*.bnf"}, {"BoneData(*.dat)", "*.dat"}}, 1, "bnf", false, true);
}

}  // namespace
}  // namespace posewright
