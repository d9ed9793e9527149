// The largest mesh the editor holds: vertex numbers and face counts are 16-bit.
#pragma once

#include <cstdint>

namespace posewright {

/// Most vertices, and most faces, one mesh may have.
inline constexpr uint32_t kMaxMeshElements = 65535;
}  // namespace posewright
