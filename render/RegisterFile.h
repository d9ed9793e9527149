// A CPU copy of the skinning program's constant registers, as the scene
// drawing writes them and as the CPU vertex processor reads them.
#pragma once

#include <array>
#include <cstdint>

#include "math/Matrix.h"
#include "math/Vector4.h"
#include "render/ShaderConstants.h"

namespace posewright {

struct RegisterFile {
  std::array<D3DXVECTOR4, kRegisterCount> reg{};

  const D3DXVECTOR4& operator[](uint32_t r) const { return reg[r]; }
  D3DXVECTOR4& operator[](uint32_t r) { return reg[r]; }

  /// Writes count registers from data starting at first; registers past the
  /// end of the file are ignored.
  void set(uint32_t first, const D3DXVECTOR4* data, uint32_t count);
  /// Writes the transpose of m into first .. first + 3.
  void setMatrix(uint32_t first, const D3DXMATRIX& m);
  /// Reads first .. first + 3 back as the (untransposed) row-vector matrix.
  D3DXMATRIX matrix(uint32_t first) const;
};

/// The four registers holding the transpose of m.
std::array<D3DXVECTOR4, 4> TransposedRows(const D3DXMATRIX& m);
}  // namespace posewright
