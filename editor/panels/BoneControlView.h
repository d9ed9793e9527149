// What the Bone Control panel's behaviour needs from its widgets. The widget
// side implements it and forwards slider moves and button presses to
// BoneControl.
#pragma once

#include <cstdint>

namespace posewright {

class BoneControlView {
 public:
  virtual ~BoneControlView() = default;
  /// Moves slider axis (0 = X, 1 = Y, 2 = Z) to position (0 to 360); must not
  /// report a user move.
  virtual void setSliderPosition(int axis, int32_t position) = 0;
  /// Hides the panel.
  virtual void hidePanel() = 0;
};
}  // namespace posewright
