// The shell interface of the commands on the Qt main window: dialogs through
// the DialogService, check marks on the menu items, the panels, the viewport.
#pragma once

#include <deque>
#include <vector>

#include "editor/ShellView.h"
#include "editor/panels/ExportView.h"

namespace posewright {

class DialogService;
class MainWindow;
class PanelSet;
class Viewport;

class QtShellView final : public ShellView, public ExportView {
 public:
  QtShellView(MainWindow& window, PanelSet& panels, Viewport& viewport, DialogService& dialogs)
      : window_(window), panels_(panels), viewport_(viewport), dialogs_(dialogs) {}

  std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override;
  bool askOkCancel(const std::string& text, const std::string& caption) override;
  SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) override;
  void setMenuCheck(CheckItem item, bool checked) override;
  void showPanel(PanelId panel) override;
  void repaintPanel(PanelId panel) override;
  void modelChanged() override;
  void selectionChanged() override;
  BoneTree& boneTree() override;
  BoneTreeItem selectedBoneItem() override;
  void selectBoneItem(BoneTreeItem item) override;
  void expandBoneItem(BoneTreeItem item) override;
  KeyframePanel& keyframePanel() override;
  ExportView& exportView() override { return *this; }
  WeightToolDialogView& weightToolDialog() override;
  void showStatus(const std::string& text) override;
  OptionDialogView& optionDialog() override;
  void clearViewport() override;
  void requestClose() override;
  void setBusy(bool busy) override;

  DialogService& dialogs() { return dialogs_; }
  /// The next file dialogs take these answers, in order, instead of asking
  /// (files named on the command line or in Recent Files); an empty list
  /// drops answers that were not taken.
  void answerFileDialogs(std::vector<FileChoice> answers) { answers_.assign(answers.begin(), answers.end()); }

 private:
  MainWindow& window_;
  PanelSet& panels_;
  Viewport& viewport_;
  DialogService& dialogs_;
  std::deque<FileChoice> answers_;
};
}  // namespace posewright
