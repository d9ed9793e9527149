// The skinning program's position computation, on the CPU.
#pragma once

#include <span>

#include "math/Matrix.h"
#include "mesh/SkinVertex.h"

namespace posewright {

/// Where the skinning program puts vertex v, in model space, with palette
/// entry k holding skinMatrices[k]: the sum over the four slots of weight ×
/// (position, 1) × skinMatrices[bone index of the slot], with the fourth weight
/// 1 − (w0 + w1 + w2). Every slot counts, empty ones (index 0) included. An
/// index beyond skinMatrices reads a zero palette entry.
D3DXVECTOR3 SkinnedPosition(const SkinVertex& v, std::span<const D3DXMATRIX> skinMatrices);
}  // namespace posewright
