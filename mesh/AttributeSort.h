// Grouping of faces by material: the stable attribute sort and the attribute
// table that describes the resulting subsets.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/Material.h"

namespace posewright {

/// Reorders the faces (three indices and one attribute each) so that equal
/// attributes are contiguous in ascending order, keeping the file order of
/// faces within an attribute. Vertices are not moved.
void SortFacesByAttribute(std::vector<uint16_t>& indices, std::vector<uint32_t>& attributes);

/// One range per run of equal attributes, in face order (after the sort: one
/// per attribute in use, ascending). VertexStart and VertexCount span the
/// lowest to the highest vertex index the range's faces use.
std::vector<D3DXATTRIBUTERANGE> BuildAttributeTable(const std::vector<uint16_t>& indices,
                                                    const std::vector<uint32_t>& attributes);
}  // namespace posewright
