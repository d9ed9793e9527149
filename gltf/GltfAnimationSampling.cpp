#include "gltf/GltfAnimationSampling.h"

#include <algorithm>
#include <cmath>

namespace posewright {

namespace gltf {
namespace {

D3DXQUATERNION KeyRotation(const Animation& animation, const Keyframe& key, int32_t b) {
  const auto i = static_cast<std::size_t>(b);
  return b < animation.boneCount && i < key.rotations.size() ? key.rotations[i] : D3DXQUATERNION();
}

// The interval playback uses at time t: the last keyframe at or before t,
// kept within the first and the last interval.
std::size_t IntervalAt(const std::vector<Keyframe>& keys, double t) {
  const auto after = std::upper_bound(keys.begin(), keys.end(), t, [](double time, const Keyframe& k) {
    return time < static_cast<double>(k.time);
  });
  const std::size_t index = after == keys.begin() ? 0 : static_cast<std::size_t>(after - keys.begin()) - 1;
  return std::min(index, keys.size() - 2);
}

// Interpolation parameter at t in interval j, as playback computes it.
float IntervalParameter(const std::vector<Keyframe>& keys, std::size_t j, double t) {
  const double elapsed = t - static_cast<double>(keys[j].time);
  const double span = static_cast<double>(keys[j + 1].time) - static_cast<double>(keys[j].time);
  return static_cast<float>(elapsed / span);
}

// Angle on the unit sphere between the two keyframes' rotations of bone b
// after playback's sign flip.
double KeyArc(const Animation& animation, std::size_t j, int32_t b) {
  const D3DXQUATERNION a = KeyRotation(animation, animation.keys()[j], b);
  const D3DXQUATERNION c = KeyRotation(animation, animation.keys()[j + 1], b);
  const double na = std::sqrt(double{a.x} * a.x + double{a.y} * a.y + double{a.z} * a.z + double{a.w} * a.w);
  const double nc = std::sqrt(double{c.x} * c.x + double{c.y} * c.y + double{c.z} * c.z + double{c.w} * c.w);
  if (!(na > 0.0) || !(nc > 0.0)) return 0.0;
  const double dot =
      (double{a.x} * c.x + double{a.y} * c.y + double{a.z} * c.z + double{a.w} * c.w) / (na * nc);
  return std::acos(std::min(1.0, std::fabs(dot)));
}

std::vector<double> BaseFrames(const std::vector<Keyframe>& keys, bool everyFrame) {
  std::vector<double> frames;
  const int64_t last = keys.back().time;
  if (keys.size() < 2 || last <= 0) {
    frames.push_back(0.0);
    return frames;
  }
  if (everyFrame) {
    frames.reserve(static_cast<std::size_t>(last) + 1);
    for (int64_t t = 0; t <= last; ++t) frames.push_back(static_cast<double>(t));
    return frames;
  }
  frames.push_back(0.0);
  for (const Keyframe& k : keys) {
    if (k.time > 0) frames.push_back(static_cast<double>(k.time));
  }
  return frames;
}

}  // namespace

uint64_t BaseSampleCount(const Animation& animation, bool everyFrame) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (keys.empty()) return 0;
  const int64_t last = keys.back().time;
  if (keys.size() < 2 || last <= 0) return 1;
  if (everyFrame) return static_cast<uint64_t>(last) + 1;
  uint64_t count = 1;
  for (const Keyframe& k : keys) count += k.time > 0 ? 1 : 0;
  return count;
}

D3DXQUATERNION PlaybackPose(const Animation& animation, int32_t b, double t) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (keys.size() < 2) return keys.empty() ? D3DXQUATERNION() : KeyRotation(animation, keys.front(), b);
  const std::size_t j = IntervalAt(keys, t);
  const D3DXQUATERNION a = KeyRotation(animation, keys[j], b);
  D3DXQUATERNION c = KeyRotation(animation, keys[j + 1], b);
  if (D3DXQuaternionDot(&a, &c) < 0.0f) c = -c;
  D3DXQUATERNION pose;
  D3DXQuaternionSlerp(&pose, &a, &c, IntervalParameter(keys, j, t));
  return pose;
}

std::vector<double> SampleFrames(const Animation& animation, int32_t boneCount, bool everyFrame) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (keys.empty()) return {};
  const std::vector<double> base = BaseFrames(keys, everyFrame);
  if (keys.size() < 2 || keys.back().time <= 0) return base;
  // The widest arc of every interval over all bones.
  std::vector<double> widest(keys.size() - 1, 0.0);
  for (std::size_t j = 0; j + 1 < keys.size(); ++j) {
    for (int32_t b = 0; b < boneCount; ++b) widest[j] = std::max(widest[j], KeyArc(animation, j, b));
  }
  std::vector<double> frames;
  frames.reserve(base.size());
  for (std::size_t i = 0; i < base.size(); ++i) {
    if (i > 0) {
      const double u = base[i - 1], v = base[i];
      const std::size_t j = IntervalAt(keys, 0.5 * (u + v));
      const double span = static_cast<double>(keys[j + 1].time) - static_cast<double>(keys[j].time);
      const double arc = (v - u) / span * widest[j];
      const auto pieces = static_cast<int64_t>(std::ceil(arc / kMaxSampleArc));
      for (int64_t k = 1; k < pieces; ++k) {
        frames.push_back(u + (v - u) * static_cast<double>(k) / static_cast<double>(pieces));
      }
    }
    frames.push_back(base[i]);
  }
  return frames;
}

D3DXQUATERNION SamplePose(const Animation& animation, int32_t b, double frame) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (keys.empty()) return D3DXQUATERNION();
  if (keys.size() < 2 || keys.back().time <= 0) return KeyRotation(animation, keys.back(), b);
  return PlaybackPose(animation, b, frame);
}

SampledAnimation SampleAnimation(const Animation& animation, int32_t boneCount, bool everyFrame) {
  SampledAnimation out;
  out.frames = SampleFrames(animation, boneCount, everyFrame);
  const auto bones = static_cast<std::size_t>(std::max(boneCount, 0));
  out.poses.resize(out.frames.size() * bones);
  for (std::size_t s = 0; s < out.frames.size(); ++s) {
    for (std::size_t b = 0; b < bones; ++b) {
      out.poses[s * bones + b] = SamplePose(animation, static_cast<int32_t>(b), out.frames[s]);
    }
  }
  return out;
}

}  // namespace gltf
}  // namespace posewright
