// Automatic blend weights on a 65,535-vertex tube bound to a chain of 64 bones
// (the root and 63 bones of length 1), each inside a 48-face prism anchor that
// overlaps its neighbours: the step-by-step serial computation (the baseline
// below) against ComputeBlendWeights on one and on two threads.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#include "skin/AnchorContainment.h"
#include "skin/BlendWeights.h"
#include "skin/InfluenceWeight.h"

namespace {
constexpr int kVertexCount = 65535;
constexpr int kBoneCount = 64;
constexpr int kPrismSides = 13;  // 2·13 side and 2·11 cap triangles: 48 faces
constexpr float kPi = 3.14159265f;

// A prism of kPrismSides sides around the Y axis from y0 to y1, with outward
// normals (unnormalised) and its bounding box as the border box.
BoneAnchor PrismAnchor(float y0, float y1, float radius) {
  BoneAnchor a;
  for (int level = 0; level < 2; ++level) {
    for (int k = 0; k < kPrismSides; ++k) {
      const float angle = 2.0f * kPi * static_cast<float>(k) / kPrismSides;
      a.vertices.emplace_back(radius * std::cos(angle), level == 0 ? y0 : y1, radius * std::sin(angle));
    }
  }
  const D3DXVECTOR3 middle(0.0f, 0.5f * (y0 + y1), 0.0f);
  auto addFace = [&](int i0, int i1, int i2) {
    const D3DXVECTOR3& v0 = a.vertices[static_cast<std::size_t>(i0)];
    const D3DXVECTOR3 e1 = a.vertices[static_cast<std::size_t>(i1)] - v0;
    const D3DXVECTOR3 e2 = a.vertices[static_cast<std::size_t>(i2)] - v0;
    D3DXVECTOR3 n;
    D3DXVec3Cross(&n, &e1, &e2);
    const D3DXVECTOR3 out = v0 - middle;
    if (D3DXVec3Dot(&n, &out) < 0.0f) n = -n;
    a.faces.push_back({i0, i1, i2});
    a.faceNormals.push_back(n);
  };
  for (int k = 0; k < kPrismSides; ++k) {
    const int next = (k + 1) % kPrismSides;
    addFace(k, next, kPrismSides + k);
    addFace(next, kPrismSides + next, kPrismSides + k);
  }
  for (int k = 1; k + 1 < kPrismSides; ++k) {
    addFace(0, k, k + 1);
    addFace(kPrismSides, kPrismSides + k + 1, kPrismSides + k);
  }
  a.boxMin = D3DXVECTOR3(-radius, y0, -radius);
  a.boxMax = D3DXVECTOR3(radius, y1, radius);
  return a;
}

// A wobbly tube of radius about 0.5 along +Y from 0 to kBoneCount − 1, rings of
// 48 vertices; bone b runs from y = b − 1 to y = b, its anchor reaching a
// quarter of a length into its neighbours.
SkinnedModel MakeTubeModel() {
  SkinnedModel m;
  constexpr int kRing = 48;
  const float length = static_cast<float>(kBoneCount - 1);
  const int rings = (kVertexCount + kRing - 1) / kRing;
  for (int i = 0; i < kVertexCount; ++i) {
    const int ring = i / kRing;
    const float angle = 2.0f * kPi * static_cast<float>(i % kRing) / kRing;
    const float y = length * static_cast<float>(ring) / static_cast<float>(rings - 1);
    const float radius = 0.5f + 0.1f * std::sin(3.0f * y + angle);
    SkinVertex v;
    v.position = D3DXVECTOR3(radius * std::cos(angle), y, radius * std::sin(angle));
    m.skinnedMesh.vertices.push_back(v);
  }
  m.selection.reset(m.skinnedMesh.vertices.size());
  m.meshLoaded = true;
  Skeleton& s = m.skeleton;
  s.bones.resize(kBoneCount);
  s.resizePerBoneArrays();
  s.bones[0].name = "Root";
  s.bones[0].end = D3DXVECTOR3(0, -1, 0);
  for (int b = 1; b < kBoneCount; ++b) {
    Bone& bone = s.bones[static_cast<std::size_t>(b)];
    bone.name = "B" + std::to_string(b);
    bone.parentId = b - 1;
    bone.symmetricId = b;
    bone.begin = D3DXVECTOR3(0, static_cast<float>(b - 1), 0);
    bone.end = D3DXVECTOR3(0, static_cast<float>(b), 0);
    s.anchors[static_cast<std::size_t>(b)] =
        PrismAnchor(static_cast<float>(b) - 1.25f, static_cast<float>(b) + 0.25f, 0.8f);
  }
  s.bonesLoaded = true;
  return m;
}

// The baseline: the weights computed vertex by vertex exactly as the steps
// read, with the anchor test recomputing its face centroids on every call.
void DirectComputeBlendWeights(SkinnedModel& model) {
  std::vector<SkinVertex> work = model.skinnedMesh.vertices;
  const Skeleton& s = model.skeleton;
  for (SkinVertex& v : work) {
    v.pointSize = 10.0f;
    uint8_t slots[4] = {0, 0, 0, 0};
    int count = 0;
    for (int b = 1; b < s.boneCount() && count < 4; ++b) {
      if (Contains(v.position, s.anchors[static_cast<std::size_t>(b)])) {
        slots[count++] = static_cast<uint8_t>(b);
      }
    }
    float w[4];
    for (int i = 0; i < 4; ++i) {
      w[i] = slots[i] != 0 ? InfluenceWeight(v.position, s.bones[slots[i]], s.blendParams[slots[i]]) : 0.0f;
    }
    float sum = w[0] + w[1] + w[2] + w[3];
    if (sum == 0.0f) {
      for (int i = 0; i < count; ++i) w[i] = 1.0f;
      sum = static_cast<float>(count);
    }
    for (float& x : w) x = count == 0 ? 0.0f : x / sum;
    v.boneIndices = slots[0] | slots[1] << 8 | slots[2] << 16 | static_cast<uint32_t>(slots[3]) << 24;
    v.blendWeights[0] = w[0];
    v.blendWeights[1] = w[1];
    v.blendWeights[2] = w[2];
  }
  model.skinnedMesh.vertices = work;
  model.pointVertices = work;
}

SkinnedModel& TubeModel() {
  static SkinnedModel model = [] {
    SkinnedModel m = MakeTubeModel();
    SkinnedModel direct = m;
    DirectComputeBlendWeights(direct);
    ComputeBlendWeights(m, 2);
    if (std::memcmp(direct.skinnedMesh.vertices.data(), m.skinnedMesh.vertices.data(),
                    m.skinnedMesh.vertices.size() * sizeof(SkinVertex)) != 0) {
      std::fprintf(stderr, "BlendWeightsBench: the two computations disagree\n");
      std::abort();
    }
    return m;
  }();
  return model;
}

void BM_BlendWeights_DirectSerial(benchmark::State& state) {
  SkinnedModel& m = TubeModel();
  for (auto _ : state) {
    DirectComputeBlendWeights(m);
    benchmark::DoNotOptimize(m.skinnedMesh.vertices.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
}
BENCHMARK(BM_BlendWeights_DirectSerial)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BlendWeights_Computed(benchmark::State& state) {
  SkinnedModel& m = TubeModel();
  const unsigned threads = static_cast<unsigned>(state.range(0));
  BlendWeightCounts counts;
  for (auto _ : state) {
    counts = ComputeBlendWeights(m, threads);
    benchmark::DoNotOptimize(m.skinnedMesh.vertices.data());
  }
  state.SetItemsProcessed(state.iterations() * kVertexCount);
  state.counters["noAnchor"] = static_cast<double>(counts.verticesInNoAnchor);
}
BENCHMARK(BM_BlendWeights_Computed)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
}  // namespace
