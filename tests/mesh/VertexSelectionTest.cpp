#include <gtest/gtest.h>

#include "mesh/VertexSelection.h"

namespace posewright {

namespace {
TEST(RebuildPointList, SelectedAscendingThenUnselectedDescending) {
  VertexSelection s;
  s.reset(6);
  EXPECT_EQ(s.pointList, (std::vector<uint16_t>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(s.unselectedCount, 6u);
  s.selected = {0, 1, 0, 1, 1, 0};
  RebuildPointList(s);
  EXPECT_EQ(s.pointList, (std::vector<uint16_t>{1, 3, 4, 5, 2, 0}));
  EXPECT_EQ(s.unselectedCount, 3u);
  EXPECT_EQ(s.selectedCount(), 3u);
  s.selected.assign(6, 1);
  RebuildPointList(s);
  EXPECT_EQ(s.pointList, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(s.unselectedCount, 0u);
}

TEST(RebuildPointList, EmptyAndFullSixteenBitRange) {
  VertexSelection s;
  s.reset(0);
  EXPECT_TRUE(s.pointList.empty());
  EXPECT_EQ(s.unselectedCount, 0u);
  s.reset(65535);
  EXPECT_EQ(s.pointList.front(), 65534);
  EXPECT_EQ(s.pointList.back(), 0);
  s.selected[65534] = 1;
  RebuildPointList(s);
  EXPECT_EQ(s.pointList.front(), 65534);
  EXPECT_EQ(s.pointList[1], 65533);
  EXPECT_EQ(s.unselectedCount, 65534u);
}
}  // namespace
}  // namespace posewright
