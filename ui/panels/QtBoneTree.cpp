#include "ui/panels/QtBoneTree.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace posewright {

namespace {
// Where an entry keeps its handle.
constexpr int kHandleRole = Qt::UserRole;
}  // namespace

void QtBoneTree::clear() {
  items_.clear();
  tree_.clear();
}

BoneTreeItem QtBoneTree::append(BoneTreeItem parent, const std::string& label) {
  QTreeWidgetItem* parentItem = itemOf(parent);
  auto* item = parentItem != nullptr ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(&tree_);
  item->setText(0, QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
  const BoneTreeItem handle = ++lastHandle_;
  item->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(handle));
  items_[handle] = item;
  return handle;
}

BoneTreeItem QtBoneTree::handleOf(const QTreeWidgetItem* item) const {
  if (item == nullptr) {
    return 0;
  }
  const auto handle = static_cast<BoneTreeItem>(item->data(0, kHandleRole).toULongLong());
  return items_.count(handle) != 0 ? handle : 0;
}

QTreeWidgetItem* QtBoneTree::itemOf(BoneTreeItem handle) const {
  const auto found = items_.find(handle);
  return found != items_.end() ? found->second : nullptr;
}
}  // namespace posewright
