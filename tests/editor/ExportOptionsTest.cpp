// The Option dialog's rules and the export command, against scripted views.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/SkinnedMeshXExport.h"
#include "editor/panels/ExportOptionDialog.h"
#include "editor/panels/ExportView.h"
#include "export/SkinnedMeshXWriter.h"
#include "support/ExportTestModels.h"
#include "support/TempDir.h"

namespace posewright {

using namespace exporttest;

namespace {
// Plays one user: what the dialog showed, then OK or cancel with the given entry.
class OneUserOptionDialog : public OptionDialogView {
 public:
  bool confirm = true;
  std::string entry;
  bool checkAll = false;
  bool checkMeshInFrame = false;

  std::string shownText;
  bool shownChecked = true;
  bool shownMeshInFrame = false;
  int runs = 0;

  void setFramesPerSecondText(const std::string& text) override { shownText = text; }
  void setWriteAllFramesChecked(bool checked) override { shownChecked = checked; }
  void setMeshInFrameChecked(bool checked) override { shownMeshInFrame = checked; }
  bool runModal() override {
    ++runs;
    return confirm;
  }
  std::string framesPerSecondText() const override { return entry; }
  bool writeAllFramesChecked() const override { return checkAll; }
  bool meshInFrameChecked() const override { return checkMeshInFrame; }
};

struct Message {
  std::string text;
  std::string caption;
  std::string detail;
};

class ScriptedExportView : public ExportView {
 public:
  OneUserOptionDialog dialog;
  std::vector<Message> messages;

  OptionDialogView& optionDialog() override { return dialog; }
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override {
    messages.push_back({text, caption, detail});
  }
};
}  // namespace

TEST(ExportOptions, UnsignedDecimalParseReadsAnythingElseAsZero) {
  EXPECT_EQ(ParseUnsignedDecimal("4800"), 4800u);
  EXPECT_EQ(ParseUnsignedDecimal("  30 "), 30u);
  EXPECT_EQ(ParseUnsignedDecimal("007"), 7u);
  EXPECT_EQ(ParseUnsignedDecimal("4294967295"), 4294967295u);
  for (const char* bad :
       {"", "   ", "-5", "+5", "12abc", "1 2", "4294967296", "99999999999999999999", "0x10"}) {
    EXPECT_EQ(ParseUnsignedDecimal(bad), 0u) << bad;
  }
}

TEST(ExportOptions, DialogProposesTheRememberedValueWithTheBoxClearAndRemembersEachConfirmation) {
  OneUserOptionDialog dialog;
  uint32_t remembered = kDefaultFramesPerSecond;
  bool meshInFrame = false;
  dialog.entry = "4800";
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 4800);
  EXPECT_EQ(dialog.shownText, "60");
  EXPECT_FALSE(dialog.shownChecked);
  EXPECT_EQ(remembered, 4800u);

  dialog.entry = "30";
  dialog.checkAll = true;
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), -30);
  EXPECT_EQ(dialog.shownText, "4800");
  EXPECT_FALSE(dialog.shownChecked);
  EXPECT_EQ(remembered, 30u);

  // Cancel leaves the remembered value alone; a confirmed junk entry stores 0.
  dialog.confirm = false;
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_EQ(remembered, 30u);
  dialog.confirm = true;
  dialog.entry = "-4800";
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_EQ(remembered, 0u);
  RunOptionDialog(dialog, remembered, meshInFrame);
  EXPECT_EQ(dialog.shownText, "0");
}

TEST(ExportOptions, TheMeshLayoutBoxIsProposedAsLastConfirmed) {
  OneUserOptionDialog dialog;
  uint32_t remembered = kDefaultFramesPerSecond;
  bool meshInFrame = false;
  dialog.entry = "60";
  dialog.checkMeshInFrame = true;
  RunOptionDialog(dialog, remembered, meshInFrame);
  EXPECT_FALSE(dialog.shownMeshInFrame) << "clear in the first dialog of a run";
  EXPECT_TRUE(meshInFrame);
  dialog.checkMeshInFrame = false;
  dialog.confirm = false;
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_TRUE(dialog.shownMeshInFrame);
  EXPECT_TRUE(meshInFrame) << "a cancelled dialog changes nothing";
  dialog.confirm = true;
  dialog.entry = "0";
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_FALSE(meshInFrame) << "every confirmation is remembered, as the rate is";
}

TEST(ExportOptions, ResultRuleKeepsTheSignForEveryUnsignedValue) {
  EXPECT_FALSE(ExportOptionsFromDialogResult(0).has_value());
  const ExportOptions keys = *ExportOptionsFromDialogResult(4800);
  EXPECT_EQ(keys.framesPerSecond, 4800u);
  EXPECT_FALSE(keys.writeAllFrames);
  const ExportOptions all = *ExportOptionsFromDialogResult(-4800);
  EXPECT_EQ(all.framesPerSecond, 4800u);
  EXPECT_TRUE(all.writeAllFrames);

  // The largest entry with the box clear stays one key per keyframe.
  OneUserOptionDialog dialog;
  uint32_t remembered = 60;
  bool meshInFrame = false;
  dialog.entry = "4294967295";
  const ExportOptions big = *ExportOptionsFromDialogResult(RunOptionDialog(dialog, remembered, meshInFrame));
  EXPECT_EQ(big.framesPerSecond, 4294967295u);
  EXPECT_FALSE(big.writeAllFrames);
  EXPECT_EQ(TicksPerEditorFrame({4800, true}), 80u);
  EXPECT_EQ(TicksPerEditorFrame({119, true}), 1u);
  EXPECT_EQ(TicksPerEditorFrame({59, true}), 0u);
}

TEST(ExportCommand, CancelOrZeroShowsTheCancelMessageAndWritesNothing) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  TempDir dir;
  const std::string file = dir.path("export_command_cancel.x");
  for (const char* entry : {"", "0", "-1", "abc"}) {
    ScriptedExportView view;
    view.dialog.confirm = std::string(entry) != "";
    view.dialog.entry = entry;
    view.dialog.checkAll = true;
    uint32_t remembered = 60;
    bool meshInFrame = false;
    EXPECT_FALSE(ExportSkinnedMeshX(view, remembered, meshInFrame, file, model, &animation));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "ファイルの保存をキャンセルしました");
    EXPECT_EQ(view.messages[0].caption, "Save *.x");
    EXPECT_FALSE(std::filesystem::exists(file));
  }
}

TEST(ExportCommand, ConfirmedOptionsReachTheFile) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  TempDir dir;
  const std::string file = dir.path("export_command_ok.x");
  ScriptedExportView view;
  view.dialog.entry = "30";
  view.dialog.checkAll = true;
  uint32_t remembered = 60;
  bool meshInFrame = false;
  EXPECT_TRUE(ExportSkinnedMeshX(view, remembered, meshInFrame, file, model, &animation));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(remembered, 30u);
  std::string expected;
  ASSERT_TRUE(FormatSkinnedMeshX({30, true}, model, &animation, expected));
  EXPECT_EQ(dir.read("export_command_ok.x"), expected);

  // 4800 with the box clear: one key per keyframe at its own time.
  view.dialog.entry = "4800";
  view.dialog.checkAll = false;
  EXPECT_TRUE(ExportSkinnedMeshX(view, remembered, meshInFrame, file, model, &animation));
  EXPECT_NE(dir.read("export_command_ok.x").find("   2;\r\n   0;16;"), std::string::npos);
  EXPECT_NE(dir.read("export_command_ok.x").find("   30;16;"), std::string::npos);
  EXPECT_EQ(remembered, 4800u);
  EXPECT_NE(dir.read("export_command_ok.x").find(" {thisMesh}\r\n"), std::string::npos);

  // With the mesh-layout box set the mesh goes inside the root frame.
  view.dialog.checkMeshInFrame = true;
  EXPECT_TRUE(ExportSkinnedMeshX(view, remembered, meshInFrame, file, model, &animation));
  EXPECT_TRUE(meshInFrame);
  ASSERT_TRUE(FormatSkinnedMeshX({4800, false, true}, model, &animation, expected));
  EXPECT_EQ(dir.read("export_command_ok.x"), expected);
}

TEST(ExportCommand, RefusesWithoutABoundModelBeforeAskingAndReportsWriteFailures) {
  ScriptedExportView view;
  uint32_t remembered = 60;
  bool meshInFrame = false;
  SkinnedModel empty;
  EXPECT_FALSE(ExportSkinnedMeshX(view, remembered, meshInFrame, "unused.x", empty, nullptr));
  EXPECT_EQ(view.dialog.runs, 0);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].caption, "Save *.x");
  EXPECT_FALSE(view.messages[0].detail.empty());

  view.messages.clear();
  view.dialog.entry = "60";
  const SkinnedModel model = OneTriangle();
  const TempDir dir;
  const std::string unwritable = dir.path("no_such_dir/a/out.x");
  EXPECT_FALSE(ExportSkinnedMeshX(view, remembered, meshInFrame, unwritable, model, nullptr));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].caption, "Save *.x");
  EXPECT_NE(view.messages[0].detail.find("out.x"), std::string::npos);
}
}  // namespace posewright
