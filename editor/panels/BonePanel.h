// The Bone panel's behaviour: showing the selected bone's blending parameters
// and mirror partner, and storing what the user typed with the two "Apply"
// buttons. Selection in the bone tree also re-centres the Bone Control sliders.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "editor/panels/BoneItemMap.h"
#include "editor/panels/BonePanelView.h"
#include "skeleton/Skeleton.h"

namespace posewright {

struct SkinnedModel;

/// Longest text the panel reads from an edit, in characters.
inline constexpr std::size_t kBonePanelTextLength = 31;
/// R typed as exactly 0 is stored as this.
inline constexpr float kZeroRReplacement = 1.0f;
/// H typed as exactly 0 is stored as this.
inline constexpr float kZeroHReplacement = 0.25f;

/// The number an edit's text stands for: its first 31 characters, leading
/// white space skipped, then the longest leading decimal number, kept inside
/// the finite float range; anything else is 0.
float ParseBonePanelReal(std::string_view text);
/// As ParseBonePanelReal for a whole number (clamped to the 32-bit range).
int32_t ParseBonePanelInt(std::string_view text);

class BonePanel {
 public:
  /// view must outlive the panel.
  explicit BonePanel(BonePanelView& view) : view_(view) {}

  /// The tree's selection became item (an entry of items): its bone's H and R ("%.4f") and
  /// Symmetric Bone ID ("%d") go into the edits (item 0 or an unknown item
  /// stands for the last bone; nothing is shown without bones), then the Bone
  /// Control sliders are re-centred.
  void selectionChanged(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item);

  /// Shows the H, R and Symmetric Bone ID of item's bone as selectionChanged
  /// does, without touching Bone Control: for when the values changed under
  /// an unchanged selection (a parameter file was read).
  void showParameters(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item);

  /// "Apply" for H and R: stores the edits' R and H for the bone of selected
  /// (a 0 typed for R stands for 1.0, for H 0.25; negative values are kept)
  /// and recomputes the weights of the selected vertices. Ignored while no
  /// skeleton is loaded.
  void applyBlendingPressed(SkinnedModel& model, const BoneItemMap& items, BoneTreeItem selected);

  /// "Apply" for the Symmetric Bone ID: pairs the bone of selected with the
  /// bone the edit names, the root when that is not a bone index. Ignored
  /// while no skeleton is loaded.
  void applySymmetricPressed(SkinnedModel& model, const BoneItemMap& items, BoneTreeItem selected);

 private:
  BonePanelView& view_;
};
}  // namespace posewright
