// Behaviour of the Weight Control panel: hand editing of the selected
// vertices' bones and weights, and selection by bone. The panel widget calls
// one handler per user action; the handler reads and writes the widgets
// through a WeightControlView and changes the model only when its checks pass.
#pragma once

#include <optional>

#include "editor/panels/WeightControlView.h"
#include "weights/WeightEditing.h"

namespace posewright {

struct SkinnedModel;

/// Number of bone/weight slots of the panel.
inline constexpr int kWeightSlots = 4;
/// Weight sliders run from 0 to this position (weight 1.0), ticks every 5.
inline constexpr int kWeightSliderMaximum = 20;
inline constexpr int kWeightSliderTick = 5;

class WeightControlPanel {
 public:
  /// view must outlive the panel.
  explicit WeightControlPanel(WeightControlView& view) : view_(view) {}

  /// Once, when the widgets exist: slider ranges 0..20 with a tick every 5.
  void onCreated();

  /// To be called for every event the panel handles, before the action's own
  /// handler (the handlers below call it themselves). The first time a
  /// skeleton is loaded it fills each bone index box with the bone numbers,
  /// selects 0, shows every slider's weight in its edit and shows the panel.
  /// Afterwards the boxes are refilled (selection back to 0) only when a
  /// skeleton with another bone count was loaded, so a box never offers a
  /// bone the model does not have. Returns false while no skeleton is loaded.
  bool prepare(const SkinnedModel& model);

  /// "Hide": hides the panel; every control keeps its value.
  void onHide();

  /// "Select": selects exactly the vertices bound to the boxes' bones.
  void onSelect(SkinnedModel& model);
  /// "Choose": keeps selected only the selected vertices bound to the boxes' bones.
  void onChoose(SkinnedModel& model);
  /// "Apply": normalises the edits' weights, shows them in edits and sliders
  /// and writes bones and weights into every selected vertex.
  void onApply(SkinnedModel& model);
  /// The user moved slider slot: its edit shows the slider's weight. The model
  /// does not change until "Apply".
  void onSliderMoved(SkinnedModel& model, int slot);

  /// Shows under each slot the selected vertices' average weight of the bone
  /// in its box ("avg 0.42"), so the user sees what the selection holds
  /// before changing it; blank for box 0 (no bone), without a skeleton and
  /// while no vertex is selected. Call it whenever the selection, the
  /// weights or a box change.
  void showAverages(const SkinnedModel& model);

  /// True once the boxes have been filled for a skeleton.
  bool ready() const { return filledBoneCount_ > 0; }

 private:
  // The four box selections as bone indices, or nothing after showing a
  // message when they fail the index check.
  std::optional<BoneIndexQuad> checkedIndices();
  void showSliderWeight(int slot);

  WeightControlView& view_;
  // Bone count the boxes list; 0 before the first fill.
  int filledBoneCount_ = 0;
};
}  // namespace posewright
