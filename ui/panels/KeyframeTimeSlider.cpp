#include "ui/panels/KeyframeTimeSlider.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "ui/panels/KeyframeMarkers.h"

namespace posewright {

namespace {
// Markers hang from this row of the slider.
constexpr int kMarkerTop = 2;
}  // namespace

KeyframeTimeSlider::KeyframeTimeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void KeyframeTimeSlider::setMarkers(const std::vector<KeyframeMarker>& markers) {
  markers_ = markers;
  update();
}

SliderChannel KeyframeTimeSlider::channel() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.sliderPosition = minimum();
  option.sliderValue = minimum();
  const QRect first = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  option.sliderPosition = maximum();
  option.sliderValue = maximum();
  const QRect last = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  return SliderChannel{first.left(), last.left() - first.left()};
}

void KeyframeTimeSlider::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  QPainter painter(this);
  for (const KeyframeMarker& marker : markers_) {
    painter.drawImage(QPoint(marker.x, kMarkerTop),
                      marker.current ? CurrentKeyframeMarkerImage() : KeyframeMarkerImage());
  }
}
}  // namespace posewright
