#include "anim/Playback.h"

#include <algorithm>
#include <climits>

#include "anim/AnimationState.h"

namespace posewright {

namespace {
D3DXQUATERNION RotationOrIdentity(const Keyframe& key, std::size_t bone) {
  return bone < key.rotations.size() ? key.rotations[bone] : D3DXQUATERNION();
}
}  // namespace

namespace {
// Moves pair on while time has reached its end. In a steady run time grows by
// one per frame, so this moves at most one keyframe; after the loop restarts
// at time 1 it also catches a second keyframe that sits at time 1.
void AdvancePair(const std::vector<Keyframe>& keys, int32_t& time, PlaybackPair& pair) {
  const auto count = static_cast<KeyPosition>(keys.size());
  bool wrapped = false;
  while (time >= keys[static_cast<std::size_t>(pair.to)].time) {
    if (pair.to + 1 < count) {
      pair.from = pair.to;
      pair.to = pair.to + 1;
    } else if (!wrapped) {
      pair.from = 0;
      pair.to = 1;
      time = 1;
      wrapped = true;
    } else {
      break;
    }
  }
}
}  // namespace

bool PlaybackStep(Skeleton& skeleton, const Animation& animation, int32_t n, int32_t& time,
                  PlaybackPair& pair, int32_t skipped) {
  const std::vector<Keyframe>& keys = animation.keys();
  const auto count = static_cast<KeyPosition>(keys.size());
  if (count < 2) {
    return false;
  }
  if (time == 0 || pair.keysStamp != animation.keysStamp()) {
    pair = PlaybackPair{0, 1, animation.keysStamp()};
  }
  AdvancePair(keys, time, pair);
  if (skipped > 0) {
    // The frames not drawn, as if each had been: past the last keyframe's
    // time L the loop runs 1 … L − 1.
    const int64_t last = keys.back().time;
    int64_t t = int64_t{time} + skipped;
    if (t >= last) {
      t = last > 1 ? 1 + (t - last) % (last - 1) : 1;
      pair = PlaybackPair{0, 1, animation.keysStamp()};
    }
    time = static_cast<int32_t>(std::min<int64_t>(t, INT32_MAX));
    AdvancePair(keys, time, pair);
  }
  const Keyframe& from = keys[static_cast<std::size_t>(pair.from)];
  const Keyframe& to = keys[static_cast<std::size_t>(pair.to)];
  const double elapsed = static_cast<double>(time) - static_cast<double>(from.time);
  const double span = static_cast<double>(to.time) - static_cast<double>(from.time);
  const auto s = static_cast<float>(elapsed / span);
  const std::size_t bones = std::min(static_cast<std::size_t>(std::max(n, 0)), skeleton.bones.size());
  for (std::size_t i = 0; i < bones; ++i) {
    const D3DXQUATERNION a = RotationOrIdentity(from, i);
    D3DXQUATERNION b = RotationOrIdentity(to, i);
    if (D3DXQuaternionDot(&a, &b) < 0.0f) {
      b = -b;
    }
    D3DXQUATERNION pose;
    D3DXQuaternionSlerp(&pose, &a, &b, s);
    SetBonePose(skeleton.bones[i], pose);
  }
  return true;
}

std::optional<int32_t> AdvancePlayback(AnimationState& state, Skeleton& skeleton, int32_t skipped) {
  if (!state.playing) {
    return std::nullopt;
  }
  const Animation* animation = state.animations.current();
  if (animation == nullptr ||
      !PlaybackStep(skeleton, *animation, skeleton.boneCount(), state.currentTime, state.playback, skipped)) {
    state.playing = false;
    return std::nullopt;
  }
  const int32_t shown = state.currentTime;
  if (state.currentTime < INT32_MAX) {
    ++state.currentTime;
  }
  return shown;
}
}  // namespace posewright
