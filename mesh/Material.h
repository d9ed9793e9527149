// Surface description of one mesh subset, in the Direct3D 8 record layout, and
// the attribute ranges that group faces by material.
#pragma once

#include <cstdint>
#include <string>

namespace posewright {

struct D3DCOLORVALUE {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;
  friend bool operator==(const D3DCOLORVALUE&, const D3DCOLORVALUE&) = default;
};

struct D3DMATERIAL8 {
  D3DCOLORVALUE Diffuse;
  D3DCOLORVALUE Ambient;
  D3DCOLORVALUE Specular;
  D3DCOLORVALUE Emissive;
  float Power = 0.0f;
  friend bool operator==(const D3DMATERIAL8&, const D3DMATERIAL8&) = default;
};

/// A material as loaded: its colours and the texture file name exactly as the
/// file spells it (empty when there is none).
struct D3DXMATERIAL {
  D3DMATERIAL8 MatD3D;
  std::string textureFilename;
};

/// One subset after the faces were sorted by material: faces FaceStart ..
/// FaceStart+FaceCount−1 use material AttribId and vertices VertexStart ..
/// VertexStart+VertexCount−1.
struct D3DXATTRIBUTERANGE {
  uint32_t AttribId = 0;
  uint32_t FaceStart = 0;
  uint32_t FaceCount = 0;
  uint32_t VertexStart = 0;
  uint32_t VertexCount = 0;
  friend bool operator==(const D3DXATTRIBUTERANGE&, const D3DXATTRIBUTERANGE&) = default;
};
}  // namespace posewright
