#include "history/AnimationChange.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "history/DataKeys.h"

namespace posewright {

namespace {
bool SameKey(const Keyframe& a, const Keyframe& b) {
  return a.time == b.time && a.rotations.size() == b.rotations.size() &&
         std::memcmp(a.rotations.data(), b.rotations.data(), a.rotations.size() * sizeof(D3DXQUATERNION)) ==
             0;
}

std::size_t KeyBytes(const Keyframe& key) {
  return sizeof(Keyframe) + key.rotations.capacity() * sizeof(D3DXQUATERNION);
}

bool Contains(const std::vector<std::shared_ptr<Animation>>& list, const Animation* a) {
  return std::any_of(list.begin(), list.end(), [a](const auto& e) { return e.get() == a; });
}
}  // namespace

std::size_t AnimationBytes(const Animation& animation) {
  std::size_t bytes = sizeof(Animation) + animation.name.capacity();
  for (const Keyframe& key : animation.keys()) bytes += KeyBytes(key);
  return bytes;
}

KeyframeChangeStep::KeyframeChangeStep(std::string name, Animation& animation)
    : HistoryStep(std::move(name), {AnimationData(animation)}), animation_(animation) {}

std::size_t KeyframeChangeStep::memoryBytes() const {
  std::size_t bytes = sizeof(*this) + name().capacity() + changes.capacity() * sizeof(KeyframeChange);
  for (const KeyframeChange& c : changes) {
    if (c.before) bytes += KeyBytes(*c.before);
    if (c.after) bytes += KeyBytes(*c.after);
  }
  return bytes;
}

void KeyframeChangeStep::write(bool after) {
  for (const KeyframeChange& c : changes) {
    const std::optional<Keyframe>& key = after ? c.after : c.before;
    if (key) {
      animation_.InsertKey(key->rotations, key->time);
    } else {
      animation_.RemoveKey(animation_.PositionOfTime(c.time));
    }
  }
  animation_.SelectKey(after ? currentAfter : currentBefore);
}

AnimationKeysEdit::AnimationKeysEdit(History& history, Animation& animation, std::string name)
    : history_(history),
      animation_(animation),
      name_(std::move(name)),
      before_(animation.keys()),
      currentBefore_(animation.currentKey()) {}

void AnimationKeysEdit::commit() {
  std::map<int32_t, std::pair<const Keyframe*, const Keyframe*>> byTime;
  for (const Keyframe& k : before_) byTime[k.time].first = &k;
  for (const Keyframe& k : animation_.keys()) byTime[k.time].second = &k;
  auto step = std::make_unique<KeyframeChangeStep>(name_, animation_);
  for (const auto& [time, pair] : byTime) {
    const auto [was, is] = pair;
    if (was != nullptr && is != nullptr && SameKey(*was, *is)) continue;
    KeyframeChange change;
    change.time = time;
    if (was != nullptr) change.before = *was;
    if (is != nullptr) change.after = *is;
    step->changes.push_back(std::move(change));
  }
  step->currentBefore = currentBefore_;
  step->currentAfter = animation_.currentKey();
  if (step->changes.empty() && step->currentBefore == step->currentAfter) {
    return;
  }
  history_.push(std::move(step));
}

std::size_t AnimationListStep::memoryBytes() const {
  std::size_t bytes = sizeof(*this) + name().capacity() +
                      (before.capacity() + after.capacity()) * sizeof(std::shared_ptr<Animation>);
  // An animation on one side only lives on through this step.
  for (const auto& a : before) {
    if (!Contains(after, a.get())) bytes += AnimationBytes(*a);
  }
  for (const auto& a : after) {
    if (!Contains(before, a.get())) bytes += AnimationBytes(*a);
  }
  return bytes;
}

AnimationListEdit::AnimationListEdit(History& history, AnimationList& list, std::string name)
    : history_(history),
      list_(list),
      name_(std::move(name)),
      before_(list.entries()),
      currentBefore_(list.currentIndex()) {}

void AnimationListEdit::commit() {
  const std::vector<std::shared_ptr<Animation>>& after = list_.entries();
  added_.clear();
  std::vector<DataKey> touches;
  for (const auto& a : after) {
    if (!Contains(before_, a.get())) {
      added_.push_back(a.get());
      touches.push_back(AnimationData(*a));
    }
  }
  for (const auto& a : before_) {
    if (!Contains(after, a.get())) touches.push_back(AnimationData(*a));
  }
  if (touches.empty()) {
    return;  // only a change of the current animation, as Previous / Next make
  }
  auto step = std::make_unique<AnimationListStep>(name_, std::move(touches), list_);
  step->before = before_;
  step->after = after;
  step->currentBefore = currentBefore_;
  step->currentAfter = list_.currentIndex();
  history_.push(std::move(step));
}
}  // namespace posewright
