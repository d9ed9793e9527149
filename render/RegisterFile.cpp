#include "render/RegisterFile.h"

namespace posewright {

void RegisterFile::set(uint32_t first, const D3DXVECTOR4* data, uint32_t count) {
  for (uint32_t i = 0; i < count && first + i < kRegisterCount; ++i) {
    reg[first + i] = data[i];
  }
}

void RegisterFile::setMatrix(uint32_t first, const D3DXMATRIX& m) {
  const std::array<D3DXVECTOR4, 4> rows = TransposedRows(m);
  set(first, rows.data(), 4);
}

D3DXMATRIX RegisterFile::matrix(uint32_t first) const {
  D3DXMATRIX m;
  for (int j = 0; j < 4; ++j) {
    const D3DXVECTOR4& r = reg[first + static_cast<uint32_t>(j)];
    m.m(0, j) = r.x;
    m.m(1, j) = r.y;
    m.m(2, j) = r.z;
    m.m(3, j) = r.w;
  }
  return m;
}

std::array<D3DXVECTOR4, 4> TransposedRows(const D3DXMATRIX& m) {
  std::array<D3DXVECTOR4, 4> rows;
  for (int j = 0; j < 4; ++j) {
    rows[static_cast<std::size_t>(j)] = D3DXVECTOR4(m.m(0, j), m.m(1, j), m.m(2, j), m.m(3, j));
  }
  return rows;
}
}  // namespace posewright
