// Changing the blending parameters and the mirror partner of the bone picked
// in the bone list.
#include <gtest/gtest.h>

#include "editor/panels/BoneParameters.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
using fixtures::ChainSkeleton;

/// The bone list entries of the five bones: 100 + i for bone i.
const BoneItemMap kItems = fixtures::ChainItems(5);

TEST(BoneParameters, SetBlendingParamsFindsTheBoneOfTheItem) {
  Skeleton s = ChainSkeleton(5);
  EXPECT_EQ(SetBlendingParams(s, kItems, 102, 0.5f, 0.25f), 2);
  EXPECT_EQ(s.blendParams[2].R, 0.5f);
  EXPECT_EQ(s.blendParams[2].H, 0.25f);
  // An item of no bone means the last bone.
  EXPECT_EQ(SetBlendingParams(s, kItems, 0, 3.0f, -1.0f), 4);
  EXPECT_EQ(s.blendParams[4].H, -1.0f);
  Skeleton empty;
  EXPECT_EQ(SetBlendingParams(empty, {}, 0, 1.0f, 1.0f), -1);
}

TEST(BoneParameters, SetSymmetricBonePairsBothWays) {
  Skeleton s = ChainSkeleton(5);
  EXPECT_EQ(SetSymmetricBone(s, kItems, 101, 3), 1);
  EXPECT_EQ(s.bones[1].symmetricId, 3);
  EXPECT_EQ(s.bones[3].symmetricId, 1);
  // Re-pairing bone 1 with 4 leaves bone 3 pointing at 1.
  SetSymmetricBone(s, kItems, 101, 4);
  EXPECT_EQ(s.bones[1].symmetricId, 4);
  EXPECT_EQ(s.bones[4].symmetricId, 1);
  EXPECT_EQ(s.bones[3].symmetricId, 1);
  // Out of range pairs with the root.
  SetSymmetricBone(s, kItems, 102, 99);
  EXPECT_EQ(s.bones[2].symmetricId, 0);
  EXPECT_EQ(s.bones[0].symmetricId, 2);
  SetSymmetricBone(s, kItems, 103, 3);
  EXPECT_EQ(s.bones[3].symmetricId, 3);
  Skeleton empty;
  EXPECT_EQ(SetSymmetricBone(empty, {}, 0, 0), -1);
}
}  // namespace
}  // namespace posewright
