// Layout of the skinning program's constant registers. Every register holds
// four floats; matrices are stored transposed, so register first + j holds
// column j of a row-vector matrix.
#pragma once

#include <cstdint>

#include "math/Vector4.h"

namespace posewright {

/// c0: x the constant 1, y unused (0.35), z the constant 0 (floor of the
/// diffuse factor), w the scale that turns an index byte read as a colour
/// channel (byte / 255) into the register offset 4 × byte.
inline constexpr uint32_t kRegConstants = 0;
/// c1..c4: transpose of view × projection.
inline constexpr uint32_t kRegViewProjection = 1;
/// c5: light direction in x, y, z (w is not read).
inline constexpr uint32_t kRegLightDirection = 5;
/// c6: x the bone the weight variant of the program colours the vertices by
/// (a whole number; the lit program does not read it).
inline constexpr uint32_t kRegWeightBone = 6;
/// c8: diffuse colour of the object being drawn.
inline constexpr uint32_t kRegDiffuse = 8;
/// c9: ambient colour of the object being drawn.
inline constexpr uint32_t kRegAmbient = 9;
/// c10 + 4k .. c13 + 4k: transposed skinning matrix of palette entry k.
inline constexpr uint32_t kRegPalette = 10;
/// Palette entries: one per possible index byte.
inline constexpr uint32_t kPaletteEntries = 256;
/// Registers c0 .. c(9 + 4 × 256).
inline constexpr uint32_t kRegisterCount = kRegPalette + 4 * kPaletteEntries;

/// The value of c0.
inline constexpr D3DXVECTOR4 kShaderConstants{1.0f, 0.35f, 0.0f, 1020.01f};

/// First register of palette entry k.
constexpr uint32_t PaletteRegister(uint32_t entry) {
  return kRegPalette + 4 * entry;
}
}  // namespace posewright
