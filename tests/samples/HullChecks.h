// Independent geometry checks of anchor volumes: every plane is recomputed
// from the face's vertices in double precision, the stored normals are only
// compared with them.
#pragma once

#include <string>

#include "skeleton/BoneAnchor.h"

namespace posewright {

/// Empty when the anchor is a closed triangle volume with at least 4 faces
/// (every edge used once in each direction), convex (no vertex in front of any
/// face plane), with unit stored normals that point out of it, positive
/// volume, and a BorderBox equal to the bounds of its vertices; otherwise the
/// first problem found.
std::string AnchorShapeProblem(const BoneAnchor& anchor);

/// Largest signed distance of p in front of a face plane (≤ 0 inside).
double HullExcess(const BoneAnchor& anchor, const D3DXVECTOR3& p);

/// p inside or within tolerance of the convex volume.
bool HullHolds(const BoneAnchor& anchor, const D3DXVECTOR3& p, double tolerance);
}  // namespace posewright
