#include "tools/gen/SampleAnimations.h"

#include <cmath>

#include "importer/BoneFrame.h"
#include "tools/gen/PoseGoals.h"
#include "tools/gen/SampleCharacter.h"

namespace posewright {

namespace {
constexpr float kDegree = 3.14159265358979f / 180.0f;

// Direction of a limb hanging down, leaning outward by `out` degrees towards
// its side (+1 left, −1 right) and swung forward (towards −Z) by `forward`.
D3DXVECTOR3 Hanging(float side, float out, float forward) {
  const float c = std::cos(out * kDegree);
  return {side * std::sin(out * kDegree), -c * std::cos(forward * kDegree), -c * std::sin(forward * kDegree)};
}

std::vector<BoneGoal> RelaxedArms() {
  std::vector<BoneGoal> goals(kSampleBoneCount);
  for (float side : {1.0f, -1.0f}) {
    goals[side > 0 ? kLeftUpperArm : kRightUpperArm] = BoneGoal::Pointing(Hanging(side, 10.0f, 0.0f));
    goals[side > 0 ? kLeftForearm : kRightForearm] = BoneGoal::Pointing(Hanging(side, 8.0f, 15.0f));
  }
  return goals;
}

void AddKey(Animation& animation, const Skeleton& skeleton, int32_t time,
            const std::vector<BoneGoal>& goals) {
  animation.InsertKey(SolvePose(skeleton, goals), time);
}
}  // namespace

Animation MakeWaveAnimation(const Skeleton& skeleton) {
  Animation animation;
  animation.name = "wave.anm";
  animation.boneCount = skeleton.boneCount();
  AddKey(animation, skeleton, 0, RelaxedArms());
  // Forearm lean from the vertical, outward positive, at each waving keyframe.
  const struct {
    int32_t time;
    float lean;
  } waves[] = {{20, 25.0f}, {30, -15.0f}, {40, 25.0f}, {50, -15.0f}, {60, 25.0f}};
  for (const auto& w : waves) {
    std::vector<BoneGoal> goals = RelaxedArms();
    goals[kRightUpperArm] = BoneGoal::Pointing({-0.64f, 0.77f, 0.0f});
    goals[kRightForearm] =
        BoneGoal::Pointing({-std::sin(w.lean * kDegree), std::cos(w.lean * kDegree), -0.15f});
    goals[kHead] = BoneGoal::Turning(AxisRotation({0.0f, 0.0f, 1.0f}, 6.0f * kDegree));
    AddKey(animation, skeleton, w.time, goals);
  }
  AddKey(animation, skeleton, 80, RelaxedArms());
  return animation;
}

Animation MakeWalkAnimation(const Skeleton& skeleton) {
  Animation animation;
  animation.name = "walk.anm";
  animation.boneCount = skeleton.boneCount();
  // The left leg's thigh angle (forward of vertical) and knee bend per
  // keyframe, after measured gait curves: heel strike at keyframe 0, toe-off
  // near keyframe 5, the knee bent most in early swing. The right leg runs
  // half a cycle later.
  const float thighAngle[8] = {25.0f, 20.0f, 8.0f, -3.0f, -12.0f, -5.0f, 15.0f, 25.0f};
  const float kneeBend[8] = {4.0f, 15.0f, 8.0f, 6.0f, 35.0f, 58.0f, 45.0f, 12.0f};
  for (int k = 0; k <= 8; ++k) {
    const float phase = 2.0f * 3.14159265358979f * static_cast<float>(k % 8) / 8.0f;
    std::vector<BoneGoal> goals(kSampleBoneCount);
    goals[kRootBone] = BoneGoal::Turning(AxisRotation({0.0f, 1.0f, 0.0f}, 5.0f * std::cos(phase) * kDegree));
    goals[kChest] = BoneGoal::Turning(AxisRotation({0.0f, 1.0f, 0.0f}, -9.0f * std::cos(phase) * kDegree));
    for (float side : {1.0f, -1.0f}) {
      const bool left = side > 0;
      const int at = left ? k % 8 : (k + 4) % 8;
      const float thigh = thighAngle[at];
      const float bend = kneeBend[at];
      // Each arm swings with the opposite leg.
      const float arm = -0.8f * (thighAngle[at] - 6.5f);
      goals[left ? kLeftThigh : kRightThigh] = BoneGoal::Pointing(Hanging(side, 0.0f, thigh));
      goals[left ? kLeftShin : kRightShin] = BoneGoal::Pointing(Hanging(side, 0.0f, thigh - bend));
      goals[left ? kLeftUpperArm : kRightUpperArm] = BoneGoal::Pointing(Hanging(side, 10.0f, arm));
      goals[left ? kLeftForearm : kRightForearm] = BoneGoal::Pointing(Hanging(side, 8.0f, arm + 20.0f));
    }
    AddKey(animation, skeleton, 8 * k, goals);
  }
  return animation;
}
}  // namespace posewright
