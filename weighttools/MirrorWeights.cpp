#include "weighttools/MirrorWeights.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "weighttools/BoneWeights.h"
#include "weighttools/MirrorVertices.h"
#include "weighttools/ToolScope.h"

namespace posewright {

namespace {
using PartnerTable = std::array<uint8_t, 256>;

VertexWeights MirroredWeights(const VertexWeights& source, const PartnerTable& partner) {
  VertexWeights out = source;
  out.boneIndices = 0;
  for (int s = 0; s < 4; ++s) {
    const uint8_t bone = static_cast<uint8_t>(source.boneIndices >> (8 * s));
    out.boneIndices |= static_cast<uint32_t>(partner[bone]) << (8 * s);
  }
  return out;
}

// The weights of a vertex on the plane made symmetric: each bone's weight
// shared between it and its partner.
BoneWeightSet SymmetricWeights(const BoneWeightSet& set, const PartnerTable& partner) {
  // Up to eight bones: each of four bones and its partner.
  std::array<BoneWeight, 8> shared{};
  int count = 0;
  auto add = [&](uint8_t bone, float weight) {
    for (int i = 0; i < count; ++i) {
      if (shared[static_cast<std::size_t>(i)].bone == bone) {
        shared[static_cast<std::size_t>(i)].weight += weight;
        return;
      }
    }
    shared[static_cast<std::size_t>(count++)] = BoneWeight{bone, weight};
  };
  for (int i = 0; i < set.count; ++i) {
    const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
    add(item.bone, 0.5f * item.weight);
    add(partner[item.bone], 0.5f * item.weight);
  }
  BoneWeightSet out;
  if (count <= 4) {
    for (int i = 0; i < count; ++i)
      out.add(shared[static_cast<std::size_t>(i)].bone, shared[static_cast<std::size_t>(i)].weight);
    return out;
  }
  // Too many: keep whole pairs, strongest first, while they fit.
  std::array<int, 8> order{};
  for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.begin() + count, [&](int a, int b) {
    return shared[static_cast<std::size_t>(a)].weight > shared[static_cast<std::size_t>(b)].weight;
  });
  std::array<bool, 8> decided{};
  for (int k = 0; k < count; ++k) {
    const int i = order[static_cast<std::size_t>(k)];
    if (decided[static_cast<std::size_t>(i)]) continue;
    const uint8_t bone = shared[static_cast<std::size_t>(i)].bone;
    int mate = -1;
    for (int j = 0; j < count; ++j) {
      if (j != i && shared[static_cast<std::size_t>(j)].bone == partner[bone]) mate = j;
    }
    decided[static_cast<std::size_t>(i)] = true;
    if (mate >= 0) decided[static_cast<std::size_t>(mate)] = true;
    const int size = mate >= 0 ? 2 : 1;
    if (out.count + size > 4) continue;
    out.add(bone, shared[static_cast<std::size_t>(i)].weight);
    if (mate >= 0)
      out.add(shared[static_cast<std::size_t>(mate)].bone, shared[static_cast<std::size_t>(mate)].weight);
  }
  ScaleBoneWeights(out, set.sum());
  return out;
}
}  // namespace

std::array<uint8_t, 256> BonePartnerTable(const Skeleton& skeleton) {
  PartnerTable partner{};
  for (std::size_t b = 0; b < partner.size(); ++b) partner[b] = static_cast<uint8_t>(b);
  const int32_t bones = std::min<int32_t>(skeleton.boneCount(), 256);
  for (int32_t b = 1; b < bones; ++b) {
    const int32_t s = skeleton.bones[static_cast<std::size_t>(b)].symmetricId;
    if (s >= 1 && s < bones) partner[static_cast<std::size_t>(b)] = static_cast<uint8_t>(s);
  }
  return partner;
}

WeightToolResult MirrorVertexWeights(const WeightToolInput& input, MirrorDirection direction,
                                     float relativeTolerance, unsigned threads) {
  WeightToolResult result;
  result.status = CheckWeightToolInput(input);
  if (!result.status) return result;
  if (!(relativeTolerance >= 0.0f) || !std::isfinite(relativeTolerance)) {
    result.status =
        Status::Error(std::string(kWeightToolBadParameter), "the mirror tolerance must be 0 or more");
    return result;
  }
  const PartnerTable partner = BonePartnerTable(*input.skeleton);
  bool anyPartner = false;
  for (std::size_t b = 1; b < partner.size(); ++b) anyPartner = anyPartner || partner[b] != b;
  if (!anyPartner) {
    result.status = Status::Error(std::string(kWeightToolNoPartners));
    return result;
  }

  const std::span<const SkinVertex> vertices = input.vertices;
  const float tolerance = relativeTolerance * BoundingBoxDiagonal(vertices);
  const std::vector<uint32_t> mirror = FindMirrorVertices(vertices, tolerance, threads);
  const ToolScope scope(input.selected, vertices.size());
  result.verticesInScope = scope.size();
  // The receiving side's sign of x.
  const bool receiverIsNegative = direction == MirrorDirection::LeftToRight;

  result.changes.reserve(scope.size());  // pages never written cost nothing
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const uint32_t m = mirror[v];
    const VertexWeights old = WeightsOf(vertices[v]);
    if (m == v) {
      if (!scope.contains(v)) continue;
      const BoneWeightSet set = ReadBoneWeights(old);
      if (set.count == 0) continue;
      const VertexWeights stored = StoreBoneWeights(old, SymmetricWeights(set, partner));
      if (!stored.sameBits(old)) result.changes.push_back({static_cast<uint32_t>(v), stored});
      continue;
    }
    const bool involved = scope.contains(v) || (m != kNoMirrorVertex && scope.contains(m));
    if (!involved) continue;
    if (m == kNoMirrorVertex) {
      ++result.verticesWithoutPartner;
      continue;
    }
    if ((vertices[v].position.x < 0.0f) != receiverIsNegative) continue;
    const VertexWeights stored = MirroredWeights(WeightsOf(vertices[m]), partner);
    if (!stored.sameBits(old)) result.changes.push_back({static_cast<uint32_t>(v), stored});
  }
  return result;
}
}  // namespace posewright
