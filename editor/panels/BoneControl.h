// The Bone Control panel's behaviour: three sliders turn the selected bone
// about its own X, Y and Z axes, each move applying only the change since the
// last; OK re-centres the sliders keeping the pose; Reset returns the bone to
// its rest pose. While no skeleton is loaded the sliders, OK and Reset are
// ignored; HIDE always hides.
#pragma once

#include <array>
#include <cstdint>

#include "editor/panels/BoneControlView.h"
#include "editor/panels/BoneItemMap.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Slider positions run from 0 to 360; position p stands for p − 180 degrees.
inline constexpr int32_t kBoneSliderMinimum = 0;
inline constexpr int32_t kBoneSliderMaximum = 360;
inline constexpr int32_t kBoneSliderCentre = 180;

class BoneControl {
 public:
  /// sliderAngles: per slider, the angle in degrees (slider position − 180) it
  /// stood at when it last turned the bone; held by the caller so it outlives
  /// the panel's widgets.
  BoneControl(std::array<int32_t, 3>& sliderAngles, BoneControlView& view)
      : sliderAngles_(sliderAngles), view_(view) {}

  /// Slider axis (0 = X, 1 = Y, 2 = Z) now stands at position: turns the bone
  /// selected by selectedItem about its own axis by the change in angle since
  /// the slider last acted, after its existing pose (items: the bone list's
  /// entries, BoneIndexOfItem).
  void sliderMoved(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem selectedItem, int axis,
                   int32_t position);
  /// OK: sliders back to the centre; the bone keeps its pose.
  void okPressed(const Skeleton& skeleton);
  /// HIDE (also Escape and the close box): hides the panel, with or without a
  /// skeleton; slider angles stay.
  void hidePressed();
  /// Reset: the selected bone returns to its rest pose; sliders stay.
  void resetPressed(Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem selectedItem);
  /// The bone selection changed: sliders back to the centre.
  void selectionChanged();

  const std::array<int32_t, 3>& sliderAngles() const { return sliderAngles_; }

 private:
  void recentre();

  std::array<int32_t, 3>& sliderAngles_;
  BoneControlView& view_;
};
}  // namespace posewright
