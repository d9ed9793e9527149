#include "math/Vector4.h"

#include "math/Matrix.h"

namespace posewright {

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + v->w * m->_41,
                      v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + v->w * m->_42,
                      v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + v->w * m->_43,
                      v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + v->w * m->_44);
  *out = r;
  return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 p(v->x, v->y, v->z, 1.0f);
  return D3DXVec4Transform(out, &p, m);
}
}  // namespace posewright
