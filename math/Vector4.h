// Four-component single-precision vector (x, y, z, w), as held by shader registers.
#pragma once

namespace posewright {

struct D3DXMATRIX;
struct D3DXVECTOR3;

struct D3DXVECTOR4 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;

  constexpr D3DXVECTOR4() = default;
  constexpr D3DXVECTOR4(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}
  friend bool operator==(const D3DXVECTOR4&, const D3DXVECTOR4&) = default;
};
static_assert(sizeof(D3DXVECTOR4) == 16);

/// (x, y, z, 1) × M with no division: the homogeneous result.
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

/// v × M for a four-component row vector.
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m);
}  // namespace posewright
