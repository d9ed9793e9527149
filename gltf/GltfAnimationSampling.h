// The poses an animation shows over time, as glTF samples: the editor's
// playback interpolates each bone's pose rotation spherically (along the
// shorter arc) between neighbouring keyframes, linearly in time, and before
// the first keyframe extrapolates along the first interval. glTF's LINEAR
// rotation interpolation is the same spherical interpolation between
// samples, so samples at the keyframes reproduce the motion wherever the
// arc between two neighbouring samples is short enough for both to take the
// same way round. Extra samples are added where it is not: the extrapolated
// stretch before the first keyframe (which may turn further than half a
// turn) and intervals whose arc comes close to the halfway ambiguity.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/Animation.h"
#include "fileio/Status.h"

namespace posewright {

namespace gltf {

struct SampledAnimation {
  /// Sample times in editor frames (60 per second), strictly increasing,
  /// from 0 to the last keyframe's time.
  std::vector<double> frames;
  /// The pose rotation of every bone at every sample, sample-major:
  /// poses[s × boneCount + b], computed as the editor's playback computes it.
  std::vector<D3DXQUATERNION> poses;
};

/// Longest arc (in radians on the unit quaternion sphere) between two
/// neighbouring samples of one bone; π/2 would be the ambiguous one.
inline constexpr double kMaxSampleArc = 1.0471975511965976;  // π/3

/// The samples of animation for a skeleton of boneCount bones: at time 0, at
/// every keyframe time after 0 up to the last one (or, with everyFrame, at
/// every whole frame from 0 to the last keyframe's time), plus the extra
/// samples above. A bone a keyframe holds no rotation for (beyond its
/// rotations or the animation's bone count) is at rest. An animation with
/// one keyframe gives one sample of that keyframe's pose; one without
/// keyframes gives none.
SampledAnimation SampleAnimation(const Animation& animation, int32_t boneCount, bool everyFrame);

/// The sample times of SampleAnimation alone.
std::vector<double> SampleFrames(const Animation& animation, int32_t boneCount, bool everyFrame);

/// The pose of bone b at a sample time, as SampleAnimation gives it.
D3DXQUATERNION SamplePose(const Animation& animation, int32_t b, double frame);

/// The number of samples SampleAnimation would give, without the extra ones
/// (to refuse an export that would be too large before computing it).
uint64_t BaseSampleCount(const Animation& animation, bool everyFrame);

/// The pose of bone b at frame time t (any real t ≥ 0 within the keyframes'
/// span), as the editor's playback computes it for a whole-frame t.
D3DXQUATERNION PlaybackPose(const Animation& animation, int32_t b, double t);

}  // namespace gltf
}  // namespace posewright
