// Row-major 4×4 single-precision matrix for row vectors (v' = v × M), with the
// translation in the fourth row, and the D3DX-named constructors and products.
#pragma once

#include "math/Quaternion.h"
#include "math/Vector3.h"

namespace posewright {

struct D3DXMATRIX {
  float _11 = 0, _12 = 0, _13 = 0, _14 = 0;
  float _21 = 0, _22 = 0, _23 = 0, _24 = 0;
  float _31 = 0, _32 = 0, _33 = 0, _34 = 0;
  float _41 = 0, _42 = 0, _43 = 0, _44 = 0;

  /// Element (row, col), both 0-based.
  float& m(int row, int col) { return (&_11)[row * 4 + col]; }
  float m(int row, int col) const { return (&_11)[row * 4 + col]; }
  friend bool operator==(const D3DXMATRIX&, const D3DXMATRIX&) = default;
};
static_assert(sizeof(D3DXMATRIX) == 64);

/// The identity matrix.
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);

/// A × B: A applied first, then B.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);

/// The transpose of M.
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);

/// General inverse by cofactors. The determinant is stored through det when it is
/// not null. Returns null, leaving out untouched, when the determinant is exactly 0.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* det, const D3DXMATRIX* m);

/// Diagonal (sx, sy, sz, 1).
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);

/// Identity with the translation row (x, y, z).
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);

/// Rotation about +X by angle radians (left-handed).
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);

/// Rotation about +Y by angle radians (left-handed).
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);

/// Rotation matrix of q, without normalising q first.
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);

/// Left-handed perspective projection of a w × h view at the near plane.
D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, float w, float h, float zn, float zf);

/// Left-handed orthographic projection of a w × h view, depth zn..zf to 0..1.
D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, float w, float h, float zn, float zf);
}  // namespace posewright
