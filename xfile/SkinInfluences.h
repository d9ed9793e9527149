// Bones and blend weights of a skinned .x file, turned into the four
// influence slots of SkinVertex.
//
// Bone numbering: the k-th distinct transformNodeName among the file's
// SkinWeights objects (meshes in file order, SkinWeights in file order,
// k = 0, 1, …) is bone k + 1. Bone 0 is the skeleton's root, which never
// carries a SkinWeights object and whose number marks an empty slot. For a
// file of one mesh whose SkinWeights name each bone once (what the editor's
// export writes: one SkinWeights per bone 1 … n−1 in bone order) the bone of
// the k-th SkinWeights object is therefore bone k + 1 of the skeleton it was
// exported from.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "mesh/SkinVertex.h"
#include "xfile/XFileDocument.h"
#include "xfile/XFileMeshBuilder.h"

namespace posewright {

/// Most bones an index byte can address besides the root.
inline constexpr std::size_t kMaxSkinBones = 255;

/// The distinct SkinWeights bone names of doc in first-appearance order; the
/// name at position k is bone k + 1.
std::vector<std::string> SkinBoneNames(const XFileDocument& doc);

/// Up to four influences of one vertex: slots 0 … count−1 hold the strongest
/// bones (heaviest first; equal weights in bone order) with weights that sum
/// to 1; the other slots hold bone 0 with weight 0.
struct VertexInfluences {
  uint8_t bones[4] = {0, 0, 0, 0};
  float weights[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  int count = 0;
};

/// The influences of every built vertex (origins from XBuiltMesh), bone
/// numbers as SkinBoneNames gives them (at most kMaxSkinBones names). Weights
/// of one bone on one vertex add up; weights that are not positive (or NaN)
/// are dropped. A vertex no SkinWeights names gets no influence.
std::vector<VertexInfluences> ComputeVertexInfluences(const XFileDocument& doc,
                                                      const std::vector<XVertexOrigin>& origins);

/// The four heaviest of a vertex's bones (distinct bone numbers, at most 255,
/// with positive weights, in increasing bone order; reordered by the call),
/// heaviest first with ties in bone order, their weights divided by their sum.
/// No influence when that sum is not a positive finite number.
VertexInfluences StrongestInfluences(std::vector<std::pair<uint32_t, float>>& bones);

/// Stores influences in a vertex: bone index slots, and the weights of slots
/// 0 … 2 (slot 3's weight is implied as 1 − their sum).
void StoreInfluences(const VertexInfluences& influences, SkinVertex& vertex);
}  // namespace posewright
