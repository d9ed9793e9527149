// The Keyframe panel's time slider: a horizontal slider that paints the
// keyframe markers over itself, each with its top-left corner at (x, 2) in the
// slider's own coordinates, in the order given (later ones on top).
#pragma once

#include <QSlider>
#include <vector>

#include "editor/panels/KeyframePanelView.h"

namespace posewright {

class KeyframeTimeSlider : public QSlider {
  Q_OBJECT

 public:
  explicit KeyframeTimeSlider(QWidget* parent);

  /// Replaces the markers and repaints the slider, wiping the old ones.
  void setMarkers(const std::vector<KeyframeMarker>& markers);
  const std::vector<KeyframeMarker>& markers() const { return markers_; }

  /// Where the thumb's left edge runs: left at the slider's minimum, left +
  /// length at its maximum, so a marker drawn at left + (t − minimum) × length
  /// / range lines up with the thumb at t.
  SliderChannel channel() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<KeyframeMarker> markers_;
};
}  // namespace posewright
