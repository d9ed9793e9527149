// What the Keyframe panel's behaviour needs from its widgets. The widget side
// implements it and forwards the user's actions to KeyframePanel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace posewright {

/// The slider's channel in its own client coordinates: c, the channel's left
/// edge, and w, the channel length minus the thumb width (pixels).
struct SliderChannel {
  int32_t left = 0;
  int32_t length = 0;
};

/// A keyframe mark on the time slider, drawn with its top-left corner at (x, 2):
/// blue for a keyframe, red for the current one.
struct KeyframeMarker {
  int32_t x = 0;
  bool current = false;
  friend bool operator==(const KeyframeMarker&, const KeyframeMarker&) = default;
};

class KeyframePanelView {
 public:
  virtual ~KeyframePanelView() = default;
  /// Sets the panel's title and repaints the panel.
  virtual void setTitle(const std::string& title) = 0;
  /// The read-only Time field.
  virtual void setTimeText(const std::string& text) = 0;
  /// The time slider's range, one position per editor frame.
  virtual void setSliderRange(int32_t minimum, int32_t maximum) = 0;
  /// Moves the time slider (within its range); must not report a user move.
  virtual void setSliderPosition(int32_t position) = 0;
  /// The labels under the slider's left end, middle and right end.
  virtual void setWindowLabels(const std::string& start, const std::string& middle,
                               const std::string& end) = 0;
  /// Replaces the markers drawn over the slider; later ones are drawn on top.
  virtual void showMarkers(const std::vector<KeyframeMarker>& markers) = 0;
  /// Where the slider's channel lies.
  virtual SliderChannel sliderChannel() const = 0;
  /// A message box with an OK button, owned by the main window.
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
  /// A message box with OK and Cancel, owned by the main window; true for OK.
  virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
};
}  // namespace posewright
