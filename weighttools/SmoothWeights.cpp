#include "weighttools/SmoothWeights.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "weighttools/BoneWeights.h"
#include "weighttools/MeshPoints.h"
#include "weighttools/ParallelRanges.h"
#include "weighttools/ToolScope.h"

namespace posewright {

namespace {
constexpr std::size_t kMinimumPointsPerThread = 2048;

// A point's weights between iterations: the first count entries are used.
struct PointWeights {
  std::array<uint8_t, 4> bones{};
  std::array<float, 4> weights{};
  int count = 0;
};

PointWeights FromSet(const BoneWeightSet& set) {
  PointWeights p;
  p.count = set.count;
  for (std::size_t i = 0; i < static_cast<std::size_t>(set.count); ++i) {
    p.bones[i] = set.items[i].bone;
    p.weights[i] = set.items[i].weight;
  }
  return p;
}

BoneWeightSet ToSet(const PointWeights& p) {
  BoneWeightSet set;
  for (std::size_t i = 0; i < static_cast<std::size_t>(p.count); ++i) set.add(p.bones[i], p.weights[i]);
  return set;
}

// One thread's accumulator: a weight per bone index and the bones touched.
struct Accumulator {
  std::array<float, 256> weight{};
  std::array<bool, 256> listed{};
  std::array<uint8_t, 256> touched{};
  int touchedCount = 0;

  void add(const PointWeights& p, float factor) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(p.count); ++i) {
      const uint8_t bone = p.bones[i];
      if (!listed[bone]) {
        listed[bone] = true;
        touched[static_cast<std::size_t>(touchedCount++)] = bone;
      }
      weight[bone] += factor * p.weights[i];
    }
  }

  // The four strongest bones (of equal weights the lower), scaled to sum 1;
  // leaves the accumulator empty.
  PointWeights take() {
    PointWeights out;
    float sum = 0.0f;
    for (int k = 0; k < 4 && k < touchedCount; ++k) {
      int best = -1;
      for (int i = 0; i < touchedCount; ++i) {
        const uint8_t bone = touched[static_cast<std::size_t>(i)];
        if (weight[bone] <= 0.0f) continue;
        if (best < 0) {
          best = i;
          continue;
        }
        const uint8_t current = touched[static_cast<std::size_t>(best)];
        if (weight[bone] > weight[current] || (weight[bone] == weight[current] && bone < current)) best = i;
      }
      if (best < 0) break;
      const uint8_t bone = touched[static_cast<std::size_t>(best)];
      out.bones[static_cast<std::size_t>(out.count)] = bone;
      out.weights[static_cast<std::size_t>(out.count)] = weight[bone];
      ++out.count;
      sum += weight[bone];
      weight[bone] = -1.0f;  // taken
    }
    for (int i = 0; i < touchedCount; ++i) {
      weight[touched[static_cast<std::size_t>(i)]] = 0.0f;
      listed[touched[static_cast<std::size_t>(i)]] = false;
    }
    touchedCount = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(out.count); ++i) out.weights[i] /= sum;
    return out;
  }
};
// True when p and every neighbour with weights hold one bone alone, the same
// one: p then keeps that bone at weight 1 (most of a mesh lies inside one
// bone's reach).
bool InsideOneBone(const std::vector<PointWeights>& weights, const MeshPoints& mesh, uint32_t p) {
  const PointWeights& own = weights[p];
  if (own.count != 1 || own.weights[0] != 1.0f) return false;
  for (uint32_t k = mesh.neighbourStart[p]; k < mesh.neighbourStart[p + 1]; ++k) {
    const PointWeights& q = weights[mesh.neighbours[k]];
    if (q.count > 1 || (q.count == 1 && q.bones[0] != own.bones[0])) return false;
  }
  return true;
}
}  // namespace

WeightToolResult SmoothVertexWeights(const WeightToolInput& input, const SmoothOptions& options) {
  WeightToolResult result;
  if (options.iterations < 1 || options.iterations > kMaxSmoothIterations) {
    result.status =
        Status::Error(std::string(kWeightToolBadParameter),
                      "smoothing iterations must be 1 to " + std::to_string(kMaxSmoothIterations));
    return result;
  }
  if (!(options.strength > 0.0f && options.strength <= 1.0f)) {
    result.status = Status::Error(std::string(kWeightToolBadParameter),
                                  "the smoothing strength must be above 0 and at most 1");
    return result;
  }
  result.status = CheckWeightToolInput(input);
  if (!result.status) return result;

  const std::span<const SkinVertex> vertices = input.vertices;
  const ToolScope scope(input.selected, vertices.size());
  result.verticesInScope = scope.size();
  const MeshPoints mesh = BuildMeshPoints(vertices, input.indices);
  const std::size_t points = mesh.pointCount();

  std::vector<PointWeights> current(points);
  for (std::size_t p = 0; p < points; ++p) {
    current[p] = FromSet(ReadBoneWeights(WeightsOf(vertices[mesh.firstVertex[p]])));
  }
  std::vector<uint8_t> inScope(points, 0);
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    if (!scope.contains(v)) continue;
    if (current[mesh.pointOf[v]].count == 0) {
      ++result.verticesWithoutWeights;
    } else {
      inScope[mesh.pointOf[v]] = 1;
    }
  }
  // The points that move, each with the share of one weighted neighbour.
  std::vector<uint32_t> moving;
  std::vector<float> neighbourShare;
  std::vector<uint8_t> moves(points, 0);
  for (std::size_t p = 0; p < points; ++p) {
    if (inScope[p] == 0) continue;
    int weighted = 0;
    for (uint32_t k = mesh.neighbourStart[p]; k < mesh.neighbourStart[p + 1]; ++k) {
      if (current[mesh.neighbours[k]].count > 0) ++weighted;
    }
    if (weighted == 0) continue;
    moving.push_back(static_cast<uint32_t>(p));
    moves[p] = 1;
    neighbourShare.push_back(options.strength / static_cast<float>(weighted));
  }

  std::vector<PointWeights> next = current;  // points that do not move are the same in both
  const float own = 1.0f - options.strength;
  const unsigned threads = ThreadsForItems(options.threads, moving.size(), kMinimumPointsPerThread);
  for (int iteration = 0; iteration < options.iterations; ++iteration) {
    ParallelRanges(moving.size(), threads, [&](std::size_t begin, std::size_t end, unsigned) {
      Accumulator acc;
      for (std::size_t i = begin; i < end; ++i) {
        const uint32_t p = moving[i];
        if (InsideOneBone(current, mesh, p)) {
          next[p] = current[p];  // what the sum below gives: one bone weighing w / w = 1
          continue;
        }
        acc.add(current[p], own);
        for (uint32_t k = mesh.neighbourStart[p]; k < mesh.neighbourStart[p + 1]; ++k) {
          const PointWeights& q = current[mesh.neighbours[k]];
          if (q.count > 0) acc.add(q, neighbourShare[i]);
        }
        next[p] = acc.take();
      }
    });
    std::swap(current, next);
  }

  result.changes.reserve(scope.size());  // pages never written cost nothing
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const uint32_t p = mesh.pointOf[v];
    if (!scope.contains(v) || moves[p] == 0) continue;
    const VertexWeights old = WeightsOf(vertices[v]);
    const VertexWeights stored = StoreBoneWeights(old, ToSet(current[p]));
    if (!stored.sameBits(old)) result.changes.push_back({static_cast<uint32_t>(v), stored});
  }
  return result;
}
}  // namespace posewright
