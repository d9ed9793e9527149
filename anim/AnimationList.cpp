#include "anim/AnimationList.h"

#include <algorithm>

namespace posewright {

Animation& AnimationList::AppendAnimation(const Animation& animation) {
  auto entry = std::make_shared<Animation>();
  entry->CopyFrom(animation);
  entries_.push_back(std::move(entry));
  current_ = size() - 1;
  return *entries_.back();
}

bool AnimationList::PreviousAnimation() {
  if (current_ <= 0) {
    return false;
  }
  --current_;
  return true;
}

bool AnimationList::NextAnimation() {
  if (current_ < 0 || current_ + 1 >= size()) {
    return false;
  }
  ++current_;
  return true;
}

void AnimationList::RemoveAnimation() {
  if (current_ < 0) {
    return;
  }
  entries_.erase(entries_.begin() + current_);
  if (current_ >= size()) {
    current_ = size() - 1;  // the removed entry was the last: its predecessor, or none
  }
}

void AnimationList::replaceEntries(std::vector<std::shared_ptr<Animation>> entries, int32_t current) {
  entries_ = std::move(entries);
  current_ = entries_.empty() ? -1 : std::clamp(current, int32_t{0}, size() - 1);
}

void AnimationList::ClearAnimations() {
  entries_.clear();
  current_ = -1;
}

Animation* AnimationList::current() {
  return current_ < 0 ? nullptr : entries_[static_cast<std::size_t>(current_)].get();
}

const Animation* AnimationList::current() const {
  return current_ < 0 ? nullptr : entries_[static_cast<std::size_t>(current_)].get();
}
}  // namespace posewright
