// The Bone panel: the bone tree, the selected bone's H and R with their
// "Apply" button, and its Symmetric Bone ID with its own "Apply". A thin
// widget over BonePanel (the behaviour); it ignores input until an
// Application is attached.
#pragma once

#include <QDialog>
#include <memory>

#include "editor/panels/BonePanel.h"
#include "editor/panels/BonePanelView.h"
#include "skeleton/Skeleton.h"
#include "ui/panels/QtBoneTree.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace posewright {

struct Application;

class BonePanelWidget : public QDialog, private BonePanelView {
  Q_OBJECT

 public:
  /// A modeless tool window owned by owner, titled "Bone".
  explicit BonePanelWidget(QWidget* owner);
  ~BonePanelWidget() override;

  /// Connects the panel to app (null detaches it; a detached panel ignores
  /// input). The Application's selected bone follows the tree from now on.
  void attach(Application* app);

  /// The tree the bone readers fill (handles are QtBoneTree's).
  BoneTree& boneTree() { return boneTree_; }
  /// The tree's selected entry, 0 when none.
  BoneTreeItem selectedItem() const;
  /// Selects the entry of item (none when item names no entry), as a click would.
  void selectItem(BoneTreeItem item);
  /// Expands the entry of item so its children show.
  void expandItem(BoneTreeItem item);
  /// Shows the selected bone's current values again (they changed under it).
  void refreshParameters();

 signals:
  /// The selection changed to item and the edits show its bone. Emitted only
  /// while an Application is attached; the editor connects it to the Bone
  /// Control panel's recentre().
  void selectionChanged(BoneTreeItem item);
  /// The panel changed the model or the selected bone (the viewport draws again).
  void edited();

 protected:
  /// The panel has no Cancel: Escape and the close box do nothing.
  void reject() override {}

 private:
  std::string hText() const override;
  std::string rText() const override;
  std::string symmetricText() const override;
  void setHText(const std::string& text) override;
  void setRText(const std::string& text) override;
  void setSymmetricText(const std::string& text) override;
  void recentreBoneControl() override;

  void currentItemChanged(QTreeWidgetItem* item);
  void applyBlendingPressed();
  void applySymmetricPressed();

  Application* app_ = nullptr;
  BonePanel behaviour_;
  QTreeWidget* tree_ = nullptr;
  QtBoneTree boneTree_;
  QLineEdit* hEdit_ = nullptr;
  QLineEdit* rEdit_ = nullptr;
  QLineEdit* symmetricEdit_ = nullptr;
  BoneTreeItem changedItem_ = 0;
};
}  // namespace posewright
