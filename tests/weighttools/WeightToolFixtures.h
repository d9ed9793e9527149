// Models and checks shared by the weight tool tests.
#pragma once

#include <cmath>
#include <map>
#include <vector>

#include "support/SyntheticSkinnedModel.h"
#include "weighttools/WeightTool.h"

namespace posewright {

namespace weighttest {

/// The bone weights of a vertex by the model's convention, written out
/// independently of the tools: bones above 0, slot 3 weighing
/// 1 − (w0 + w1 + w2), repeated bones added, non-positive weights left out.
inline std::map<int, double> Weights(const SkinVertex& v) {
  std::map<int, double> w;
  for (int s = 0; s < 4; ++s) {
    const float x = s < 3 ? v.blendWeights[s] : v.lastWeight();
    if (v.boneIndex(s) != 0 && x > 0.0f) w[v.boneIndex(s)] += static_cast<double>(x);
  }
  return w;
}

inline double Sum(const std::map<int, double>& w) {
  double s = 0.0;
  for (const auto& [bone, x] : w) s += x;
  return s;
}

/// True when a and b hold the same bones with weights within tolerance.
inline bool Near(const std::map<int, double>& a, const std::map<int, double>& b, double tolerance = 1e-6) {
  if (a.size() != b.size()) return false;
  for (const auto& [bone, w] : a) {
    if (b.count(bone) == 0 || std::abs(b.at(bone) - w) > tolerance) return false;
  }
  return true;
}

/// A grid model (split: every face with vertices of its own) with random
/// weights, then roughened: about one vertex in ten
/// without weights, one in six with its bone weights scaled off 1 (leaving
/// weight to the root or more than 1), one in six with a faint extra bone.
inline SkinnedModel RoughModel(uint64_t seed, uint32_t vertices = 400, int32_t bones = 12,
                               bool split = false) {
  synthetic::ModelRecipe recipe;
  recipe.splitVertices = split;
  recipe.vertexCount = vertices;
  recipe.boneCount = bones;
  recipe.seed = seed;
  SkinnedModel m = synthetic::MakeModel(recipe);
  synthetic::Random random(seed + 99);
  for (SkinVertex& v : m.skinnedMesh.vertices) {
    const uint32_t roll = random.below(30);
    int used = 0;
    while (used < 4 && v.boneIndex(used) != 0) ++used;
    if (roll < 3) {
      v.boneIndices = 0;
      v.blendWeights[0] = v.blendWeights[1] = v.blendWeights[2] = 0.0f;
    } else if (roll < 8 && used < 4) {
      const float f = random.uniform(0.5f, 1.4f);
      for (float& w : v.blendWeights) w *= f;
    } else if (roll < 13 && used < 3) {
      // A faint bone not held yet, taken from the first slot's weight.
      uint8_t extra = static_cast<uint8_t>(1 + random.below(static_cast<uint32_t>(bones - 1)));
      while (Weights(v).count(extra) != 0) extra = static_cast<uint8_t>(1 + extra % (bones - 1));
      const float faint = random.uniform(0.001f, 0.02f);
      v.setBoneIndex(used, extra);
      v.blendWeights[used] = faint;
      v.blendWeights[0] -= faint;
    }
  }
  m.pointVertices = m.skinnedMesh.vertices;
  return m;
}

/// Selects every vertex whose number is a multiple of step (none when step is 0).
inline void SelectEvery(SkinnedModel& m, uint32_t step) {
  m.selection.reset(m.vertexCount());
  if (step == 0) return;
  for (std::size_t v = 0; v < m.vertexCount(); v += step) m.selection.selected[v] = 1;
  RebuildPointList(m.selection);
}

}  // namespace weighttest
}  // namespace posewright
