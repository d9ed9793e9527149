// Small builders shared by the animation tests.
#pragma once

#include <vector>

#include "anim/Animation.h"
#include "skeleton/Skeleton.h"
#include "support/MathMatchers.h"

namespace posewright {

/// A pose of n bones all turned by angle about +Y (angle 0 gives identity).
inline std::vector<D3DXQUATERNION> UniformPose(int n, float angle) {
  return std::vector<D3DXQUATERNION>(static_cast<std::size_t>(n), AxisAngle(0, 1, 0, angle));
}

/// The times of the animation's keys, in list order.
inline std::vector<int> KeyTimes(const Animation& a) {
  std::vector<int> times;
  for (const Keyframe& k : a.keys()) times.push_back(k.time);
  return times;
}

/// A chain of n bones along +Z, each with a rest rotation of a quarter turn
/// about +X so that orientation and poseRotation differ:
///
///   Root(0) (0,0,0)
///   └── B1 (0,0,1)
///       └── B2 (0,0,2) ...
inline Skeleton MakeChain(int n) {
  Skeleton s;
  for (int i = 0; i < n; ++i) {
    Bone b;
    b.name = i == 0 ? "Root" : "B" + std::to_string(i);
    b.parentId = i == 0 ? 0 : i - 1;
    b.symmetricId = i;
    b.begin = D3DXVECTOR3(0, 0, static_cast<float>(i));
    b.end = D3DXVECTOR3(0, 0, static_cast<float>(i + 1));
    b.restRotation = i == 0 ? D3DXQUATERNION() : AxisAngle(1, 0, 0, 1.5707964f);
    D3DXQuaternionInverse(&b.restRotationInverse, &b.restRotation);
    b.orientation = b.restRotation;
    s.bones.push_back(b);
  }
  s.resizePerBoneArrays();
  s.bonesLoaded = true;
  return s;
}
}  // namespace posewright
