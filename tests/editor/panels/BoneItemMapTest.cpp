#include <gtest/gtest.h>

#include "editor/panels/BoneItemMap.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
TEST(BoneIndexOfItem, MatchesFirstEntryOrFallsBackToLastBone) {
  const Skeleton s = fixtures::ChainSkeleton(4);
  const BoneItemMap items = {11, 22, 33, 44};
  EXPECT_EQ(BoneIndexOfItem(s, items, 11), 0);
  EXPECT_EQ(BoneIndexOfItem(s, items, 33), 2);
  EXPECT_EQ(BoneIndexOfItem(s, items, 0), 3);
  EXPECT_EQ(BoneIndexOfItem(s, items, 999), 3);
  EXPECT_EQ(BoneIndexOfItem(Skeleton{}, items, 11), 0);
}
}  // namespace
}  // namespace posewright
