#include "editor/panels/KeyframePanel.h"

#include <algorithm>
#include <climits>

#include "anim/KeyPose.h"

namespace posewright {

namespace {
const char kTitlePrefix[] = "Keyframe : ";
const char kOverwriteQuestion[] = "There's Already Exist Keyframe,Overwrite?";
const char kAttention[] = "Attention";

int32_t MarkerX(int32_t time, int32_t timelineStart, SliderChannel channel) {
  const int64_t x = int64_t{channel.left} +
                    (int64_t{time} - int64_t{timelineStart}) * int64_t{channel.length} / kTimelineWindow;
  return static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
}
}  // namespace

std::vector<KeyframeMarker> KeyframeMarkerPositions(const Animation& animation, int32_t timelineStart,
                                                    SliderChannel channel) {
  std::vector<KeyframeMarker> markers;
  for (const Keyframe& key : animation.keys()) {
    markers.push_back({MarkerX(key.time, timelineStart, channel), false});
  }
  if (const Keyframe* current = animation.currentKeyframe()) {
    markers.push_back({MarkerX(current->time, timelineStart, channel), true});
  }
  return markers;
}

void KeyframePanel::initialize() {
  applyWindow();
  refreshMarkers();
}

void KeyframePanel::moveSlider(int32_t position) {
  sliderPosition_ = std::clamp(position, state_.timelineStart, state_.timelineStart + kTimelineWindow);
  view_.setSliderPosition(sliderPosition_);
}

void KeyframePanel::applyWindow() {
  const int32_t start = state_.timelineStart;
  view_.setSliderRange(start, start + kTimelineWindow);
  view_.setWindowLabels(std::to_string(start), std::to_string(start + kTimelineWindow / 2),
                        std::to_string(start + kTimelineWindow));
  moveSlider(sliderPosition_);  // a position outside the new window moves to its nearer end
}

void KeyframePanel::sliderMoved(int32_t position) {
  sliderPosition_ = std::clamp(position, state_.timelineStart, state_.timelineStart + kTimelineWindow);
  if (state_.animations.current() != nullptr) {
    view_.setTimeText(std::to_string(sliderPosition_));
  }
}

void KeyframePanel::previousPressed(Skeleton& skeleton) {
  Animation* animation = state_.animations.current();
  if (animation == nullptr) {
    return;
  }
  if (animation->SelectPreviousKey()) {
    moveSlider(animation->currentKeyframe()->time);
    ApplyKey(skeleton, *animation->currentKeyframe());
  }
  refreshMarkers();
}

void KeyframePanel::nextPressed(Skeleton& skeleton) {
  Animation* animation = state_.animations.current();
  if (animation == nullptr) {
    return;
  }
  if (animation->SelectNextKey()) {
    moveSlider(animation->currentKeyframe()->time);
    ApplyKey(skeleton, *animation->currentKeyframe());
  }
  refreshMarkers();
}

void KeyframePanel::addPressed(const Skeleton& skeleton) {
  Animation* animation = state_.animations.current();
  if (animation == nullptr || !skeleton.bonesLoaded) {
    return;
  }
  const int32_t t = sliderPosition_;
  if (animation->HasKeyAt(t) && !view_.askOkCancel(kOverwriteQuestion, kAttention)) {
    refreshMarkers();
    return;
  }
  RecordKey(skeleton, *animation, t);
  moveSlider(t);
  refreshMarkers();
}

void KeyframePanel::removePressed(const Skeleton& skeleton) {
  Animation* animation = state_.animations.current();
  if (animation == nullptr || !skeleton.bonesLoaded) {
    return;
  }
  animation->RemoveKey(animation->currentKey());
  refreshMarkers();
}

void KeyframePanel::playPressed() {
  const Animation* animation = state_.animations.current();
  if (animation == nullptr) {
    return;
  }
  // With fewer than two keyframes there is nothing to play: only the reset remains.
  if (animation->keys().size() >= 2) {
    state_.playing = !state_.playing;
  }
  state_.currentTime = 0;
  moveSlider(0);
  view_.setTimeText("0");
  refreshMarkers();
}

void KeyframePanel::inversePressed(Skeleton& skeleton) {
  if (state_.animations.current() == nullptr) {
    return;
  }
  if (skeleton.bonesLoaded) {
    MirrorPose(skeleton);
  }
  refreshMarkers();
}

void KeyframePanel::windowBackPressed() {
  if (state_.animations.current() == nullptr) {
    return;
  }
  state_.timelineStart = std::max(state_.timelineStart - kTimelineShift, 0);
  applyWindow();
  refreshMarkers();
}

void KeyframePanel::windowForwardPressed() {
  if (state_.animations.current() == nullptr) {
    return;
  }
  // No upper limit short of keeping the window's right end representable.
  state_.timelineStart =
      std::min(state_.timelineStart, INT32_MAX - kTimelineWindow - kTimelineShift) + kTimelineShift;
  applyWindow();
  refreshMarkers();
}

void KeyframePanel::playbackFrame(Skeleton& skeleton, int32_t skipped) {
  if (const std::optional<int32_t> shown = AdvancePlayback(state_, skeleton, skipped)) {
    view_.setTimeText(std::to_string(*shown));
    moveSlider(*shown);
  }
}

void KeyframePanel::updateTitle() {
  const Animation* animation = state_.animations.current();
  view_.setTitle(kTitlePrefix + (animation != nullptr ? animation->name : std::string()));
  refreshMarkers();
}

void KeyframePanel::refreshMarkers() {
  const Animation* animation = state_.animations.current();
  if (animation == nullptr) {
    view_.showMarkers({});
    return;
  }
  view_.showMarkers(KeyframeMarkerPositions(*animation, state_.timelineStart, view_.sliderChannel()));
}
}  // namespace posewright
