// A shell that answers the commands' dialogs from a script and records what
// they asked for and changed.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "editor/Application.h"
#include "editor/ShellView.h"
#include "editor/WeightToolDialogView.h"
#include "editor/panels/ExportView.h"
#include "editor/panels/KeyframePanel.h"
#include "support/RecordingBoneTree.h"
#include "support/ScriptedAnswers.h"
#include "support/ScriptedKeyframeView.h"

namespace posewright {

struct ShownMessage {
  std::string text;
  std::string caption;
  std::string detail;
};

/// The Option dialog with the user's input scripted: OK with a text and a
/// check box state, or Cancel.
struct ScriptedOptionDialog final : OptionDialogView {
  std::string shownText;
  int runs = 0;
  bool accept = true;
  std::string enteredText;
  bool enteredAllFrames = false;
  bool enteredMeshInFrame = false;
  bool shownMeshInFrame = false;

  void setFramesPerSecondText(const std::string& text) override { shownText = text; }
  void setWriteAllFramesChecked(bool) override {}
  void setMeshInFrameChecked(bool checked) override { shownMeshInFrame = checked; }
  bool runModal() override {
    ++runs;
    return accept;
  }
  std::string framesPerSecondText() const override { return enteredText; }
  bool writeAllFramesChecked() const override { return enteredAllFrames; }
  bool meshInFrameChecked() const override { return enteredMeshInFrame; }
};

/// The weight tools' settings dialog with the user's input scripted: OK with
/// the values entered (fields not named keep what the dialog showed), or Cancel.
struct ScriptedWeightToolDialog final : WeightToolDialogView {
  /// The title and fields of every dialog shown, as shown.
  std::vector<std::pair<std::string, std::vector<WeightToolField>>> shown;
  bool accept = true;
  std::map<std::string, double> entered;

  bool ask(const std::string& title, std::vector<WeightToolField>& fields) override {
    shown.emplace_back(title, fields);
    if (!accept) return false;
    for (WeightToolField& f : fields) {
      if (const auto it = entered.find(f.label); it != entered.end()) f.value = it->second;
    }
    return true;
  }
};

class ScriptedShell final : public ShellView, public ExportView {
 public:
  explicit ScriptedShell(Application& app) : keyframe(app.animation, keyframeView) {}

  /// Answers to the next file dialogs: a path with its filter, or nothing for Cancel.
  std::deque<std::optional<FileChoice>> files;
  /// Answers to the next questions.
  std::deque<bool> answers;

  std::vector<FileDialogRequest> fileRequests;
  std::vector<ShownMessage> messages;
  std::vector<std::string> questions;
  std::map<CheckItem, bool> checks;
  std::vector<PanelId> shownPanels;
  std::vector<PanelId> repaintedPanels;
  RecordingBoneTree tree;
  BoneTreeItem selected = 0;
  std::vector<BoneTreeItem> expanded;
  int modelChanges = 0;
  int selectionChanges = 0;
  int clears = 0;
  bool closeRequested = false;
  int busyDepth = 0;
  int busyCount = 0;
  ScriptedOptionDialog options;
  ScriptedWeightToolDialog weightTool;
  /// Every status note, in order.
  std::vector<std::string> statuses;
  ScriptedKeyframeView keyframeView;
  KeyframePanel keyframe;

  void answerFile(const std::string& path, int filter = 1) { files.push_back(FileChoice{path, filter}); }
  void cancelFile() { files.push_back(std::nullopt); }

  std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog with filter " << request.filters.front().description;
      return std::nullopt;
    }
    std::optional<FileChoice> answer = files.front();
    files.pop_front();
    return answer;
  }
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override {
    EXPECT_EQ(busyDepth, 0) << "a message box under the busy indicator";
    messages.push_back({text, caption, detail});
  }
  /// Answers to "Save changes?", in order.
  std::deque<SaveChangesAnswer> saveAnswers;
  SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) override {
    questions.push_back("Save: " + text + " (" + detail + ")");
    return NextAnswer(saveAnswers, text, SaveChangesAnswer::Cancel);
  }
  bool askOkCancel(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + ": " + text);
    return NextAnswer(answers, text, false);
  }
  void setMenuCheck(CheckItem item, bool checked) override { checks[item] = checked; }
  void showPanel(PanelId panel) override { shownPanels.push_back(panel); }
  void repaintPanel(PanelId panel) override { repaintedPanels.push_back(panel); }
  void modelChanged() override { ++modelChanges; }
  void selectionChanged() override { ++selectionChanges; }
  BoneTree& boneTree() override { return tree; }
  BoneTreeItem selectedBoneItem() override { return selected; }
  void selectBoneItem(BoneTreeItem item) override { selected = item; }
  void expandBoneItem(BoneTreeItem item) override { expanded.push_back(item); }
  KeyframePanel& keyframePanel() override { return keyframe; }
  ExportView& exportView() override { return *this; }
  OptionDialogView& optionDialog() override { return options; }
  WeightToolDialogView& weightToolDialog() override { return weightTool; }
  void showStatus(const std::string& text) override { statuses.push_back(text); }
  void clearViewport() override { ++clears; }
  void requestClose() override { closeRequested = true; }
  void setBusy(bool busy) override {
    busyDepth += busy ? 1 : -1;
    busyCount += busy ? 1 : 0;
  }
};
}  // namespace posewright
