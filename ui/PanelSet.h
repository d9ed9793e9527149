// The four tool panels as the main window sees them: their windows (for
// placing and showing), the Application hand-over, the Bone panel's tree and
// the Keyframe panel's behaviour.
#pragma once

#include <functional>
#include <memory>

#include "editor/ShellView.h"

class QWidget;

namespace posewright {
struct Application;

class PanelSet {
 public:
  virtual ~PanelSet() = default;

  /// The panel's top-level window (a modeless tool dialog owned by the main window).
  virtual QWidget* window(PanelId panel) = 0;
  /// Hands the Application to the panels in the order Keyframe, Bone, Weight
  /// Control, Bone Control; null detaches them, after which they ignore input.
  virtual void attach(Application* app) = 0;
  /// The model changed under the panels (see ShellView::modelChanged).
  virtual void modelChanged() = 0;
  /// The vertex selection may have changed (see ShellView::selectionChanged).
  virtual void selectionChanged() = 0;
  /// handler runs after every action of a panel (the viewport draws again).
  virtual void setEditedHandler(std::function<void()> handler) = 0;

  virtual BoneTree& boneTree() = 0;
  virtual BoneTreeItem selectedBoneItem() = 0;
  virtual void selectBoneItem(BoneTreeItem item) = 0;
  virtual void expandBoneItem(BoneTreeItem item) = 0;
  /// The Keyframe panel's behaviour; only while attached.
  virtual KeyframePanel& keyframePanel() = 0;
};

/// Creates the four panels, owned by owner, in the order Bone, Keyframe,
/// Weight Control, Bone Control; none is shown yet.
std::unique_ptr<PanelSet> CreatePanels(QWidget* owner);
}  // namespace posewright
