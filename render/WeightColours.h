// The colours of the weight view: each vertex shows how much one bone moves
// it, blue at weight 0 through green at 0.5 to red at 1, and dark blue where
// none of its four slots names the bone. The skinning program's weight
// variant (resources/skinning.vert, WEIGHT_VIEW) computes the same colours.
#pragma once

#include <cstdint>

#include "math/Vector4.h"

namespace posewright {

/// The colour of a vertex none of whose slots names the bone.
inline constexpr D3DXVECTOR4 kUnboundWeightColour{0.0f, 0.0f, 0.35f, 1.0f};

/// The ramp: weight clamped to 0..1 (NaN counts as 0); blue (0, 0, 1) at 0,
/// green (0, 1, 0) at 0.5, red (1, 0, 0) at 1, linear in between; alpha 1.
D3DXVECTOR4 WeightRampColour(float weight);

/// The colour of a vertex for the bone at register offset boneOffset (4 ×
/// bone): the sum of the weights of the slots whose offset is boneOffset
/// through the ramp, or kUnboundWeightColour when no slot has it. offsets and
/// weights are the four slots as the skinning program reads them (slot 3's
/// weight implied).
D3DXVECTOR4 BoneWeightColour(const uint32_t offsets[4], const float weights[4], uint32_t boneOffset);
}  // namespace posewright
