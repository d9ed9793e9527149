// The ring marker file in resources/ as the program reads it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "fileio/FileBytes.h"
#include "render/RingMarker.h"

namespace posewright {

namespace {
class RingMarker : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto text = ReadFileBytes(std::string(POSEWRIGHT_SOURCE_DIR) + "/resources/ring.x");
    ASSERT_TRUE(text.has_value());
    const Status loaded = LoadRingGizmo(*text, ring_);
    ASSERT_TRUE(loaded) << loaded.describe();
  }
  RingGizmo ring_;
};

TEST_F(RingMarker, CountsMaterialsAndRanges) {
  ASSERT_EQ(ring_.vertices.size(), 192u);
  ASSERT_EQ(ring_.indices.size(), 102u * 2 * 3) << "102 quadrilaterals as triangle pairs";
  ASSERT_EQ(ring_.materials.size(), 4u);
  const D3DCOLORVALUE diffuse[4] = {{0, 0.8f, 0, 1}, {0.8f, 0, 0, 1}, {0, 0, 0.8f, 1}, {1, 1, 1, 1}};
  const float power[4] = {5, 5, 5, 0};
  for (int m = 0; m < 4; ++m) {
    EXPECT_EQ(ring_.materials[m].Diffuse, diffuse[m]) << m;
    EXPECT_EQ(ring_.materials[m].Ambient, diffuse[m]) << m;
    EXPECT_EQ(ring_.materials[m].Power, power[m]);
    EXPECT_EQ(ring_.materials[m].Specular, (D3DCOLORVALUE{0, 0, 0, 1}));
  }
  ASSERT_EQ(ring_.attributeTable.size(), 3u) << "the white material owns no faces";
  for (uint32_t m = 0; m < 3; ++m) {
    EXPECT_EQ(ring_.attributeTable[m].AttribId, m);
    EXPECT_EQ(ring_.attributeTable[m].FaceStart, 68 * m);
    EXPECT_EQ(ring_.attributeTable[m].FaceCount, 68u);
  }
  for (const SkinVertex& v : ring_.vertices) {
    EXPECT_EQ(v.blendWeights[0], 1.0f);
    EXPECT_EQ(v.boneIndices, 0u);
    EXPECT_EQ(v.pointSize, 0.0f);
  }
}

TEST_F(RingMarker, ThreeBandsOfRadiusHalfAtOddMultiplesOfFiveDegrees) {
  // Green about Y (72 vertices), red about X (64), blue about Z (56), in that order.
  struct Band {
    std::size_t first, count;
    int axis;  // the coordinate that is ±0.0422
  };
  const Band bands[3] = {{0, 72, 1}, {72, 64, 0}, {136, 56, 2}};
  for (const Band& b : bands) {
    std::set<long> angles;
    for (std::size_t i = b.first; i < b.first + b.count; ++i) {
      const D3DXVECTOR3& p = ring_.vertices[i].position;
      const float c[3] = {p.x, p.y, p.z};
      EXPECT_NEAR(std::fabs(c[b.axis]), 0.0422f, 1e-6);
      const float u = c[(b.axis + 1) % 3];
      const float v = c[(b.axis + 2) % 3];
      EXPECT_NEAR(std::hypot(u, v), 0.5f, 1e-5);
      const double degrees = std::atan2(v, u) * 180.0 / 3.14159265358979;
      const long rounded = std::lround(degrees < 0 ? degrees + 360 : degrees);
      EXPECT_EQ(rounded % 10, 5) << "vertex " << i;
      angles.insert(rounded);
      const D3DXVECTOR3& n = ring_.vertices[i].normal;
      EXPECT_NEAR(n.x * p.x + n.y * p.y + n.z * p.z, 0.5f, 1e-4) << "radial unit normal";
    }
    EXPECT_EQ(angles.size(), b.count / 2);
  }
}

TEST_F(RingMarker, FacesDoNotOverlapAndBandsInterlock) {
  // No two faces share the same corners, and every band has 68 triangles
  // worth of faces, some of which borrow corners of the band they pass.
  std::set<std::multiset<uint16_t>> quads;
  std::map<uint32_t, int> borrowed;
  auto bandOf = [](uint16_t v) { return v < 72 ? 0u : v < 136 ? 1u : 2u; };
  for (const D3DXATTRIBUTERANGE& range : ring_.attributeTable) {
    for (uint32_t f = range.FaceStart; f < range.FaceStart + range.FaceCount; f += 2) {
      std::multiset<uint16_t> corners;
      for (uint32_t k = 0; k < 6; ++k) {
        corners.insert(ring_.indices[f * 3 + k]);
      }
      EXPECT_TRUE(quads.insert(corners).second) << "face " << f << " repeats another";
      for (uint16_t v : corners) {
        borrowed[range.AttribId] += bandOf(v) != range.AttribId ? 1 : 0;
      }
    }
  }
  EXPECT_GT(borrowed[1], 0) << "red reaches green's corners where green passes over";
  EXPECT_GT(borrowed[2], 0) << "blue reaches red's and green's corners";
  EXPECT_EQ(borrowed[0], 0) << "green passes over everywhere";
}
}  // namespace
}  // namespace posewright
