// Selecting vertices by the bones they are bound to, and writing hand-set bone
// indices and weights into the selected vertices.
#pragma once

#include <array>
#include <cstdint>

namespace posewright {

struct SkinVertex;
struct SkinnedModel;

/// Four bone indices in slot order; 0 is an empty slot.
using BoneIndexQuad = std::array<uint8_t, 4>;
/// Four weights in slot order; slot 3's is implied by the other three when stored.
using WeightQuad = std::array<float, 4>;

/// True when the vertex's four slot indices hold the same values as indices,
/// in any slot order: their sums are equal and every entry of indices occurs
/// among the vertex's slots. Index 0 takes part like any other value, so
/// (3, 0, 0, 0) matches a vertex (0, 3, 0, 0) but not (1, 2, 0, 0).
bool MatchesBones(const SkinVertex& vertex, const BoneIndexQuad& indices);

/// Selects exactly the vertices that match indices and rebuilds the point list.
void SelectByBones(SkinnedModel& model, const BoneIndexQuad& indices);

/// Keeps selected only the selected vertices that match indices and rebuilds
/// the point list.
void ChooseByBones(SkinnedModel& model, const BoneIndexQuad& indices);

/// Writes indices (packed, slot 0 in the low byte) and weights[0..2] into every
/// selected vertex of the skinned mesh, and into its copy in the point
/// vertices so the drawn points follow the skin under a pose. Does not
/// normalise or check the values; unselected vertices are untouched.
void SetSelectedWeights(SkinnedModel& model, const BoneIndexQuad& indices, const WeightQuad& weights);
}  // namespace posewright
