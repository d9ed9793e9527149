// The bone list as a Qt tree widget: the BoneTree the bone readers fill, with
// handles that stay unique for the whole run (a handle of a removed entry is
// never given to a new one, so a stale handle finds nothing).
#pragma once

#include <unordered_map>

#include "editor/panels/BoneTree.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace posewright {

class QtBoneTree : public BoneTree {
 public:
  /// tree must outlive this object.
  explicit QtBoneTree(QTreeWidget& tree) : tree_(tree) {}

  void clear() override;
  BoneTreeItem append(BoneTreeItem parent, const std::string& label) override;

  /// The handle of a widget entry (0 for null or an entry not made by append).
  BoneTreeItem handleOf(const QTreeWidgetItem* item) const;
  /// The widget entry of a handle, or null when it names none.
  QTreeWidgetItem* itemOf(BoneTreeItem handle) const;

 private:
  QTreeWidget& tree_;
  std::unordered_map<BoneTreeItem, QTreeWidgetItem*> items_;
  BoneTreeItem lastHandle_ = 0;
};
}  // namespace posewright
