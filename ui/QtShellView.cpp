#include "ui/QtShellView.h"

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QWidget>

#include "ui/DialogService.h"
#include "ui/MainWindow.h"
#include "ui/PanelDock.h"
#include "ui/PanelSet.h"
#include "ui/Viewport.h"

namespace posewright {

std::optional<FileChoice> QtShellView::chooseFile(const FileDialogRequest& request) {
  if (!answers_.empty()) {
    FileChoice answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return dialogs_.chooseFile(request);
}

void QtShellView::showMessage(const std::string& text, const std::string& caption,
                              const std::string& detail) {
  dialogs_.showMessage(text, caption, detail);
}

bool QtShellView::askOkCancel(const std::string& text, const std::string& caption) {
  return dialogs_.askOkCancel(text, caption);
}

SaveChangesAnswer QtShellView::askSaveChanges(const std::string& text, const std::string& detail) {
  return dialogs_.askSaveChanges(text, detail);
}

void QtShellView::setMenuCheck(CheckItem item, bool checked) {
  if (QAction* action = window_.action(static_cast<CommandId>(item))) {
    action->setChecked(checked);
  }
}

void QtShellView::showPanel(PanelId panel) {
  if (QWidget* w = panels_.window(panel)) {
    w->show();  // opens its dock
    if (QDockWidget* dock = window_.dock(panel)) {
      dock->raise();
    }
    w->repaint();
  }
}

void QtShellView::repaintPanel(PanelId panel) {
  if (QWidget* w = panels_.window(panel)) {
    w->update();
  }
}

void QtShellView::modelChanged() {
  panels_.modelChanged();
}

void QtShellView::selectionChanged() {
  panels_.selectionChanged();
}

BoneTree& QtShellView::boneTree() {
  return panels_.boneTree();
}

BoneTreeItem QtShellView::selectedBoneItem() {
  return panels_.selectedBoneItem();
}

void QtShellView::selectBoneItem(BoneTreeItem item) {
  panels_.selectBoneItem(item);
}

void QtShellView::expandBoneItem(BoneTreeItem item) {
  panels_.expandBoneItem(item);
}

KeyframePanel& QtShellView::keyframePanel() {
  return panels_.keyframePanel();
}

OptionDialogView& QtShellView::optionDialog() {
  return dialogs_.optionDialog();
}

WeightToolDialogView& QtShellView::weightToolDialog() {
  return dialogs_.weightToolDialog();
}

void QtShellView::showStatus(const std::string& text) {
  // The status bar appears with its first note.
  window_.statusBar()->showMessage(QString::fromStdString(text));
}

void QtShellView::clearViewport() {
  viewport_.requestClear();
}

void QtShellView::requestClose() {
  window_.close();
}

void QtShellView::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The operation blocks the event loop: let the cursor change reach the
    // screen first.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } else {
    QApplication::restoreOverrideCursor();
  }
}
}  // namespace posewright
