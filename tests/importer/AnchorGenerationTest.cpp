#include <gtest/gtest.h>

#include <random>

#include "ImportTestSupport.h"
#include "importer/AnchorFitting.h"
#include "importer/AnchorGeneration.h"
#include "importer/Quantize.h"
#include "weights/AnchorContainment.h"

namespace posewright {

namespace {
using namespace import_test;

D3DXVECTOR3 RandomDirection(std::mt19937& rng) {
  std::normal_distribution<float> n;
  D3DXVECTOR3 d(n(rng), n(rng), n(rng));
  D3DXVec3Normalize(&d, &d);
  return d;
}

// Whatever the points and the bone's direction (away from Z, as the
// generator keeps its prisms), the fitted prism holds every point by the
// test the automatic weights use and its faces point outwards with every
// anchor vertex behind them. That test also holds a few points beyond the
// faces (where every face's view of the point is blocked, which it counts as
// inside); with no face parallel to Z they stay well under one in a hundred.
TEST(FitPrismAnchor, HoldsEveryPointAndIsConvex) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  std::size_t outside = 0, heldOutside = 0;
  for (int round = 0; round < 300; ++round) {
    D3DXVECTOR3 axis = RandomDirection(rng);
    if (std::fabs(axis.z) > 0.7f) continue;
    const D3DXVECTOR3 begin(unit(rng) * 50, unit(rng) * 50, unit(rng) * 50);
    const float scale = std::pow(10.0f, unit(rng) * 2.0f);
    const BoneFrame frame = MakeBoneFrame(begin, begin + axis);
    std::vector<D3DXVECTOR3> points(1 + rng() % 200);
    const D3DXVECTOR3 stretch(1.0f + 3.0f * std::fabs(unit(rng)), 0.1f + std::fabs(unit(rng)), 1.0f);
    for (D3DXVECTOR3& p : points) {
      p = frame.at(stretch.x * unit(rng) * scale, stretch.y * unit(rng) * scale, unit(rng) * scale);
    }
    const int sides = 4 + static_cast<int>(rng() % 20);
    const BoneAnchor anchor = FitPrismAnchor(frame, points, sides, 0.01f * scale);
    ASSERT_EQ(anchor.faceCount(), 4 * sides);
    const AnchorContainment test(anchor);
    for (const D3DXVECTOR3& p : points) ASSERT_TRUE(test.contains(p)) << "round " << round;
    // Signed distance of p beyond the nearest face plane (negative inside).
    auto beyond = [&](const D3DXVECTOR3& p) {
      float most = -1e30f;
      for (std::size_t f = 0; f < anchor.faces.size(); ++f) {
        const D3DXVECTOR3 d = p - anchor.vertices[static_cast<std::size_t>(anchor.faces[f][0])];
        most = std::max(most, D3DXVec3Dot(&d, &anchor.faceNormals[f]));
      }
      return most;
    };
    // Corners are rounded to six decimals, which tilts the narrowest faces a little.
    for (const D3DXVECTOR3& v : anchor.vertices)
      ASSERT_LE(beyond(v), 1e-3f * scale + 1e-4f) << "round " << round;
    const D3DXVECTOR3 size = anchor.boxMax - anchor.boxMin;
    for (int k = 0; k < 200; ++k) {
      const D3DXVECTOR3 p(anchor.boxMin.x + size.x * (0.5f + 0.7f * unit(rng)),
                          anchor.boxMin.y + size.y * (0.5f + 0.7f * unit(rng)),
                          anchor.boxMin.z + size.z * (0.5f + 0.7f * unit(rng)));
      const float d = beyond(p);
      if (std::fabs(d) < 1e-3f * scale) continue;
      if (d < 0.0f) {
        ASSERT_TRUE(test.contains(p)) << "round " << round << ", point " << k;
      } else {
        ++outside;
        heldOutside += test.contains(p) ? 1 : 0;
      }
    }
  }
  EXPECT_LT(static_cast<double>(heldOutside), 0.01 * static_cast<double>(outside));
}

Skeleton TwoBones() {
  Skeleton s;
  s.bones.resize(3);
  s.resizePerBoneArrays();
  s.bones[1] = Bone{"A", 0, 1, {0, 0, 0}, {0, 1, 0}, {}, {}, {}, {}};
  s.bones[2] = Bone{"B", 1, 2, {0, 1, 0}, {0, 2, 0}, {}, {}, {}, {}};
  return s;
}

// A bone that weighs most on no vertex still gets an anchor the bone data
// file can carry; it holds none of the other bone's vertices.
TEST(GenerateAnchors, ABoneWithoutVerticesGetsAThinAnchor) {
  Skeleton s = TwoBones();
  std::vector<D3DXVECTOR3> positions;
  std::vector<VertexInfluences> influences;
  for (int k = 0; k <= 10; ++k) {
    for (float x : {-0.1f, 0.1f}) {
      positions.push_back({x, 0.1f * k, 0.05f});
      VertexInfluences in;
      in.count = 1;
      in.bones[0] = 1;
      in.weights[0] = 1.0f;
      influences.push_back(in);
    }
  }
  GenerateAnchors(s, positions, influences);
  EXPECT_GE(s.anchors[2].faceCount(), 4);
  EXPECT_TRUE(AnchorIsUsable(s.anchors[2]));
  const AnchorCoverage coverage = CountAnchorsPerVertex(s, positions);
  EXPECT_EQ(coverage.fewest, 1);
  EXPECT_EQ(coverage.most, 1);
}

// With every vertex shaping the anchors of all four bones it weighs on, the
// sphere of six arms would put vertices in five and six anchors; the refits
// bring every vertex back to one to four.
TEST(GenerateAnchors, RefitsWhereAVertexWouldLieInMoreThanFourAnchors) {
  RiggedImport import;
  AnchorFitOptions everyWeight;
  everyWeight.overlapWeight = 0.0f;
  ASSERT_TRUE(ImportRiggedModel(KeptRig("many_influences.dae"), import, everyWeight));
  const std::vector<D3DXVECTOR3> positions = PositionsOf(import.mesh.sourceMesh);
  const AnchorCoverage coverage = CountAnchorsPerVertex(import.rig.skeleton, positions);
  EXPECT_GE(coverage.fewest, 1);
  EXPECT_LE(coverage.most, 4);

  // The same anchors fitted once, without the refits.
  Skeleton once = import.rig.skeleton;
  const std::vector<int32_t> dominant = DominantBones(once, positions, import.rig.influences);
  for (std::size_t b = 1; b < once.bones.size(); ++b) {
    std::vector<D3DXVECTOR3> points;
    for (std::size_t v = 0; v < positions.size(); ++v) {
      const VertexInfluences& in = import.rig.influences[v];
      for (int k = 0; k < in.count; ++k) {
        if (in.bones[k] == b) points.push_back(positions[v]);
      }
    }
    const Bone& bone = once.bones[b];
    once.anchors[b] = FitPrismAnchor(MakeBoneFrame(bone.begin, bone.end), points, 12, 0.01f);
  }
  EXPECT_GT(CountAnchorsPerVertex(once, positions).most, 4);
}

TEST(FitBlendingParameters, ReachesAreRoundedAndPositive) {
  RiggedImport import;
  ASSERT_TRUE(ImportRiggedModel(KeptRig("hand.fbx"), import));
  for (std::size_t b = 1; b < import.rig.skeleton.blendParams.size(); ++b) {
    const BlendingParams& p = import.rig.skeleton.blendParams[b];
    EXPECT_GE(p.R, 0.05f);
    EXPECT_GE(p.H, 0.05f);
    EXPECT_EQ(p.R, Quantize4(p.R));
    EXPECT_EQ(p.H, Quantize4(p.H));
  }
}
}  // namespace
}  // namespace posewright
