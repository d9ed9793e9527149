// Mirror of the weights across the plane x = 0: each vertex on one side takes
// the weights of the vertex at its mirror position on the other, with every
// bone replaced by its symmetric partner (the Bone panel's Symmetric Bone ID).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "weighttools/WeightTool.h"

namespace posewright {

/// The refusal when no bone names a partner other than itself.
inline constexpr std::string_view kWeightToolNoPartners =
    "No bone has a symmetric partner: set Symmetric Bone IDs in the Bone panel or read blending parameters.";

/// The mirror position tolerance, relative to the model's bounding box diagonal.
inline constexpr float kMirrorRelativeTolerance = 1e-4f;

/// The character's left is +X (it faces −Z): left to right copies the
/// weights of the vertices at x > 0 onto those at x < 0.
enum class MirrorDirection { LeftToRight, RightToLeft };

/// The partner of every bone index: the bone's symmetricId when that names
/// another bone than the root, otherwise the bone itself. Indices without a
/// bone, and 0 (an empty slot), map to themselves.
std::array<uint8_t, 256> BonePartnerTable(const Skeleton& skeleton);

/// Mirrors the weights in direction. A vertex off the plane (|x| above the
/// tolerance, relativeTolerance × the bounding box diagonal) on the receiving
/// side is written when it or its mirror vertex is in scope: its slots become
/// the mirror vertex's with each bone replaced by its partner, the weights
/// copied as stored, so w(m(v), partner(b)) = w(v, b) exactly. A vertex on the
/// plane in scope is its own mirror: each weight is shared equally between the
/// bone and its partner (when that leaves more than four bones, the strongest
/// pairs that fit are kept and scaled to the vertex's previous sum).
/// verticesWithoutPartner counts the vertices off the plane, in scope or
/// receiving from it, with no vertex at their mirror position; they keep
/// their weights. Refuses, changing nothing, without a skeleton, without
/// vertices, or when no bone has a partner.
WeightToolResult MirrorVertexWeights(const WeightToolInput& input, MirrorDirection direction,
                                     float relativeTolerance = kMirrorRelativeTolerance,
                                     unsigned threads = 0);
}  // namespace posewright
