// Fitting a capsule anchor around the points a bone should influence.
#pragma once

#include <vector>

#include "skeleton/BoneAnchor.h"
#include "tools/gen/BoneFrame.h"

/// The capsule (elliptic prism with pointed caps, `sides` around, 4·sides
/// faces) along the frame's axis that holds every point with a margin: its
/// rings sit margin beyond the points' extreme axial positions and its
/// cross-section holds the points' cross-section offsets with margin to spare.
/// points must not be empty.
BoneAnchor FitCapsuleAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides, float margin);
