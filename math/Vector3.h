// Three-component single-precision vector with the D3DX memory layout (x, y, z)
// and the D3DX-named operations the editor uses.
#pragma once

namespace posewright {

struct D3DXVECTOR3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr D3DXVECTOR3() = default;
  constexpr D3DXVECTOR3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

  D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  D3DXVECTOR3& operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  friend D3DXVECTOR3 operator+(D3DXVECTOR3 a, const D3DXVECTOR3& b) { return a += b; }
  friend D3DXVECTOR3 operator-(D3DXVECTOR3 a, const D3DXVECTOR3& b) { return a -= b; }
  friend D3DXVECTOR3 operator*(D3DXVECTOR3 a, float s) { return a *= s; }
  friend D3DXVECTOR3 operator*(float s, D3DXVECTOR3 a) { return a *= s; }
  friend D3DXVECTOR3 operator-(const D3DXVECTOR3& a) { return {-a.x, -a.y, -a.z}; }
  friend bool operator==(const D3DXVECTOR3&, const D3DXVECTOR3&) = default;
};
static_assert(sizeof(D3DXVECTOR3) == 12);

struct D3DXMATRIX;

/// Dot product of two vectors.
inline float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z;
}

/// Cross product a × b (left-handed convention is only a matter of interpretation).
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);

/// Euclidean length, computed in single precision.
float D3DXVec3Length(const D3DXVECTOR3* v);

/// v / |v|. A vector whose squared length is not above the smallest normal float
/// (1.1754944e-38) yields (0, 0, 0) instead of dividing by (almost) zero.
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);

/// (x, y, z, 1) × M, then x, y, z divided by the resulting w; no division when
/// w is exactly 1.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

/// (x, y, z, 0) × M: a direction, ignoring the translation row.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
}  // namespace posewright
