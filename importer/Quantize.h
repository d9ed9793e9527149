// Rounding of generated numbers to exactly what a reader of the written text
// gets back, so that a generated model in memory equals the model read from its
// files. Negative zero becomes +0 so that files never show "-0.000000".
#pragma once

#include "math/Quaternion.h"
#include "math/Vector3.h"

namespace posewright {

/// The float a reader obtains from v printed with "%.6f". Idempotent for
/// |v| < 16 (where half a float step is below half a unit of the sixth decimal).
float Quantize6(float v);

/// The float a reader obtains from v printed with "%.4f".
float Quantize4(float v);

/// Quantize6 on every component.
D3DXVECTOR3 Quantize6(const D3DXVECTOR3& v);

/// Quantize4 on every component (the precision of keyframe files).
D3DXQUATERNION Quantize4(const D3DXQUATERNION& q);

/// Quantize6 on every component (the precision of bone data files).
D3DXQUATERNION Quantize6(const D3DXQUATERNION& q);
}  // namespace posewright
