// The samples reproduce the editor's playback: glTF's LINEAR interpolation of
// them gives, at every frame playback shows, the pose playback computes.
#include <gtest/gtest.h>

#include "anim/PlayToTime.h"
#include "gltf/GltfAnimationSampling.h"
#include "support/GltfReference.h"
#include "support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {
using synthetic::Random;

gltfref::Quat Unit(const D3DXQUATERNION& q) {
  const double n = std::sqrt(double{q.x} * q.x + double{q.y} * q.y + double{q.z} * q.z + double{q.w} * q.w);
  return {q.x / n, q.y / n, q.z / n, q.w / n};
}

// The same rotation: equal up to the sign of the quaternion.
void ExpectSameRotation(const gltfref::Quat& a, const gltfref::Quat& b, const std::string& where) {
  const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
  EXPECT_GT(std::fabs(dot), 1.0 - 2e-9) << where;
}

// Every frame playback shows (0 to one before the last keyframe), every bone.
void ExpectSamplesReplayTheEditor(const Animation& animation, int32_t boneCount, bool everyFrame) {
  const gltf::SampledAnimation sampled = gltf::SampleAnimation(animation, boneCount, everyFrame);
  ASSERT_FALSE(sampled.frames.empty());
  ASSERT_EQ(sampled.poses.size(), sampled.frames.size() * static_cast<std::size_t>(boneCount));
  EXPECT_EQ(sampled.frames.front(), 0.0);
  EXPECT_EQ(sampled.frames.back(), static_cast<double>(animation.keys().back().time));
  EXPECT_TRUE(std::is_sorted(sampled.frames.begin(), sampled.frames.end(), std::less_equal<>()) &&
              std::adjacent_find(sampled.frames.begin(), sampled.frames.end()) == sampled.frames.end());
  std::vector<float> times(sampled.frames.begin(), sampled.frames.end());
  Skeleton skeleton;
  skeleton.bones.resize(static_cast<std::size_t>(boneCount));
  for (int32_t t = 0; t < animation.keys().back().time; ++t) {
    ASSERT_TRUE(PoseAtPlaybackTime(skeleton, animation, t));
    for (int32_t b = 0; b < boneCount; ++b) {
      std::vector<gltfref::Quat> values;
      for (std::size_t s = 0; s < sampled.frames.size(); ++s) {
        values.push_back(
            Unit(sampled.poses[s * static_cast<std::size_t>(boneCount) + static_cast<std::size_t>(b)]));
      }
      ExpectSameRotation(gltfref::SampleRotation(times, values, t),
                         Unit(skeleton.bones[static_cast<std::size_t>(b)].poseRotation),
                         "frame " + std::to_string(t) + " bone " + std::to_string(b));
    }
  }
}

// Property over random animations: any first keyframe time (playback
// extrapolates before it), any gaps, rotations anywhere on the sphere.
TEST(GltfSampling, RandomAnimationsReplayFrameForFrame) {
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    Random random(seed);
    std::vector<int32_t> times = {static_cast<int32_t>(random.below(40))};
    const uint32_t more = 1 + random.below(5);
    for (uint32_t k = 0; k < more; ++k)
      times.push_back(times.back() + 1 + static_cast<int32_t>(random.below(30)));
    const int32_t bones = static_cast<int32_t>(1 + random.below(6));
    Animation animation = synthetic::MakeAnimation(bones, times, seed);
    // A skeleton larger than the animation: the extra bone stays at rest.
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSamplesReplayTheEditor(animation, bones + 1, seed % 2 == 0);
  }
}

TEST(GltfSampling, SamplesAreTheKeyframesUnlessTheArcNeedsMore) {
  const D3DXQUATERNION rest, small(0.0f, 0.258819f, 0.0f, 0.965926f);  // 30° about y
  const D3DXQUATERNION far(0.0f, 0.9961947f, 0.0f, 0.0871557f);        // 170° about y
  const struct {
    const char* name;
    std::vector<std::pair<int32_t, D3DXQUATERNION>> keys;
    bool everyFrame;
    std::vector<double> frames;
  } cases[] = {
      {"keys from 0", {{0, rest}, {10, small}, {25, rest}}, false, {0, 10, 25}},
      {"every frame", {{0, rest}, {3, small}}, true, {0, 1, 2, 3}},
      {"a first key after 0 adds frame 0", {{6, rest}, {10, small}}, false, {0, 6, 10}},
      // 170° is an arc of 85° on the quaternion sphere: split in two.
      {"a wide interval is split", {{0, rest}, {10, far}}, false, {0, 5, 10}},
      // Extrapolating 170° over 20 frames back from frame 20 turns 340°: an
      // arc of 170°, split in three.
      {"a wide extrapolation is split", {{20, rest}, {30, far}}, false, {0, 20.0 / 3, 40.0 / 3, 20, 25, 30}},
  };
  for (const auto& c : cases) {
    Animation animation;
    animation.boneCount = 1;
    for (const auto& [time, rotation] : c.keys)
      animation.InsertKey(std::vector<D3DXQUATERNION>{rotation}, time);
    const gltf::SampledAnimation sampled = gltf::SampleAnimation(animation, 1, c.everyFrame);
    ASSERT_EQ(sampled.frames.size(), c.frames.size()) << c.name;
    for (std::size_t i = 0; i < c.frames.size(); ++i)
      EXPECT_NEAR(sampled.frames[i], c.frames[i], 1e-9) << c.name;
    SCOPED_TRACE(c.name);
    ExpectSamplesReplayTheEditor(animation, 1, c.everyFrame);
  }
}

TEST(GltfSampling, AnimationsPlaybackCannotPlayGiveOneSampleOrNone) {
  Animation animation;
  animation.boneCount = 1;
  EXPECT_TRUE(gltf::SampleAnimation(animation, 1, false).frames.empty());
  EXPECT_EQ(gltf::BaseSampleCount(animation, true), 0u);
  const D3DXQUATERNION turned(0.6f, 0.0f, 0.0f, 0.8f);
  animation.InsertKey(std::vector<D3DXQUATERNION>{turned}, 12);
  const gltf::SampledAnimation one = gltf::SampleAnimation(animation, 1, true);
  ASSERT_EQ(one.frames.size(), 1u);
  EXPECT_EQ(one.poses[0], turned);
  EXPECT_EQ(gltf::BaseSampleCount(animation, true), 1u);
}

}  // namespace
}  // namespace posewright
