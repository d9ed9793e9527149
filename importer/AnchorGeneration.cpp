#include "importer/AnchorGeneration.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "importer/AnchorFitting.h"
#include "importer/BoneFrame.h"
#include "importer/ConvexAnchor.h"
#include "importer/Quantize.h"
#include "weights/AnchorBoxGrid.h"
#include "weights/AnchorContainment.h"
#include "weights/InfluenceWeight.h"

namespace posewright {

namespace {
// Refits before giving up on a vertex in no anchor or in more than four.
constexpr int kRepairRounds = 3;

float Length(const D3DXVECTOR3& v) {
  return D3DXVec3Length(&v);
}

struct Bounds {
  D3DXVECTOR3 lo{1e30f, 1e30f, 1e30f};
  D3DXVECTOR3 hi{-1e30f, -1e30f, -1e30f};
  void add(const D3DXVECTOR3& p) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  float diagonal() const { return hi.x >= lo.x ? Length(hi - lo) : 0.0f; }
};

float SegmentDistanceSquared(const D3DXVECTOR3& p, const Bone& bone) {
  const D3DXVECTOR3 axis = bone.end - bone.begin;
  const D3DXVECTOR3 d = p - bone.begin;
  const float lengthSquared = D3DXVec3Dot(&axis, &axis);
  const float t =
      lengthSquared > 0.0f ? std::clamp(D3DXVec3Dot(&d, &axis) / lengthSquared, 0.0f, 1.0f) : 0.0f;
  const D3DXVECTOR3 off = d - axis * t;
  return D3DXVec3Dot(&off, &off);
}

// The frame a bone's prism is built along: the bone's own axis, unless it runs
// near Z, where every side of a prism around it would stand nearly parallel to
// Z (faces the containment test cannot see from the side); then the prism
// stands along Y.
BoneFrame PrismFrame(const Bone& bone) {
  D3DXVECTOR3 axis = bone.end - bone.begin;
  const float length = Length(axis);
  if (!(length > 0.0f) || std::fabs(axis.z) > 0.7f * length) {
    axis = D3DXVECTOR3(0, 1, 0);
  }
  return MakeBoneFrame(bone.begin, bone.begin + axis);
}

struct Fitter {
  const Skeleton& skeleton;
  const std::vector<D3DXVECTOR3>& positions;
  float modelSize = 1.0f;

  BoneAnchor fit(std::size_t bone, const std::vector<uint32_t>& vertices, int sides,
                 float marginShare) const {
    const Bone& b = skeleton.bones[bone];
    if (vertices.empty()) {
      const float length = std::max(Length(b.end - b.begin), 1e-4f * modelSize);
      return MakeBipyramidAnchor(PrismFrame(b), 6, 0.5f * length, 0.5f * length, 0.02f * length);
    }
    std::vector<D3DXVECTOR3> points;
    points.reserve(vertices.size());
    Bounds bounds;
    for (uint32_t v : vertices) {
      points.push_back(positions[v]);
      bounds.add(positions[v]);
    }
    const float margin = marginShare * bounds.diagonal() + 1e-5f * modelSize;
    return FitPrismAnchor(PrismFrame(b), points, sides, margin);
  }
};

// The bones whose anchors hold p, in increasing order.
struct AnchorTester {
  std::vector<AnchorContainment> anchors;  // entry k: bone k + 1
  AnchorBoxGrid grid;
  std::vector<float> scratch;

  explicit AnchorTester(const Skeleton& skeleton) {
    const std::size_t count = skeleton.anchors.size() > 0 ? skeleton.anchors.size() - 1 : 0;
    std::vector<AnchorBox> boxes;
    std::size_t scratchSize = 0;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t k = 0; k < count; ++k) {
      const BoneAnchor& anchor = skeleton.anchors[k + 1];
      anchors.emplace_back(anchor);
      boxes.push_back(AnchorIsUsable(anchor)
                          ? AnchorBox{anchor.boxMin, anchor.boxMax}
                          : AnchorBox{D3DXVECTOR3(nan, nan, nan), D3DXVECTOR3(nan, nan, nan)});
      scratchSize = std::max(scratchSize, AnchorContainment::RowScratchSize(anchor));
    }
    grid = AnchorBoxGrid(boxes);
    scratch.resize(scratchSize);
  }

  void holding(const D3DXVECTOR3& p, std::vector<int32_t>& bones) {
    bones.clear();
    for (uint32_t k : grid.candidates(p)) {
      if (anchors[k].inBox(p) && anchors[k].containsInBox(p, scratch.data())) {
        bones.push_back(static_cast<int32_t>(k + 1));
      }
    }
  }
};

// A reach as a blending parameters file carries it, within sane bounds.
float Reach(float value) {
  return Quantize4(std::clamp(value, 0.05f, 100.0f));
}

// A vertex that more than one anchor holds: there the reaches decide which
// bone weighs most.
struct Overlap {
  D3DXVECTOR3 position;
  std::vector<int32_t> bones;
  /// The influence of each of bones with the reaches tried so far.
  std::vector<float> raw;
  /// The file's heaviest bones (more than one when they tie).
  std::vector<int32_t> wanted;
  bool correct = false;

  // Whether the heaviest of the influences (the first of equals, bones in
  // increasing order, as the automatic weights order their slots) is wanted.
  bool judge() const {
    std::size_t best = 0;
    for (std::size_t k = 1; k < raw.size(); ++k) {
      if (raw[k] > raw[best]) best = k;
    }
    return std::find(wanted.begin(), wanted.end(), bones[best]) != wanted.end();
  }
};

// Tries, bone after bone, reaches around the covering ones and keeps those
// under which the most overlapping vertices weigh most on the file's heaviest
// bone. Vertices in one anchor get that anchor's bone whatever the reaches.
void TuneReachesAtOverlaps(Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                           const std::vector<VertexInfluences>& influences) {
  static constexpr float kFactors[] = {0.35f, 0.5f, 0.7f, 1.0f, 1.4f, 2.0f, 2.8f};
  constexpr int kSweeps = 2;
  const std::size_t boneCount = skeleton.bones.size();
  std::vector<Overlap> overlaps;
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> involving(boneCount);  // (overlap, slot)
  {
    AnchorTester tester(skeleton);
    std::vector<int32_t> holders;
    for (std::size_t v = 0; v < positions.size() && v < influences.size(); ++v) {
      const VertexInfluences& in = influences[v];
      if (in.count == 0) continue;
      tester.holding(positions[v], holders);
      if (holders.size() < 2) continue;
      Overlap o;
      o.position = positions[v];
      o.bones = holders;
      for (int s = 0; s < in.count && in.weights[0] - in.weights[s] <= 1e-4f; ++s)
        o.wanted.push_back(in.bones[s]);
      for (std::size_t k = 0; k < holders.size(); ++k) {
        const std::size_t b = static_cast<std::size_t>(holders[k]);
        o.raw.push_back(InfluenceWeight(o.position, skeleton.bones[b], skeleton.blendParams[b]));
        involving[b].emplace_back(static_cast<uint32_t>(overlaps.size()), static_cast<uint32_t>(k));
      }
      o.correct = o.judge();
      overlaps.push_back(std::move(o));
    }
  }
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    for (std::size_t b = 1; b < boneCount; ++b) {
      if (involving[b].empty()) continue;
      const BlendingParams start = skeleton.blendParams[b];
      BlendingParams best = start;
      long bestGain = 0;
      for (float fr : kFactors) {
        for (float fh : kFactors) {
          const BlendingParams trial{Reach(start.R * fr), Reach(start.H * fh)};
          const BoneReach reach(skeleton.bones[b], trial);
          long gain = 0;
          for (const auto& [index, slot] : involving[b]) {
            Overlap& o = overlaps[index];
            const float kept = o.raw[slot];
            o.raw[slot] = InfluenceWeight(o.position, reach);
            gain += static_cast<long>(o.judge()) - static_cast<long>(o.correct);
            o.raw[slot] = kept;
          }
          if (gain > bestGain) {
            bestGain = gain;
            best = trial;
          }
        }
      }
      if (bestGain > 0) {
        skeleton.blendParams[b] = best;
        const BoneReach reach(skeleton.bones[b], best);
        for (const auto& [index, slot] : involving[b]) {
          Overlap& o = overlaps[index];
          o.raw[slot] = InfluenceWeight(o.position, reach);
          o.correct = o.judge();
        }
      }
    }
  }
}

float WeightOf(const VertexInfluences& influences, int32_t bone) {
  for (int s = 0; s < influences.count; ++s) {
    if (influences.bones[s] == bone) return influences.weights[s];
  }
  return 0.0f;
}
}  // namespace

std::vector<int32_t> DominantBones(const Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                                   const std::vector<VertexInfluences>& influences) {
  std::vector<int32_t> dominant(positions.size(), 0);
  const int32_t boneCount = skeleton.boneCount();
  for (std::size_t v = 0; v < positions.size(); ++v) {
    if (v < influences.size() && influences[v].count > 0 && influences[v].bones[0] < boneCount) {
      dominant[v] = influences[v].bones[0];
      continue;
    }
    float best = std::numeric_limits<float>::infinity();
    for (int32_t b = 1; b < boneCount; ++b) {
      const float d = SegmentDistanceSquared(positions[v], skeleton.bones[static_cast<std::size_t>(b)]);
      if (d < best) {
        best = d;
        dominant[v] = b;
      }
    }
  }
  return dominant;
}

void GenerateAnchors(Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                     const std::vector<VertexInfluences>& influences, const AnchorFitOptions& options) {
  const std::size_t boneCount = skeleton.bones.size();
  skeleton.anchors.assign(boneCount, BoneAnchor{});
  if (boneCount < 2) {
    return;
  }
  Bounds model;
  for (const D3DXVECTOR3& p : positions) model.add(p);
  Fitter fitter{skeleton, positions, std::max(model.diagonal(), 1e-6f)};

  const std::vector<int32_t> dominant = DominantBones(skeleton, positions, influences);
  std::vector<std::vector<uint32_t>> own(boneCount), shaping(boneCount);
  for (std::size_t v = 0; v < positions.size(); ++v) {
    own[static_cast<std::size_t>(dominant[v])].push_back(static_cast<uint32_t>(v));
    shaping[static_cast<std::size_t>(dominant[v])].push_back(static_cast<uint32_t>(v));
    if (v >= influences.size()) continue;
    const VertexInfluences& in = influences[v];
    for (int s = 0; s < in.count; ++s) {
      if (in.bones[s] != dominant[v] && in.bones[s] < boneCount && in.weights[s] >= options.overlapWeight) {
        shaping[in.bones[s]].push_back(static_cast<uint32_t>(v));
      }
    }
  }

  std::vector<int> sides(boneCount, options.sides);
  std::vector<float> margins(boneCount, options.margin);
  std::vector<uint8_t> tight(boneCount, 0);
  std::vector<uint8_t> refit(boneCount, 1);
  std::vector<int32_t> holders;
  for (int round = 0; round <= kRepairRounds; ++round) {
    for (std::size_t b = 1; b < boneCount; ++b) {
      if (refit[b] != 0) {
        skeleton.anchors[b] = fitter.fit(b, tight[b] != 0 ? own[b] : shaping[b], sides[b], margins[b]);
        refit[b] = 0;
      }
    }
    if (round == kRepairRounds) break;
    AnchorTester tester(skeleton);
    bool changed = false;
    for (std::size_t v = 0; v < positions.size(); ++v) {
      tester.holding(positions[v], holders);
      if (holders.empty()) {
        const std::size_t b = static_cast<std::size_t>(dominant[v]);
        if (b > 0 && refit[b] == 0) {
          margins[b] *= 4.0f;
          refit[b] = 1;
          changed = true;
        }
      } else if (holders.size() > 4) {
        // Fit the lightest of the extra bones tighter, around its own vertices.
        const VertexInfluences none;
        const VertexInfluences& in = v < influences.size() ? influences[v] : none;
        std::stable_sort(holders.begin(), holders.end(),
                         [&](int32_t a, int32_t c) { return WeightOf(in, a) > WeightOf(in, c); });
        for (std::size_t k = 4; k < holders.size(); ++k) {
          const std::size_t b = static_cast<std::size_t>(holders[k]);
          if (b == static_cast<std::size_t>(dominant[v]) || refit[b] != 0) continue;
          if (tight[b] == 0) {
            tight[b] = 1;
          } else {
            sides[b] = std::min(2 * sides[b], 96);
            margins[b] *= 0.5f;
          }
          refit[b] = 1;
          changed = true;
        }
      }
    }
    if (!changed) break;
  }
}

void FitBlendingParameters(Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                           const std::vector<VertexInfluences>& influences) {
  const std::vector<int32_t> dominant = DominantBones(skeleton, positions, influences);
  const std::size_t boneCount = skeleton.bones.size();
  std::vector<float> radial(boneCount, 0.0f), beyond(boneCount, 0.0f);
  for (std::size_t v = 0; v < positions.size(); ++v) {
    const std::size_t b = static_cast<std::size_t>(dominant[v]);
    const Bone& bone = skeleton.bones[b];
    const D3DXVECTOR3 axis = bone.end - bone.begin;
    const float length = Length(axis);
    if (b == 0 || !(length > 0.0f)) continue;
    const D3DXVECTOR3 d = positions[v] - bone.begin;
    const float t = D3DXVec3Dot(&d, &axis) / (length * length);
    const D3DXVECTOR3 off = d - axis * t;
    radial[b] = std::max(radial[b], Length(off) / length);
    beyond[b] = std::max({beyond[b], -t, t - 1.0f});
  }
  skeleton.blendParams.resize(boneCount);
  for (std::size_t b = 1; b < boneCount; ++b) {
    skeleton.blendParams[b] = BlendingParams{Reach(1.1f * radial[b]), Reach(1.1f * beyond[b])};
  }
  TuneReachesAtOverlaps(skeleton, positions, influences);
}

AnchorCoverage CountAnchorsPerVertex(const Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions) {
  AnchorCoverage coverage;
  AnchorTester tester(skeleton);
  std::vector<int32_t> holders;
  coverage.anchorsPerVertex.reserve(positions.size());
  coverage.fewest = positions.empty() ? 0 : std::numeric_limits<int>::max();
  for (const D3DXVECTOR3& p : positions) {
    tester.holding(p, holders);
    const int n = static_cast<int>(holders.size());
    coverage.anchorsPerVertex.push_back(static_cast<uint8_t>(std::min(n, 255)));
    coverage.fewest = std::min(coverage.fewest, n);
    coverage.most = std::max(coverage.most, n);
    if (n == 0) ++coverage.inNoAnchor;
    if (n > 4) ++coverage.inMoreThanFour;
  }
  return coverage;
}
}  // namespace posewright
