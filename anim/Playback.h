// Playing an animation back: one time step per drawn frame, interpolating
// between neighbouring keyframes, looping.
#pragma once

#include <cstdint>
#include <optional>

#include "anim/Animation.h"
#include "skeleton/Skeleton.h"

namespace posewright {

struct AnimationState;

/// The two keyframes playback interpolates between, with the keys stamp of the
/// animation they were taken from (Animation::keysStamp).
struct PlaybackPair {
  KeyPosition from = kNoKey;
  KeyPosition to = kNoKey;
  uint64_t keysStamp = 0;
};

/// Poses bones 0 .. n−1 (at most the skeleton's bones) for playback time
/// `time` by slerp between pair.from and pair.to, and may move time back.
///
/// At time 0, or when the animation's keys changed since the pair was taken,
/// the pair restarts at the first two keyframes. While time has reached
/// pair.to's time the pair moves on by one keyframe; past the last keyframe
/// the loop restarts at time 1 with the first two keyframes (so the last
/// keyframe's own pose is never shown while playing). skipped frames (frames
/// of the clock that were not drawn) move time on as if each had been shown:
/// a time that would pass the last keyframe's time L by k frames becomes
/// 1 + k mod (L − 1). Times before the first
/// keyframe extrapolate along the first interval. Where a keyframe holds no
/// rotation for a bone the identity stands in.
///
/// Returns false, changing nothing, when the animation has fewer than two
/// keyframes.
bool PlaybackStep(Skeleton& skeleton, const Animation& animation, int32_t n, int32_t& time,
                  PlaybackPair& pair, int32_t skipped = 0);

/// The playback part of a drawn frame: when playing, PlaybackStep on the
/// current animation with currentTime and skipped, then currentTime + 1. Returns
/// the time to show for this frame (the value before the increment), or
/// nothing when not playing. Playback stops (playing false) when there is no
/// current animation or it has fewer than two keyframes.
std::optional<int32_t> AdvancePlayback(AnimationState& state, Skeleton& skeleton, int32_t skipped = 0);
}  // namespace posewright
