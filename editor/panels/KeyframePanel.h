// The Keyframe panel's behaviour: recording, removing and stepping through the
// current animation's keyframes, playback start and stop, the mirror, the
// slider's 60-frame time window and the keyframe markers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "anim/AnimationState.h"
#include "editor/panels/KeyframePanelView.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Frames shown by the time slider at once.
inline constexpr int32_t kTimelineWindow = 60;
/// Frames the "-5" and "+5" buttons shift the window by.
inline constexpr int32_t kTimelineShift = 5;

/// The markers for animation's keyframes on a slider whose left end shows
/// timelineStart: x = c + (time − timelineStart) × w / 60 (truncated), one
/// blue marker per keyframe in list order, then a red one for the current key.
std::vector<KeyframeMarker> KeyframeMarkerPositions(const Animation& animation, int32_t timelineStart,
                                                    SliderChannel channel);

class KeyframePanel {
 public:
  KeyframePanel(AnimationState& state, KeyframePanelView& view) : state_(state), view_(view) {}

  /// First set-up of the widgets: the slider's range and window labels (0, 30
  /// and 60 at start) and the markers. The title stays "Keyframe" until an
  /// animation command sets it.
  void initialize();

  /// The user moved the time slider.
  void sliderMoved(int32_t position);
  /// Prev / Next: step the current keyframe and restore its pose.
  void previousPressed(Skeleton& skeleton);
  void nextPressed(Skeleton& skeleton);
  /// Add: record the pose at the slider's time, asking before overwriting.
  void addPressed(const Skeleton& skeleton);
  /// Remove: remove the current keyframe, without asking.
  void removePressed(const Skeleton& skeleton);
  /// Play: start or stop playback and reset the time to 0.
  void playPressed();
  /// Inverse: mirror the pose left to right.
  void inversePressed(Skeleton& skeleton);
  /// "-5" / "+5": shift the slider's window.
  void windowBackPressed();
  void windowForwardPressed();

  /// The playback part of a drawn frame (see AdvancePlayback, skipped the
  /// frames of the clock that were not drawn): poses the skeleton and shows
  /// the frame's time in the Time field and on the slider.
  void playbackFrame(Skeleton& skeleton, int32_t skipped = 0);

  /// Titles the panel after the current animation ("Keyframe : " + name, or
  /// "Keyframe : " alone) and redraws its markers.
  void updateTitle();
  /// Redraws the markers of the current animation (none without one).
  void refreshMarkers();

  /// The slider's position as the panel last set or was told it.
  int32_t sliderPosition() const { return sliderPosition_; }
  AnimationState& state() { return state_; }
  KeyframePanelView& view() { return view_; }

 private:
  void moveSlider(int32_t position);
  void applyWindow();

  AnimationState& state_;
  KeyframePanelView& view_;
  int32_t sliderPosition_ = 0;
};
}  // namespace posewright
