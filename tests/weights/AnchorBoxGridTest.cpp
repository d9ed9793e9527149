#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "weights/AnchorBoxGrid.h"

namespace posewright {

namespace {
bool InBox(const D3DXVECTOR3& p, const AnchorBox& b) {
  return p.x >= b.min.x && p.x <= b.max.x && p.y >= b.min.y && p.y <= b.max.y && p.z >= b.min.z &&
         p.z <= b.max.z;
}

// Every box that holds a point must be listed in the point's cell, also for
// points exactly on box faces, on cell borders and far outside the grid.
TEST(AnchorBoxGrid, ListsEveryBoxThatHoldsThePoint) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(-40, 40);
  auto gridValue = [&] { return 0.1f * static_cast<float>(coord(rng)); };
  std::vector<AnchorBox> boxes;
  for (int k = 0; k < 60; ++k) {
    D3DXVECTOR3 a(gridValue(), gridValue(), gridValue());
    D3DXVECTOR3 b(gridValue(), gridValue(), gridValue());
    boxes.push_back({D3DXVECTOR3(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)),
                     D3DXVECTOR3(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z))});
  }
  boxes.push_back({D3DXVECTOR3(-inf, 0.0f, -inf), D3DXVECTOR3(0.5f, inf, inf)});  // half space
  boxes.push_back({D3DXVECTOR3(nan, 0, 0), D3DXVECTOR3(1, 1, 1)});                // holds nothing
  boxes.push_back({D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(0, 0, 0)});                  // inverted: nothing
  const AnchorBoxGrid grid(boxes);

  std::vector<D3DXVECTOR3> points;
  for (const AnchorBox& b : boxes) {
    points.push_back(b.min);
    points.push_back(b.max);
    points.push_back(D3DXVECTOR3(b.min.x, b.max.y, b.min.z));
  }
  for (int i = 0; i < 3000; ++i)
    points.emplace_back(gridValue() * 1.5f, gridValue() * 1.5f, gridValue() * 1.5f);
  points.emplace_back(inf, 1e30f, -inf);
  int listed = 0;
  for (const D3DXVECTOR3& p : points) {
    const auto candidates = grid.candidates(p);
    EXPECT_TRUE(std::is_sorted(candidates.begin(), candidates.end()));
    for (uint32_t k = 0; k < boxes.size(); ++k) {
      if (InBox(p, boxes[k])) {
        ASSERT_TRUE(std::find(candidates.begin(), candidates.end(), k) != candidates.end())
            << "box " << k << " point " << p.x << " " << p.y << " " << p.z;
        ++listed;
      }
    }
    EXPECT_LE(candidates.size(), boxes.size());
  }
  EXPECT_GT(listed, 1000);
  EXPECT_TRUE(grid.candidates(D3DXVECTOR3(nan, 0, 0)).empty());
}

TEST(AnchorBoxGrid, NarrowsTheBoxesDown) {
  // Ten unit boxes in a row along X: a point inside one lists only its neighbours.
  std::vector<AnchorBox> boxes;
  for (int k = 0; k < 10; ++k) {
    const float x = static_cast<float>(k);
    boxes.push_back({D3DXVECTOR3(x, 0, 0), D3DXVECTOR3(x + 1, 1, 1)});
  }
  const AnchorBoxGrid grid(boxes);
  const auto candidates = grid.candidates(D3DXVECTOR3(4.5f, 0.5f, 0.5f));
  EXPECT_GE(candidates.size(), 1u);
  EXPECT_LE(candidates.size(), 3u);
  EXPECT_TRUE(AnchorBoxGrid().candidates(D3DXVECTOR3(0, 0, 0)).empty());
}
}  // namespace
}  // namespace posewright
