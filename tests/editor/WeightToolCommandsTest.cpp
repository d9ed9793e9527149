// Edit > Weights and View > Rendering > Weights through the scripted shell, on
// the sample character.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "ScriptedShell.h"
#include "editor/Commands.h"
#include "weighttools/MirrorWeights.h"

namespace posewright {

namespace {
const std::string kSamples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";

const CommandId kWeightTools[] = {CommandId::WeightsNormalise,
                                  CommandId::WeightsMirrorLeftToRight,
                                  CommandId::WeightsMirrorRightToLeft,
                                  CommandId::WeightsSmooth,
                                  CommandId::WeightsPrune,
                                  CommandId::WeightsLimit};

std::vector<SkinVertex> Vertices(const Application& app) {
  return app.model.skinnedMesh.vertices;
}

bool SameWeights(const std::vector<SkinVertex>& a, const std::vector<SkinVertex>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].boneIndices != b[i].boneIndices ||
        std::memcmp(a[i].blendWeights, b[i].blendWeights, sizeof a[i].blendWeights) != 0) {
      return false;
    }
  }
  return true;
}

struct WeightToolCommands : ::testing::Test {
  Application app;
  ScriptedShell shell{app};
  Commands commands{app, shell};

  void SetUp() override { shell.keyframe.initialize(); }

  // The sample character, with its blending parameters (the bone partners)
  // unless told otherwise.
  void OpenCharacter(bool withPartners = true) {
    shell.answerFile(kSamples + "character.x");
    shell.answerFile(kSamples + "character.dat");
    commands.handleCommand(CommandId::OpenMesh);
    ASSERT_TRUE(app.canDraw());
    if (withPartners) {
      shell.answerFile(kSamples + "character.prm");
      commands.handleCommand(CommandId::OpenBlendingParameters);
    }
    // Tools that find nothing to change would prove nothing: roughen the
    // weights (a share left to the root, a faint extra bone) the way hand
    // edits do, outside the history.
    for (std::size_t i = 0; i < app.model.vertexCount(); i += 7) {
      SkinVertex& v = app.model.skinnedMesh.vertices[i];
      v.blendWeights[0] *= 0.8f;
      if (v.boneIndex(3) == 0 && v.boneIndex(2) == 0) {
        v.setBoneIndex(2, 3);
        v.blendWeights[2] = 0.004f;
      }
    }
    app.model.pointVertices = app.model.skinnedMesh.vertices;
    app.history.clear();
    shell.messages.clear();
  }
};

TEST_F(WeightToolCommands, EachToolIsOneUndoableStepThatUndoRestoresExactly) {
  OpenCharacter();
  // A desktop under a comma-decimal locale still reads "0.40" in the status bar.
  struct CommaLocale {
    CommaLocale() { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  } locale;
  const struct {
    CommandId id;
    const char* step;
    const char* status;
  } cases[] = {{CommandId::WeightsNormalise, "Normalise Weights", "Normalised "},
               {CommandId::WeightsMirrorLeftToRight, "Mirror Weights Left to Right", "Mirrored "},
               {CommandId::WeightsMirrorRightToLeft, "Mirror Weights Right to Left", "Mirrored "},
               {CommandId::WeightsSmooth, "Smooth Weights", "Smoothed (3 iterations, strength 0.40) "},
               {CommandId::WeightsPrune, "Prune Weights", "Pruned weights below 0.010 on "},
               {CommandId::WeightsLimit, "Limit Weights", "Limited to 2 influences "}};
  shell.weightTool.entered = {{"Iterations", 3}, {"Strength", 0.4}, {"Influences", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    ASSERT_TRUE(commands.isEnabled(c.id));
    const std::vector<SkinVertex> before = Vertices(app);
    commands.handleCommand(c.id);
    ASSERT_TRUE(shell.messages.empty()) << shell.messages.back().text;
    ASSERT_FALSE(shell.statuses.empty());
    EXPECT_EQ(shell.statuses.back().rfind(c.status, 0), 0u) << shell.statuses.back();
    EXPECT_FALSE(SameWeights(Vertices(app), before)) << "the tool changed nothing to undo";
    EXPECT_TRUE(SameWeights(app.model.pointVertices, Vertices(app))) << "the points carry the new weights";
    ASSERT_TRUE(app.history.canUndo());
    EXPECT_EQ(app.history.undoName(), c.step);
    const std::vector<SkinVertex> after = Vertices(app);
    commands.handleCommand(CommandId::Undo);
    EXPECT_TRUE(SameWeights(Vertices(app), before)) << "undo restores every weight bit for bit";
    EXPECT_FALSE(app.history.canUndo()) << "one step";
    commands.handleCommand(CommandId::Redo);
    EXPECT_TRUE(SameWeights(Vertices(app), after));
    commands.handleCommand(CommandId::Undo);
  }
  // The mirror reports how many vertices found no partner.
  EXPECT_NE(shell.statuses[1].find("had no partner"), std::string::npos) << shell.statuses[1];
}

TEST_F(WeightToolCommands, ActsOnTheSelectionOnly) {
  OpenCharacter();
  app.model.selection.reset(app.model.vertexCount());
  for (std::size_t i = 0; i < app.model.vertexCount(); i += 2) app.model.selection.selected[i] = 1;
  RebuildPointList(app.model.selection);
  const std::vector<SkinVertex> before = Vertices(app);
  commands.handleCommand(CommandId::WeightsNormalise);
  const std::vector<SkinVertex> after = Vertices(app);
  for (std::size_t i = 1; i < after.size(); i += 2) {
    ASSERT_TRUE(SameWeights({after[i]}, {before[i]})) << "unselected vertex " << i;
  }
  EXPECT_FALSE(SameWeights(after, before));
  EXPECT_EQ(
      shell.statuses.back().rfind("Normalised " + std::to_string((after.size() + 1) / 2) + " vertices", 0),
      0u)
      << shell.statuses.back();
}

TEST_F(WeightToolCommands, RefusedOrCancelledToolsChangeNothing) {
  // Without a model or a skeleton every tool is greyed out and, run anyway,
  // says why.
  for (CommandId id : kWeightTools) {
    EXPECT_FALSE(commands.isEnabled(id));
    commands.handleCommand(id);
  }
  ASSERT_EQ(shell.messages.size(), std::size(kWeightTools));
  EXPECT_EQ(shell.messages.front().text, kWeightToolNoSkeleton);
  EXPECT_EQ(shell.messages.front().caption, "Weights");
  EXPECT_FALSE(app.history.canUndo());
  EXPECT_TRUE(shell.weightTool.shown.empty()) << "no settings asked for a tool that cannot run";

  // Without partners only the mirror refuses.
  OpenCharacter(false);
  for (CommandId id : kWeightTools) {
    const bool mirror =
        id == CommandId::WeightsMirrorLeftToRight || id == CommandId::WeightsMirrorRightToLeft;
    EXPECT_EQ(commands.isEnabled(id), !mirror) << static_cast<int>(id);
  }
  const std::vector<SkinVertex> before = Vertices(app);
  commands.handleCommand(CommandId::WeightsMirrorRightToLeft);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages.back().text, kWeightToolNoPartners);

  // Cancelling the settings dialog runs nothing.
  shell.weightTool.accept = false;
  for (CommandId id : {CommandId::WeightsSmooth, CommandId::WeightsPrune, CommandId::WeightsLimit}) {
    commands.handleCommand(id);
  }
  EXPECT_EQ(shell.weightTool.shown.size(), 3u);
  EXPECT_TRUE(SameWeights(Vertices(app), before));
  EXPECT_FALSE(app.history.canUndo());
  EXPECT_TRUE(shell.statuses.empty());
}

TEST_F(WeightToolCommands, DialogsProposeTheLastConfirmedSettings) {
  OpenCharacter();
  ASSERT_TRUE(shell.weightTool.shown.empty());
  commands.handleCommand(CommandId::WeightsPrune);
  ASSERT_EQ(shell.weightTool.shown.size(), 1u);
  EXPECT_EQ(shell.weightTool.shown[0].first, "Prune Weights");
  EXPECT_FLOAT_EQ(static_cast<float>(shell.weightTool.shown[0].second[0].value), 0.01f)
      << "the default threshold";
  shell.weightTool.entered = {{"Threshold", 0.05}};
  commands.handleCommand(CommandId::WeightsPrune);
  shell.weightTool.entered.clear();
  commands.handleCommand(CommandId::WeightsPrune);
  EXPECT_FLOAT_EQ(static_cast<float>(shell.weightTool.shown[2].second[0].value), 0.05f);
}

TEST_F(WeightToolCommands, WeightViewTogglesWithItsCheckMark) {
  EXPECT_FALSE(app.weightView);
  commands.handleCommand(CommandId::WeightView);
  EXPECT_TRUE(app.weightView);
  EXPECT_TRUE(shell.checks[CheckItem::WeightView]);
  commands.handleCommand(CommandId::WeightView);
  EXPECT_FALSE(app.weightView);
  EXPECT_FALSE(shell.checks[CheckItem::WeightView]);
}
}  // namespace
}  // namespace posewright
