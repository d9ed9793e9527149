// The sample character: the humanoid mesh, its skeleton (the root at the
// pelvis and twelve bones) with a capsule anchor per bone fitted around the
// vertices that bone should move, blending parameters tuned so that
// neighbouring bones blend across every joint, left/right partners, and the
// clothes texture.
#pragma once

#include <string>

#include "image/TextureImage.h"
#include "skeleton/Skeleton.h"
#include "tools/gen/GenMesh.h"

namespace posewright {

/// Bone indices of the sample character.
enum SampleBone : int {
  kRootBone = 0,
  kSpine,
  kChest,
  kNeck,
  kHead,
  kLeftUpperArm,
  kLeftForearm,
  kRightUpperArm,
  kRightForearm,
  kLeftThigh,
  kLeftShin,
  kRightThigh,
  kRightShin,
  kSampleBoneCount
};

/// File name of the clothes texture, as the mesh's material names it.
inline constexpr const char* kClothesTextureFile = "clothes.png";

struct SampleCharacter {
  GenMesh mesh;
  Skeleton skeleton;
  TextureImage texture;
};

SampleCharacter BuildSampleCharacter();
}  // namespace posewright
