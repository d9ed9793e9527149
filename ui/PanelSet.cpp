// The editor's four tool panels behind the PanelSet the main window uses.
#include "ui/PanelSet.h"

#include <QObject>

#include "editor/Application.h"
#include "ui/panels/BoneControlPanel.h"
#include "ui/panels/BonePanelWidget.h"
#include "ui/panels/KeyframePanelWidget.h"
#include "ui/panels/WeightControlPanelWidget.h"

namespace posewright {

namespace {
class ToolPanels final : public PanelSet {
 public:
  // Created in the order Bone, Keyframe, Weight Control, Bone Control; all
  // are owned (and destroyed) by owner.
  explicit ToolPanels(QWidget* owner)
      : bone_(new BonePanelWidget(owner)),
        keyframe_(new KeyframePanelWidget(owner)),
        weight_(new WeightControlPanelWidget(owner)),
        boneControl_(new BoneControlPanel(owner)) {
    // Picking another bone starts the Bone Control sliders from the centre.
    QObject::connect(bone_, &BonePanelWidget::selectionChanged, boneControl_, &BoneControlPanel::recentre);
    // Any panel may change weights or the selection: the averages follow.
    const auto edited = [this] {
      weight_->refreshAverages();
      if (editedHandler_) editedHandler_();
    };
    QObject::connect(bone_, &BonePanelWidget::edited, edited);
    QObject::connect(keyframe_, &KeyframePanelWidget::edited, edited);
    QObject::connect(weight_, &WeightControlPanelWidget::edited, edited);
    QObject::connect(boneControl_, &BoneControlPanel::edited, edited);
  }

  void setEditedHandler(std::function<void()> handler) override { editedHandler_ = std::move(handler); }

  QWidget* window(PanelId panel) override {
    switch (panel) {
      case PanelId::Bone:
        return bone_;
      case PanelId::Keyframe:
        return keyframe_;
      case PanelId::WeightControl:
        return weight_;
      case PanelId::BoneControl:
        return boneControl_;
    }
    return nullptr;
  }

  void attach(Application* app) override {
    app_ = app;
    keyframe_->attach(app);
    bone_->attach(app);
    weight_->attach(app);
    boneControl_->attach(app);
  }

  void modelChanged() override {
    if (app_ != nullptr && app_->model.bonesLoaded()) {
      weight_->onSkeletonLoaded();
    }
    weight_->refreshAverages();
    bone_->refreshParameters();
    keyframe_->refresh();
    boneControl_->showAngles();
  }

  void selectionChanged() override { weight_->refreshAverages(); }

  BoneTree& boneTree() override { return bone_->boneTree(); }
  BoneTreeItem selectedBoneItem() override { return bone_->selectedItem(); }
  void selectBoneItem(BoneTreeItem item) override { bone_->selectItem(item); }
  void expandBoneItem(BoneTreeItem item) override { bone_->expandItem(item); }
  KeyframePanel& keyframePanel() override { return *keyframe_->behaviour(); }

 private:
  Application* app_ = nullptr;
  std::function<void()> editedHandler_;
  BonePanelWidget* bone_;
  KeyframePanelWidget* keyframe_;
  WeightControlPanelWidget* weight_;
  BoneControlPanel* boneControl_;
};
}  // namespace

std::unique_ptr<PanelSet> CreatePanels(QWidget* owner) {
  return std::make_unique<ToolPanels>(owner);
}
}  // namespace posewright
