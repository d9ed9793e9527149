// The weight mirror and smoothing on the generator's large model (65,535
// vertices, 64 bones besides the root, automatic weights), each against a
// straightforward serial form of the same computation: the mirror searching
// an x-sorted list instead of the position table and k-d tree, smoothing with
// ordered maps. The run refuses to start unless both forms give the same
// weights. The mirror runs on the model with scrambled weights, so that it
// writes half the vertices.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "tests/support/GeneratedSkinnedModel.h"
#include "tests/support/SyntheticSkinnedModel.h"
#include "weighttools/MirrorVertices.h"
#include "weighttools/MirrorWeights.h"
#include "weighttools/SmoothWeights.h"

namespace posewright {

namespace {
constexpr int kVertexCount = 65535;
constexpr int kSmoothIterations = 10;
constexpr float kSmoothStrength = 0.5f;

[[noreturn]] void Refuse(const char* why) {
  std::fprintf(stderr, "WeightToolsBench: %s\n", why);
  std::abort();
}

using Position = std::tuple<float, float, float>;

Position At(const SkinVertex& v) {
  return {v.position.x, v.position.y, v.position.z};
}

// The vertices at every position, in vertex order.
std::map<Position, std::vector<uint32_t>> VerticesByPosition(const std::vector<SkinVertex>& vertices) {
  std::map<Position, std::vector<uint32_t>> at;
  for (uint32_t v = 0; v < vertices.size(); ++v) at[At(vertices[v])].push_back(v);
  return at;
}

// The baseline mirror, left to right: for each vertex at x < 0 the nearest
// position at x > 0 within the tolerance of its mirror position, found in
// the window of an x-sorted list; of the vertices there the one of the same
// rank (or the first); its slots copied with partner bones.
std::vector<SkinVertex> SerialMirror(const SkinnedModel& model) {
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const std::map<Position, std::vector<uint32_t>> at = VerticesByPosition(vertices);
  const float tolerance = kMirrorRelativeTolerance * BoundingBoxDiagonal(vertices);
  const std::array<uint8_t, 256> partner = BonePartnerTable(model.skeleton);
  std::vector<std::pair<float, uint32_t>> byX;
  for (uint32_t v = 0; v < vertices.size(); ++v) byX.emplace_back(vertices[v].position.x, v);
  std::sort(byX.begin(), byX.end());
  std::vector<SkinVertex> out = vertices;
  for (std::size_t d = 0; d < vertices.size(); ++d) {
    const D3DXVECTOR3& p = vertices[d].position;
    if (p.x >= -tolerance) continue;
    auto it = std::lower_bound(byX.begin(), byX.end(), std::make_pair(-p.x - tolerance, uint32_t{0}));
    float best = tolerance * tolerance;
    uint32_t source = UINT32_MAX;
    for (; it != byX.end() && it->first <= -p.x + tolerance; ++it) {
      const D3DXVECTOR3& q = vertices[it->second].position;
      const float dx = q.x + p.x, dy = q.y - p.y, dz = q.z - p.z;
      const float distance = dx * dx + dy * dy + dz * dz;
      if (distance <= best && q.x > tolerance) {
        best = distance;
        source = it->second;
      }
    }
    if (source == UINT32_MAX) continue;
    const std::vector<uint32_t>& mine = at.at(At(vertices[d]));
    const std::vector<uint32_t>& theirs = at.at(At(vertices[source]));
    const std::size_t rank = static_cast<std::size_t>(std::find(mine.begin(), mine.end(), d) - mine.begin());
    source = rank < theirs.size() ? theirs[rank] : theirs[0];
    uint32_t indices = 0;
    for (int s = 0; s < 4; ++s) indices |= uint32_t{partner[vertices[source].boneIndex(s)]} << (8 * s);
    out[d].boneIndices = indices;
    std::copy(vertices[source].blendWeights, vertices[source].blendWeights + 3, out[d].blendWeights);
  }
  return out;
}

// The baseline smoothing: each vertex stands for the vertices at its
// position (the first of them), with neighbour sets from the faces; per
// vertex and iteration an ordered map of bone weights in double.
std::vector<SkinVertex> SerialSmooth(const SkinnedModel& model) {
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  const std::map<Position, std::vector<uint32_t>> at = VerticesByPosition(vertices);
  auto first = [&](uint32_t v) { return at.at(At(vertices[v])).front(); };
  std::vector<std::set<uint32_t>> neighbours(vertices.size());
  for (std::size_t f = 0; f + 2 < indices.size(); f += 3) {
    for (int e = 0; e < 3; ++e) {
      const uint32_t a = first(indices[f + static_cast<std::size_t>(e)]);
      const uint32_t b = first(indices[f + static_cast<std::size_t>((e + 1) % 3)]);
      if (a == b) continue;
      neighbours[a].insert(b);
      neighbours[b].insert(a);
    }
  }
  using Weights = std::map<int, double>;
  std::vector<Weights> current(vertices.size());
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const SkinVertex& x = vertices[v];
    for (int s = 0; s < 4; ++s) {
      const float w = s < 3 ? x.blendWeights[s] : x.lastWeight();
      if (x.boneIndex(s) != 0 && w > 0.0f) current[v][x.boneIndex(s)] += w;
    }
  }
  for (int iteration = 0; iteration < kSmoothIterations; ++iteration) {
    std::vector<Weights> next = current;
    for (uint32_t v = 0; v < vertices.size(); ++v) {
      if (first(v) != v) continue;
      std::vector<uint32_t> weighted;
      for (uint32_t n : neighbours[v]) {
        if (!current[n].empty()) weighted.push_back(n);
      }
      if (current[v].empty() || weighted.empty()) continue;
      Weights sum;
      for (const auto& [bone, w] : current[v]) sum[bone] += (1.0 - kSmoothStrength) * w;
      for (uint32_t n : weighted) {
        for (const auto& [bone, w] : current[n])
          sum[bone] += kSmoothStrength / static_cast<double>(weighted.size()) * w;
      }
      std::vector<std::pair<double, int>> strongest;
      for (const auto& [bone, w] : sum) strongest.emplace_back(-w, bone);
      std::sort(strongest.begin(), strongest.end());
      strongest.resize(std::min<std::size_t>(4, strongest.size()));
      double total = 0.0;
      for (const auto& [w, bone] : strongest) total -= w;
      next[v].clear();
      for (const auto& [w, bone] : strongest) next[v][bone] = -w / total;
    }
    current = std::move(next);
  }
  std::vector<SkinVertex> out = vertices;
  for (uint32_t v = 0; v < vertices.size(); ++v) {
    out[v].boneIndices = 0;
    std::fill(out[v].blendWeights, out[v].blendWeights + 3, 0.0f);
    int slot = 0;
    for (const auto& [bone, w] : current[first(v)]) {
      out[v].setBoneIndex(slot, static_cast<uint8_t>(bone));
      if (slot < 3) out[v].blendWeights[slot] = static_cast<float>(w);
      ++slot;
    }
  }
  return out;
}

// Whether a and b hold the same bone weights within tolerance.
bool SameWeights(const SkinVertex& a, const SkinVertex& b, double tolerance) {
  auto weights = [](const SkinVertex& x) {
    std::map<int, double> w;
    for (int s = 0; s < 4; ++s) {
      const float f = s < 3 ? x.blendWeights[s] : x.lastWeight();
      if (x.boneIndex(s) != 0 && f > 0.0f) w[x.boneIndex(s)] += f;
    }
    return w;
  };
  const std::map<int, double> wa = weights(a), wb = weights(b);
  if (wa.size() != wb.size()) return false;
  for (const auto& [bone, w] : wa) {
    if (wb.count(bone) == 0 || std::abs(wb.at(bone) - w) > tolerance) return false;
  }
  return true;
}

SkinnedModel Applied(const SkinnedModel& model, const WeightToolResult& r) {
  SkinnedModel copy = model;
  ApplyWeightChanges(copy, r.changes);
  return copy;
}

// The large model; with scrambled weights, every position holds one to four
// random bones instead (its automatic weights are symmetric already, which
// would leave the mirror nothing to write).
SkinnedModel MakeLargeModel(bool scrambled) {
  ModelOptions o;
  o.vertices = kVertexCount;
  o.bones = 64;
  o.anchorFaces = 48;
  SkinnedModel m = BindGeneratedModel(o);
  if (scrambled) {
    std::vector<SkinVertex>& vertices = m.skinnedMesh.vertices;
    synthetic::Random random(5);
    synthetic::AssignWeights(vertices, m.skeleton.boneCount(), random);
    const std::map<Position, std::vector<uint32_t>> at = VerticesByPosition(vertices);
    for (const auto& [position, list] : at) {
      for (uint32_t v : list) vertices[v] = vertices[list.front()];
    }
    m.pointVertices = vertices;
  }
  return m;
}

const SkinnedModel& LargeModel(bool scrambled) {
  static const SkinnedModel automatic = [] {
    SkinnedModel m = MakeLargeModel(false);
    // The baseline mirror leaves out what this model does not have: vertices on the plane.
    const float tolerance = kMirrorRelativeTolerance * BoundingBoxDiagonal(m.skinnedMesh.vertices);
    for (const SkinVertex& v : m.skinnedMesh.vertices) {
      if (std::abs(v.position.x) <= tolerance) Refuse("the model has vertices on the mirror plane");
    }
    const SkinnedModel mirrored = Applied(
        m,
        MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight, kMirrorRelativeTolerance, 2));
    const std::vector<SkinVertex> serialMirrored = SerialMirror(m);
    const SkinnedModel smoothed =
        Applied(m, SmoothVertexWeights(WeightToolInputOf(m), {kSmoothIterations, kSmoothStrength, 2}));
    const std::vector<SkinVertex> serialSmoothed = SerialSmooth(m);
    for (std::size_t v = 0; v < m.vertexCount(); ++v) {
      if (!SameWeights(mirrored.skinnedMesh.vertices[v], serialMirrored[v], 0.0)) {
        Refuse("the two mirrors disagree");
      }
      if (!SameWeights(smoothed.skinnedMesh.vertices[v], serialSmoothed[v], 1e-5)) {
        Refuse("the two smoothings disagree");
      }
    }
    return m;
  }();
  static const SkinnedModel scrambledModel = [] {
    SkinnedModel m = MakeLargeModel(true);
    const SkinnedModel mirrored = Applied(
        m,
        MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight, kMirrorRelativeTolerance, 2));
    const std::vector<SkinVertex> serialMirrored = SerialMirror(m);
    for (std::size_t v = 0; v < m.vertexCount(); ++v) {
      if (!SameWeights(mirrored.skinnedMesh.vertices[v], serialMirrored[v], 0.0))
        Refuse("the two mirrors disagree");
    }
    return m;
  }();
  return scrambled ? scrambledModel : automatic;
}

double Fastest(const std::vector<double>& v) {
  return *std::min_element(v.begin(), v.end());
}

void BM_WeightMirror_Serial(benchmark::State& state) {
  const SkinnedModel& m = LargeModel(true);
  for (auto _ : state) {
    std::vector<SkinVertex> out = SerialMirror(m);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
}
BENCHMARK(BM_WeightMirror_Serial)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);

void BM_WeightMirror_Tool(benchmark::State& state) {
  const SkinnedModel& m = LargeModel(true);
  const unsigned threads = static_cast<unsigned>(state.range(0));
  std::size_t changed = 0;
  for (auto _ : state) {
    const WeightToolResult r = MirrorVertexWeights(WeightToolInputOf(m), MirrorDirection::LeftToRight,
                                                   kMirrorRelativeTolerance, threads);
    changed = r.verticesChanged();
    benchmark::DoNotOptimize(r.changes.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
  state.counters["changed"] = static_cast<double>(changed);
}
BENCHMARK(BM_WeightMirror_Tool)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);

void BM_WeightSmooth10_Serial(benchmark::State& state) {
  const SkinnedModel& m = LargeModel(false);
  for (auto _ : state) {
    std::vector<SkinVertex> out = SerialSmooth(m);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
}
BENCHMARK(BM_WeightSmooth10_Serial)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);

void BM_WeightSmooth10_Tool(benchmark::State& state) {
  const SkinnedModel& m = LargeModel(false);
  const unsigned threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    const WeightToolResult r =
        SmoothVertexWeights(WeightToolInputOf(m), {kSmoothIterations, kSmoothStrength, threads});
    benchmark::DoNotOptimize(r.changes.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
}
BENCHMARK(BM_WeightSmooth10_Tool)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);
}  // namespace
}  // namespace posewright
