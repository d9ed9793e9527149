// Interim panels until the real ones are wired in: the four tool windows with
// their titles, the Bone panel's tree and the Keyframe panel's title, time
// field and slider. Their other controls are not here.
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "anim/KeyframePanel.h"
#include "app/Application.h"
#include "ui/PanelSet.h"

namespace {
QTreeWidgetItem* ToItem(BoneTreeItem item) { return reinterpret_cast<QTreeWidgetItem*>(item); }
BoneTreeItem FromItem(QTreeWidgetItem* item) { return reinterpret_cast<BoneTreeItem>(item); }

class TreeWidgetBoneTree final : public BoneTree {
 public:
  explicit TreeWidgetBoneTree(QTreeWidget* tree) : tree_(tree) {}
  void clear() override { tree_->clear(); }
  BoneTreeItem append(BoneTreeItem parent, const std::string& label) override {
    const QStringList text{QString::fromStdString(label)};
    auto* item = parent != 0 ? new QTreeWidgetItem(ToItem(parent), text) : new QTreeWidgetItem(tree_, text);
    return FromItem(item);
  }

 private:
  QTreeWidget* tree_;
};

QDialog* ToolDialog(QWidget* owner, const char* title, int width, int height) {
  auto* dialog = new QDialog(owner, Qt::Tool);
  dialog->setWindowTitle(title);
  dialog->setModal(false);
  dialog->resize(width, height);
  return dialog;
}

class KeyframeWidgets final : public KeyframePanelView {
 public:
  explicit KeyframeWidgets(QDialog* dialog) : dialog_(dialog) {
    auto* layout = new QVBoxLayout(dialog);
    time_ = new QLineEdit(dialog);
    time_->setReadOnly(true);
    slider_ = new QSlider(Qt::Horizontal, dialog);
    layout->addWidget(time_);
    layout->addWidget(slider_);
  }
  void setTitle(const std::string& title) override {
    dialog_->setWindowTitle(QString::fromStdString(title));
    dialog_->update();
  }
  void setTimeText(const std::string& text) override { time_->setText(QString::fromStdString(text)); }
  void setSliderRange(int32_t minimum, int32_t maximum) override { slider_->setRange(minimum, maximum); }
  void setSliderPosition(int32_t position) override {
    const QSignalBlocker quiet(slider_);
    slider_->setValue(position);
  }
  void setWindowLabels(const std::string&, const std::string&, const std::string&) override {}
  void showMarkers(const std::vector<KeyframeMarker>&) override {}
  SliderChannel sliderChannel() const override { return {0, slider_->width()}; }
  void showMessage(const std::string& text, const std::string& caption) override {
    QMessageBox::information(dialog_->parentWidget(), QString::fromStdString(caption), QString::fromStdString(text));
  }
  bool askOkCancel(const std::string& text, const std::string& caption) override {
    return QMessageBox::question(dialog_->parentWidget(), QString::fromStdString(caption),
                                 QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
  }

 private:
  QDialog* dialog_;
  QLineEdit* time_;
  QSlider* slider_;
};

class PlaceholderPanels final : public PanelSet {
 public:
  explicit PlaceholderPanels(QWidget* owner) {
    bone_ = ToolDialog(owner, "Bone", 220, 300);
    tree_ = new QTreeWidget(bone_);
    tree_->setHeaderHidden(true);
    (new QVBoxLayout(bone_))->addWidget(tree_);
    boneTree_ = std::make_unique<TreeWidgetBoneTree>(tree_);
    keyframe_ = ToolDialog(owner, "Keyframe", 400, 110);
    keyframeWidgets_ = std::make_unique<KeyframeWidgets>(keyframe_);
    weight_ = ToolDialog(owner, "Weight Control", 220, 260);
    boneControl_ = ToolDialog(owner, "Bone Control", 300, 200);
  }

  QWidget* window(PanelId panel) override {
    switch (panel) {
      case PanelId::Bone: return bone_;
      case PanelId::Keyframe: return keyframe_;
      case PanelId::WeightControl: return weight_;
      case PanelId::BoneControl: return boneControl_;
    }
    return nullptr;
  }
  void attach(Application* app, ShellView*) override {
    keyframeBehaviour_.reset();
    if (app != nullptr) {
      keyframeBehaviour_ = std::make_unique<KeyframePanel>(app->animation, *keyframeWidgets_);
      keyframeBehaviour_->initialize();
    }
  }
  void modelChanged() override {}
  BoneTree& boneTree() override { return *boneTree_; }
  BoneTreeItem selectedBoneItem() override { return FromItem(tree_->currentItem()); }
  void selectBoneItem(BoneTreeItem item) override { tree_->setCurrentItem(ToItem(item)); }
  void expandBoneItem(BoneTreeItem item) override {
    if (item != 0) ToItem(item)->setExpanded(true);
  }
  KeyframePanel& keyframePanel() override { return *keyframeBehaviour_; }

 private:
  QDialog* bone_;
  QTreeWidget* tree_;
  std::unique_ptr<TreeWidgetBoneTree> boneTree_;
  QDialog* keyframe_;
  std::unique_ptr<KeyframeWidgets> keyframeWidgets_;
  std::unique_ptr<KeyframePanel> keyframeBehaviour_;
  QDialog* weight_;
  QDialog* boneControl_;
};
}  // namespace

std::unique_ptr<PanelSet> CreatePanels(QWidget* owner) { return std::make_unique<PlaceholderPanels>(owner); }
