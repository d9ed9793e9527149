#include "anim/Animation.h"

#include <algorithm>
#include <atomic>

namespace posewright {

namespace {
std::atomic<uint64_t> g_lastKeysStamp{0};
std::atomic<uint64_t> g_lastSerial{0};
}  // namespace

Animation::Animation() : serial_(++g_lastSerial) {
  touchKeys();
}

Animation::Animation(const Animation& other)
    : name(other.name),
      boneCount(other.boneCount),
      keys_(other.keys_),
      currentKey_(other.currentKey_),
      serial_(++g_lastSerial) {
  touchKeys();
}

Animation& Animation::operator=(const Animation& other) {
  if (&other != this) {
    name = other.name;
    boneCount = other.boneCount;
    keys_ = other.keys_;
    currentKey_ = other.currentKey_;
    touchKeys();
  }
  return *this;
}

void Animation::touchKeys() {
  keysStamp_ = ++g_lastKeysStamp;
}

bool Animation::HasKeyAt(int32_t t) const {
  std::size_t i = 0;
  while (i < keys_.size() && keys_[i].time < t) ++i;
  return i < keys_.size() && keys_[i].time == t;
}

KeyPosition Animation::InsertKey(std::span<const D3DXQUATERNION> rotations, int32_t t) {
  Keyframe key;
  key.rotations.assign(rotations.begin(), rotations.end());
  key.time = t;
  // The first keyframe whose time is not below t: replaced when equal,
  // otherwise the new one goes directly before it (or at the end).
  std::size_t i = 0;
  while (i < keys_.size() && keys_[i].time < t) ++i;
  if (i < keys_.size() && keys_[i].time == t) {
    keys_[i] = std::move(key);
  } else {
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(i), std::move(key));
  }
  currentKey_ = static_cast<KeyPosition>(i);
  touchKeys();
  return currentKey_;
}

KeyPosition Animation::RemoveKey(KeyPosition position) {
  if (position < 0 || position >= static_cast<KeyPosition>(keys_.size())) {
    return position;
  }
  keys_.erase(keys_.begin() + position);
  const auto remaining = static_cast<KeyPosition>(keys_.size());
  // The successor now sits at the same index; without one, the predecessor.
  if (position < remaining) {
    currentKey_ = position;
  } else {
    currentKey_ = remaining > 0 ? remaining - 1 : kNoKey;
  }
  touchKeys();
  return currentKey_;
}

void Animation::CopyFrom(const Animation& other) {
  if (&other == this) {
    return;
  }
  boneCount = other.boneCount;
  keys_.clear();
  currentKey_ = kNoKey;
  const std::size_t count = static_cast<std::size_t>(std::max<int32_t>(boneCount, 0));
  std::vector<D3DXQUATERNION> fitted;
  for (const Keyframe& key : other.keys_) {
    fitted.assign(count, D3DXQUATERNION());
    std::copy_n(key.rotations.begin(), std::min(count, key.rotations.size()), fitted.begin());
    InsertKey(fitted, key.time);
  }
  name = other.name;
  touchKeys();
}

const Keyframe* Animation::currentKeyframe() const {
  return currentKey_ == kNoKey ? nullptr : &keys_[static_cast<std::size_t>(currentKey_)];
}

bool Animation::SelectKey(KeyPosition position) {
  const auto count = static_cast<KeyPosition>(keys_.size());
  if (position == kNoKey ? count != 0 : (position < 0 || position >= count)) {
    return false;
  }
  currentKey_ = position;
  return true;
}

KeyPosition Animation::PositionOfTime(int32_t t) const {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i].time == t) {
      return static_cast<KeyPosition>(i);
    }
  }
  return kNoKey;
}

bool Animation::SelectPreviousKey() {
  if (currentKey_ <= 0) {
    return false;
  }
  --currentKey_;
  return true;
}

bool Animation::SelectNextKey() {
  if (currentKey_ == kNoKey || currentKey_ + 1 >= static_cast<KeyPosition>(keys_.size())) {
    return false;
  }
  ++currentKey_;
  return true;
}
}  // namespace posewright
