// Fitting an anchor around the points a bone should influence.
#pragma once

#include <vector>

#include "importer/BoneFrame.h"
#include "skeleton/BoneAnchor.h"

namespace posewright {

/// The capsule (elliptic prism with pointed caps, `sides` around, 4·sides
/// faces) along the frame's axis that holds every point with a margin: its
/// rings sit margin beyond the points' extreme axial positions and its
/// cross-section holds the points' cross-section offsets with margin to spare.
/// points must not be empty.
BoneAnchor FitCapsuleAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides,
                            float margin);

/// The prism (pointed caps, `sides` around, 4·sides faces) along the frame's
/// axis that holds every point as tightly as `sides` planes around the axis
/// can: each side plane touches the outermost point in its direction and is
/// then moved margin outwards; the rings sit margin beyond the points' extreme
/// axial positions and the cap apexes beyond them by a quarter of the
/// cross-section's smallest half-width, or a tenth of its largest, whichever
/// is more. points must not be empty; margin > 0.
BoneAnchor FitPrismAnchor(const BoneFrame& frame, const std::vector<D3DXVECTOR3>& points, int sides,
                          float margin);
}  // namespace posewright
