// Normalise, prune and limit, each against what it must leave behind on
// roughened models; and the reading and storing of slot weights they share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "WeightToolFixtures.h"
#include "weighttools/AverageWeights.h"
#include "weighttools/BoneWeights.h"
#include "weighttools/WeightCleanup.h"

namespace posewright {

namespace {
using weighttest::Sum;
using weighttest::Weights;

struct CleanupCase {
  const char* name;
  std::function<WeightToolResult(const WeightToolInput&)> run;
  /// What every vertex with weights must satisfy afterwards, given its weights before.
  std::function<void(const std::map<int, double>& before, const std::map<int, double>& after)> check;
};

std::vector<CleanupCase> Cases() {
  auto strongest = [](const std::map<int, double>& w, std::size_t k) {
    std::vector<std::pair<double, int>> byWeight;
    for (const auto& [bone, x] : w) byWeight.emplace_back(-x, bone);
    std::sort(byWeight.begin(), byWeight.end());
    std::vector<int> bones;
    for (std::size_t i = 0; i < std::min(k, byWeight.size()); ++i) bones.push_back(byWeight[i].second);
    std::sort(bones.begin(), bones.end());
    return bones;
  };
  auto bonesOf = [](const std::map<int, double>& w) {
    std::vector<int> bones;
    for (const auto& [bone, x] : w) bones.push_back(bone);
    return bones;
  };
  std::vector<CleanupCase> cases = {
      {"normalise", [](const WeightToolInput& in) { return NormaliseVertexWeights(in); },
       [&](const std::map<int, double>& before, const std::map<int, double>& after) {
         EXPECT_NEAR(Sum(after), 1.0, 1e-6);
         EXPECT_EQ(bonesOf(after), bonesOf(before));
         for (const auto& [bone, x] : before) EXPECT_NEAR(after.at(bone), x / Sum(before), 1e-6);
       }},
  };
  for (float threshold : {0.01f, 0.2f, 0.6f}) {
    cases.push_back(
        {"prune", [threshold](const WeightToolInput& in) { return PruneVertexWeights(in, threshold); },
         [=](const std::map<int, double>& before, const std::map<int, double>& after) {
           const bool anyBelow =
               std::any_of(before.begin(), before.end(), [&](const auto& e) { return e.second < threshold; });
           if (!anyBelow) {
             EXPECT_EQ(after, before);
             return;
           }
           EXPECT_NEAR(Sum(after), 1.0, 1e-6);
           if (after.size() == 1) return;  // possibly the lone strongest
           for (const auto& [bone, x] : after) EXPECT_GE(before.at(bone), threshold);
         }});
  }
  for (int k = 1; k <= 4; ++k) {
    cases.push_back({"limit", [k](const WeightToolInput& in) { return LimitVertexWeights(in, k); },
                     [=](const std::map<int, double>& before, const std::map<int, double>& after) {
                       if (before.size() <= static_cast<std::size_t>(k)) {
                         EXPECT_EQ(after, before);
                         return;
                       }
                       EXPECT_NEAR(Sum(after), 1.0, 1e-6);
                       EXPECT_EQ(bonesOf(after), strongest(before, static_cast<std::size_t>(k)));
                     }});
  }
  return cases;
}

TEST(WeightCleanup, EveryVertexEndsAsItsToolPromises) {
  for (const CleanupCase& c : Cases()) {
    for (uint64_t seed : {11u, 12u, 13u}) {
      SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
      SkinnedModel m = weighttest::RoughModel(seed);
      const std::vector<SkinVertex> before = m.skinnedMesh.vertices;
      const WeightToolResult r = c.run(WeightToolInputOf(m));
      ASSERT_TRUE(r.status);
      ApplyWeightChanges(m, r.changes);
      std::size_t withoutWeights = 0;
      for (std::size_t v = 0; v < before.size(); ++v) {
        SCOPED_TRACE("vertex " + std::to_string(v));
        const std::map<int, double> was = Weights(before[v]);
        if (was.empty()) {
          ++withoutWeights;
          EXPECT_EQ(m.skinnedMesh.vertices[v].boneIndices, before[v].boneIndices);
          continue;
        }
        c.check(was, Weights(m.skinnedMesh.vertices[v]));
      }
      EXPECT_GT(withoutWeights, 0u);
      EXPECT_EQ(r.verticesWithoutWeights, withoutWeights);
      // A second run finds nothing left to do.
      EXPECT_TRUE(c.run(WeightToolInputOf(m)).changes.empty());
    }
  }
}

TEST(BoneWeights, SlotsReadByTheModelsConvention) {
  struct Case {
    uint32_t indices;
    std::array<float, 3> weights;
    std::map<int, double> expected;
  };
  const std::vector<Case> cases = {
      {0x00000000u, {0.0f, 0.0f, 0.0f}, {}},                                        // follows the root
      {0x04030201u, {0.4f, 0.3f, 0.2f}, {{1, 0.4}, {2, 0.3}, {3, 0.2}, {4, 0.1}}},  // slot 3 implied
      {0x00000201u, {0.5f, 0.3f, 0.0f}, {{1, 0.5}, {2, 0.3}}},                      // 0.2 to the root
      {0x00000101u, {0.5f, 0.25f, 0.0f}, {{1, 0.75}}},                              // one bone twice
      {0x00000200u, {0.5f, 0.5f, 0.0f}, {{2, 0.5}}},                                // slot 0 empty
      {0x04000201u, {0.7f, 0.6f, 0.0f}, {{1, 0.7}, {2, 0.6}}},                      // slot 3 below 0
      {0x00000201u, {-0.2f, std::nanf(""), 0.0f}, {}},                              // not above 0
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const BoneWeightSet set = ReadBoneWeights(VertexWeights{cases[i].indices, cases[i].weights});
    std::map<int, double> got;
    for (int k = 0; k < set.count; ++k)
      got[set.items[static_cast<std::size_t>(k)].bone] = set.items[static_cast<std::size_t>(k)].weight;
    ASSERT_EQ(got.size(), cases[i].expected.size()) << "case " << i;
    for (const auto& [bone, w] : cases[i].expected) EXPECT_NEAR(got[bone], w, 1e-6) << "case " << i;
  }
}

TEST(BoneWeights, StoringKeepsSlotsOfKeptBonesAndReadsBack) {
  synthetic::Random random(3);
  for (int trial = 0; trial < 2000; ++trial) {
    VertexWeights old;
    for (int s = 0; s < 4; ++s) old.boneIndices |= random.below(6) << (8 * s);
    BoneWeightSet set;
    const int count = 1 + static_cast<int>(random.below(4));
    while (set.count < count) {
      const auto bone = static_cast<uint8_t>(1 + random.below(6));
      if (set.weightOf(bone) == 0.0f) set.add(bone, random.uniform(0.05f, 1.0f));
    }
    ScaleBoneWeights(set, 1.0);
    const VertexWeights stored = StoreBoneWeights(old, set);
    const BoneWeightSet back = ReadBoneWeights(stored);
    ASSERT_EQ(back.count, set.count);
    for (int i = 0; i < set.count; ++i) {
      const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
      EXPECT_NEAR(back.weightOf(item.bone), item.weight, 1e-6);
      // A bone the vertex held in a slot it may still use stays there.
      for (int s = 0; s < (set.count == 4 ? 4 : 3); ++s) {
        const auto was = static_cast<uint8_t>(old.boneIndices >> (8 * s));
        bool firstSlotOfBone = was == item.bone;
        for (int t = 0; t < s; ++t)
          firstSlotOfBone = firstSlotOfBone && static_cast<uint8_t>(old.boneIndices >> (8 * t)) != item.bone;
        if (firstSlotOfBone) {
          EXPECT_EQ(static_cast<uint8_t>(stored.boneIndices >> (8 * s)), item.bone);
        }
      }
    }
    if (set.count < 4) {
      EXPECT_EQ(stored.boneIndices >> 24, 0u);
    }
  }
}

TEST(AverageBoneWeights, MeanOfTheSelectionWithTheRootShareFirst) {
  SkinnedModel m = weighttest::RoughModel(21, 100, 6);
  m.selection.reset(m.vertexCount());
  auto set = [&](std::size_t v, uint32_t indices, std::array<float, 3> w) {
    m.skinnedMesh.vertices[v].boneIndices = indices;
    std::copy(w.begin(), w.end(), m.skinnedMesh.vertices[v].blendWeights);
    m.selection.selected[v] = 1;
  };
  set(3, 0x00000201u, {0.5f, 0.3f, 0.0f});  // 0.2 to the root
  set(4, 0x00000002u, {1.0f, 0.0f, 0.0f});
  set(9, 0x05040302u, {0.1f, 0.2f, 0.3f});
  RebuildPointList(m.selection);
  const std::vector<double> mean = AverageBoneWeights(WeightToolInputOf(m));
  const std::vector<double> expected = {0.2 / 3, 0.5 / 3, (0.3 + 1.0 + 0.1) / 3, 0.2 / 3, 0.3 / 3, 0.4 / 3};
  ASSERT_EQ(mean.size(), expected.size());
  for (std::size_t b = 0; b < expected.size(); ++b) EXPECT_NEAR(mean[b], expected[b], 1e-7) << "bone " << b;

  m.selection.reset(m.vertexCount());  // nothing selected: every vertex
  const std::vector<double> all = AverageBoneWeights(WeightToolInputOf(m));
  double total = 0.0;
  for (double x : all) total += x;
  EXPECT_NEAR(total, 1.0, 1e-6);
}
}  // namespace
}  // namespace posewright
