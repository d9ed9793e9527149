// Which anchors hold a point, by half-spaces: the box test, then the point
// must lie on the inner side of every face's plane (within a tolerance). The
// generators check the convex volumes they build with it; for convex anchors
// it is exact.
#pragma once

#include <vector>

#include "mesh/SourceMesh.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// True when p is inside the anchor's box and no farther than tolerance in
/// front of any face plane (through the face's first vertex, along its normal).
bool AnchorHoldsPoint(const BoneAnchor& anchor, const D3DXVECTOR3& p, double tolerance);

/// For every vertex, the number of bones 1 .. B−1 whose anchor holds it.
std::vector<int> CountHoldingAnchors(const Skeleton& skeleton, const std::vector<MeshVertex>& vertices,
                                     double tolerance);
}  // namespace posewright
