// The sample character's mesh: a low-poly humanoid standing on the ground
// (y = 0) in a T pose, facing −Z, its left side at +X. Head with a nose,
// torso with the neck, arms (upper arm and forearm in one tube) with hands,
// legs (thigh and shin in one tube) with feet: closed parts with smooth
// normals and texture coordinates. Material 0 is skin, material 1 the clothes,
// textured with the given file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gen/GenMesh.h"

namespace posewright {

enum class BodyPart : uint8_t {
  Torso,
  Head,
  LeftArm,
  RightArm,
  LeftHand,
  RightHand,
  LeftLeg,
  RightLeg,
  LeftFoot,
  RightFoot,
};

struct HumanoidMesh {
  GenMesh mesh;
  /// The part each vertex belongs to.
  std::vector<BodyPart> parts;
};

HumanoidMesh BuildHumanoidMesh(const std::string& clothesTexture);
}  // namespace posewright
