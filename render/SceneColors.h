// The fixed colours of the viewport picture (r, g, b, a in 0..1; the diffuse
// and ambient registers receive the same value unless a material is drawn).
#pragma once

#include <cstdint>

#include "math/Vector4.h"

namespace posewright {

/// Back-buffer clear colour, 0xAARRGGBB.
inline constexpr uint32_t kClearColor = 0xFF1E3C5A;
inline constexpr D3DXVECTOR4 kWireframeMeshColor{229.0f / 255.0f, 127.0f / 255.0f, 178.0f / 255.0f, 0.0f};
inline constexpr D3DXVECTOR4 kSelectedPointColor{1.0f, 0.0f, 0.0f, 0.0f};
inline constexpr D3DXVECTOR4 kUnselectedPointColor{0.0f, 0.0f, 1.0f, 0.0f};
inline constexpr D3DXVECTOR4 kSelectedBoneColor{1.0f, 1.0f, 0.0f, 0.0f};
inline constexpr D3DXVECTOR4 kBoneColor{1.0f, 1.0f, 1.0f, 0.0f};
inline constexpr D3DXVECTOR4 kGridColor{111.0f / 255.0f, 111.0f / 255.0f, 127.0f / 255.0f, 0.0f};
inline constexpr D3DXVECTOR4 kAxisColors[3] = {
    {1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f}};
/// Vertex colour of the rubber band, 0xAARRGGBB.
inline constexpr uint32_t kDragRectColor = 0xFFFFFFFF;
}  // namespace posewright
