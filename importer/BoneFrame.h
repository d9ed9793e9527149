// Rotations and frames around a bone's direction.
#pragma once

#include "math/Quaternion.h"
#include "math/Vector3.h"

namespace posewright {

/// The shortest rotation that turns direction from onto direction to (neither
/// needs to be unit length; both must be non-zero). Opposite directions turn
/// by half a turn about an axis perpendicular to from.
D3DXQUATERNION RotationTurning(const D3DXVECTOR3& from, const D3DXVECTOR3& to);

/// The rest rotation of a bone running along direction: turns +Z onto it.
D3DXQUATERNION RestRotationFor(const D3DXVECTOR3& direction);

/// An orthonormal frame around a bone: axis along the bone, u and v across it.
/// u is chosen perpendicular to the model's Z axis (so faces of a polygon
/// around the axis are not parallel to Z unless the axis is), v = u × axis.
struct BoneFrame {
  D3DXVECTOR3 origin;
  D3DXVECTOR3 axis;
  D3DXVECTOR3 u;
  D3DXVECTOR3 v;

  /// origin + s·axis + a·u + b·v.
  D3DXVECTOR3 at(float s, float a, float b) const { return origin + axis * s + u * a + v * b; }
};

/// The frame of the segment from begin to end (which must differ).
BoneFrame MakeBoneFrame(const D3DXVECTOR3& begin, const D3DXVECTOR3& end);

/// Rotation by angle radians about axis (normalised first).
D3DXQUATERNION AxisRotation(const D3DXVECTOR3& axis, float angle);
}  // namespace posewright
