// The editor's space and glTF's: the editor is left-handed with row vectors,
// glTF right-handed with column vectors, both +Y up and in the same units.
// Negating Z maps one onto the other without mirroring the picture: a point,
// direction or rotation keeps its place on screen. The editor's front faces are
// clockwise on screen and stay so, while glTF's are counter-clockwise, so each
// triangle's corner order is reversed.
#pragma once

#include <array>
#include <cstdint>

#include "math/Quaternion.h"
#include "math/Vector3.h"

namespace posewright {

namespace gltf {

/// A rotation as glTF stores it: x, y, z, then the scalar w; unit length.
/// Double precision while the export composes rotations.
struct Rotation {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double w = 1.0;
};

struct Point {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

/// (x, y, z) → (x, y, −z), for positions, normals and translations.
Point ToGltfPoint(const D3DXVECTOR3& v);

/// The same rotation in glTF's axes: (x, y, z, w) → (−x, −y, z, w). The
/// editor's quaternion turns points as the standard (Hamilton) formula does,
/// so only the reflection of Z is left to undo. Not normalised.
Rotation ToGltfRotation(const D3DXQUATERNION& q);

/// q / |q|; the identity when q has no usable length (zero, or not finite).
Rotation Normalized(const Rotation& q);

/// The Hamilton product a·b: b applied first, then a.
Rotation Compose(const Rotation& a, const Rotation& b);

/// The inverse of a unit rotation (its conjugate).
Rotation Inverse(const Rotation& q);

/// q applied to p.
Point Rotate(const Rotation& q, const Point& p);

/// A triangle's corners a, b, c in glTF's order: a, c, b.
inline std::array<uint32_t, 3> ToGltfWinding(uint32_t a, uint32_t b, uint32_t c) {
  return {a, c, b};
}

}  // namespace gltf
}  // namespace posewright
