#include "anim/Playback.h"

#include <algorithm>
#include <climits>

#include "anim/AnimationState.h"

namespace {
D3DXQUATERNION RotationOrIdentity(const Keyframe& key, std::size_t bone) {
  return bone < key.rotations.size() ? key.rotations[bone] : D3DXQUATERNION();
}
}  // namespace

bool PlaybackStep(Skeleton& skeleton, const Animation& animation, int32_t n, int32_t& time,
                  PlaybackPair& pair) {
  const std::vector<Keyframe>& keys = animation.keys();
  const auto count = static_cast<KeyPosition>(keys.size());
  if (count < 2) {
    return false;
  }
  if (time == 0 || pair.keysStamp != animation.keysStamp()) {
    pair = PlaybackPair{0, 1, animation.keysStamp()};
  }
  // Advance while time has reached the pair's end. In a steady run time grows
  // by one per frame, so this moves at most one keyframe; after the loop
  // restarts at time 1 it also catches a second keyframe that sits at time 1.
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

std::optional<int32_t> AdvancePlayback(AnimationState& state, Skeleton& skeleton) {
  if (!state.playing) {
    return std::nullopt;
  }
  const Animation* animation = state.animations.current();
  if (animation == nullptr ||
      !PlaybackStep(skeleton, *animation, skeleton.boneCount(), state.currentTime, state.playback)) {
    state.playing = false;
    return std::nullopt;
  }
  const int32_t shown = state.currentTime;
  if (state.currentTime < INT32_MAX) {
    ++state.currentTime;
  }
  return shown;
}
