// Unsaved work: which commands ask before they drop modified data, what each
// answer does, and the window title.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedShell.h"
#include "editor/Commands.h"
#include "editor/UnsavedWork.h"
#include "fileio/FileBytes.h"
#include "history/ModelChange.h"
#include "support/BoxBoneData.h"
#include "support/TempDir.h"
#include "support/TestData.h"
#include "weights/WeightEditing.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

struct UnsavedWorkTest : ::testing::Test {
  Application app;
  ScriptedShell shell{app};
  Commands commands{app, shell};
  TempDir folder{"unsaved"};

  void SetUp() override {
    shell.keyframe.initialize();
    fs::copy_file(fs::path(SharedTestDataDir()) / "x" / "test.x", folder.path() / "cube.x");
    ASSERT_TRUE(WriteFileAtomically(
        Path("cube.dat"),
        fixtures::BoxBoneDataText({0, -1, 0}, {0, 0, 0},
                                  {{"Upper", 0, {0, 0, 0}, {0, 1, 0}, {-2, 0, -2}, {2, 2, 2}}})));
    shell.answerFile(Path("cube.x"));
    shell.answerFile(Path("cube.dat"));
    commands.handleCommand(CommandId::OpenMesh);
    ASSERT_TRUE(app.canDraw());
  }
  std::string Path(const std::string& name) const { return folder.path(name); }

  // Weight Control's Apply on every vertex, as an undoable step (another
  // weight each time, so that it always changes the model).
  void EditWeights() {
    app.model.selection.selected.assign(app.model.vertexCount(), 1);
    ModelEdit edit(app.history, app.model, "Apply Weights", kWeightsAspect);
    SetSelectedWeights(app.model, {1, 0, 0, 0}, {0.5f + 0.01f * static_cast<float>(++edits_), 0, 0, 0});
    edit.commit();
    ASSERT_TRUE(app.history.canUndo());
  }
  int edits_ = 0;
};

TEST_F(UnsavedWorkTest, TheTitleNamesTheModelAndMarksUnsavedWork) {
  EXPECT_EQ(WindowTitle(app), "cube.x \u2014 Posewright");
  EditWeights();
  EXPECT_EQ(WindowTitle(app), "*cube.x \u2014 Posewright");
  commands.undo();
  EXPECT_EQ(WindowTitle(app), "cube.x \u2014 Posewright") << "undone back to the opened state";
  commands.redo();
  shell.answerFile(Path("cube.skm"), kSkinnedMeshFilter);
  commands.saveSkinnedMesh();
  EXPECT_EQ(WindowTitle(app), "cube.skm \u2014 Posewright");
  commands.handleCommand(CommandId::AnimationAdd);
  EXPECT_EQ(WindowTitle(app), "*cube.skm \u2014 Posewright") << "a new animation is unsaved";
  shell.answerFile(Path("walk.anm"));
  commands.saveAnimation();
  EXPECT_EQ(WindowTitle(app), "cube.skm \u2014 Posewright");
  shell.answers = {true};
  commands.newModel();
  EXPECT_EQ(WindowTitle(app), "Posewright");
}

// Each command that drops data, with modified data and each answer: whether
// it went on, and which save dialogs the Save answer opened.
TEST_F(UnsavedWorkTest, CommandsAskBeforeDroppingModifiedData) {
  struct Case {
    const char* name;
    CommandId command;
    bool animationOnly;  // only an animation is modified
    SaveChangesAnswer answer;
    bool asked;
    bool replaced;
    std::size_t saveDialogs;
  };
  using A = SaveChangesAnswer;
  const Case cases[] = {
      {"New, Cancel", CommandId::New, false, A::Cancel, true, false, 0},
      {"New, Discard", CommandId::New, false, A::Discard, true, true, 0},
      {"New, Save", CommandId::New, false, A::Save, true, true, 1},
      {"New, animation, Save", CommandId::New, true, A::Save, true, true, 1},
      {"Open, Cancel", CommandId::OpenSkinnedMesh, false, A::Cancel, true, false, 0},
      {"Open, Discard", CommandId::OpenSkinnedMesh, false, A::Discard, true, true, 0},
      {"Open, Save", CommandId::OpenSkinnedMesh, false, A::Save, true, true, 1},
      {"Open keeps the animations", CommandId::OpenSkinnedMesh, true, A::Cancel, false, true, 0},
      {"Open Mesh, Cancel", CommandId::OpenMesh, false, A::Cancel, true, false, 0},
  };
  ASSERT_TRUE(WriteFileAtomically(Path("other.skm"), ""));
  shell.answerFile(Path("other.skm"), kSkinnedMeshFilter);
  commands.saveSkinnedMesh();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.animationOnly) {
      commands.handleCommand(CommandId::AnimationAdd);
    } else {
      EditWeights();
    }
    shell.questions.clear();
    shell.fileRequests.clear();
    // An Open asks once its file is chosen.
    if (c.command == CommandId::New) {
      shell.answers = {true};
    } else {
      shell.answerFile(Path("other.skm"), kSkinnedMeshFilter);
    }
    if (c.asked) shell.saveAnswers = {c.answer};
    if (c.answer == A::Save) {
      shell.answerFile(Path(c.animationOnly ? "saved.anm" : "saved.skm"), kSkinnedMeshFilter);
    }
    const int before = shell.modelChanges;
    commands.handleCommand(c.command);
    EXPECT_EQ(!shell.questions.empty() && shell.questions.front().rfind("Save: Save changes?", 0) == 0,
              c.asked);
    EXPECT_EQ(shell.modelChanges > before, c.replaced);
    std::size_t saveDialogs = 0;
    for (const FileDialogRequest& r : shell.fileRequests)
      saveDialogs += r.kind == FileDialogRequest::Kind::Save;
    EXPECT_EQ(saveDialogs, c.saveDialogs);
    if (c.answer == A::Save) {
      EXPECT_TRUE(fs::exists(Path(c.animationOnly ? "saved.anm" : "saved.skm")));
      fs::remove(Path("saved.skm"));
      fs::remove(Path("saved.anm"));
    }
    EXPECT_TRUE(shell.files.empty());
    EXPECT_TRUE(shell.saveAnswers.empty());
    shell.files.clear();
    // Back to a saved model for the next case.
    if (!app.canDraw()) {
      shell.answerFile(Path("other.skm"), kSkinnedMeshFilter);
      commands.openSkinnedMesh();
    }
    app.history.reset();
  }
}

// A save that cannot finish keeps the data: a cancelled save dialog is Cancel.
TEST_F(UnsavedWorkTest, ACancelledSaveDialogKeepsTheModel) {
  EditWeights();
  shell.saveAnswers = {SaveChangesAnswer::Save};
  shell.cancelFile();
  EXPECT_FALSE(SettleUnsavedWork(app, shell, DroppedData::Everything));
  EXPECT_TRUE(HasUnsavedWork(app, DroppedData::Model));
  EXPECT_EQ(shell.fileRequests.back().preselectedFilter, kSkinnedMeshFilter) << "the .skm type first";
}
}  // namespace
}  // namespace posewright
