#include "render/VertexProcessor.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "render/WeightColours.h"

namespace posewright {

namespace {
inline float Dot4(const D3DXVECTOR4& a, const D3DXVECTOR4& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

inline float Dot3(float x, float y, float z, const D3DXVECTOR4& b) {
  return x * b.x + y * b.y + z * b.z;
}

struct Blend {
  uint32_t offsets[4];
  float weights[4];
};

inline Blend BlendOf(const SkinVertex& vertex, const RegisterFile& c) {
  Blend b;
  PaletteOffsets(vertex.boneIndices, c[kRegConstants].w, b.offsets);
  b.weights[0] = vertex.blendWeights[0];
  b.weights[1] = vertex.blendWeights[1];
  b.weights[2] = vertex.blendWeights[2];
  b.weights[3] =
      c[kRegConstants].x - (vertex.blendWeights[0] + vertex.blendWeights[1] + vertex.blendWeights[2]);
  return b;
}

// Row r (0..2) of palette entry at offset o; offsets past the file read zeros
// (cannot happen with c0.w = 1020.01, which tops out at register 1030).
inline const D3DXVECTOR4& PaletteRow(const RegisterFile& c, uint32_t offset, uint32_t row) {
  static const D3DXVECTOR4 kZero{};
  const uint32_t r = kRegPalette + offset + row;
  return r < kRegisterCount ? c[r] : kZero;
}

inline D3DXVECTOR4 BlendedPosition(const SkinVertex& vertex, const Blend& b, const RegisterFile& c) {
  const D3DXVECTOR4 v0(vertex.position.x, vertex.position.y, vertex.position.z, 1.0f);
  float px = 0.0f;
  float py = 0.0f;
  float pz = 0.0f;
  for (int k = 0; k < 4; ++k) {
    const float w = b.weights[k];
    px += w * Dot4(v0, PaletteRow(c, b.offsets[k], 0));
    py += w * Dot4(v0, PaletteRow(c, b.offsets[k], 1));
    pz += w * Dot4(v0, PaletteRow(c, b.offsets[k], 2));
  }
  const D3DXVECTOR4 p(px, py, pz, 1.0f);
  return D3DXVECTOR4(Dot4(p, c[kRegViewProjection]), Dot4(p, c[kRegViewProjection + 1]),
                     Dot4(p, c[kRegViewProjection + 2]), Dot4(p, c[kRegViewProjection + 3]));
}
}  // namespace

void PaletteOffsets(uint32_t boneIndices, float indexScale, uint32_t offsets[4]) {
  for (int k = 0; k < 4; ++k) {
    const float channel = static_cast<float>((boneIndices >> (8 * k)) & 0xFFu) / 255.0f;
    const float scaled = std::floor(channel * indexScale);
    offsets[k] = scaled > 0.0f ? static_cast<uint32_t>(scaled) : 0u;
  }
}

D3DXVECTOR4 ProcessPosition(const SkinVertex& vertex, const RegisterFile& registers) {
  return BlendedPosition(vertex, BlendOf(vertex, registers), registers);
}

ProcessedVertex ProcessVertex(const SkinVertex& vertex, const RegisterFile& c, VertexColouring colouring) {
  const Blend b = BlendOf(vertex, c);
  ProcessedVertex out;
  out.clip = BlendedPosition(vertex, b, c);
  out.pointSize = vertex.pointSize;
  out.u = vertex.u;
  out.v = vertex.v;
  if (colouring == VertexColouring::BoneWeight) {
    const uint32_t bone = static_cast<uint32_t>(std::clamp(c[kRegWeightBone].x, 0.0f, 255.0f));
    out.color = BoneWeightColour(b.offsets, b.weights, 4 * bone);
    return out;
  }

  float nx = 0.0f;
  float ny = 0.0f;
  float nz = 0.0f;
  const D3DXVECTOR3& n = vertex.normal;
  for (int k = 0; k < 4; ++k) {
    const float w = b.weights[k];
    nx += w * Dot3(n.x, n.y, n.z, PaletteRow(c, b.offsets[k], 0));
    ny += w * Dot3(n.x, n.y, n.z, PaletteRow(c, b.offsets[k], 1));
    nz += w * Dot3(n.x, n.y, n.z, PaletteRow(c, b.offsets[k], 2));
  }
  const float lengthSquared = nx * nx + ny * ny + nz * nz;
  float d = c[kRegConstants].z;
  if (lengthSquared > FLT_MIN) {
    const float s = 1.0f / std::sqrt(lengthSquared);
    const D3DXVECTOR4& light = c[kRegLightDirection];
    const float lit = (nx * s) * -light.x + (ny * s) * -light.y + (nz * s) * -light.z;
    d = std::max(lit, c[kRegConstants].z);
  }
  const D3DXVECTOR4& diffuse = c[kRegDiffuse];
  const D3DXVECTOR4& ambient = c[kRegAmbient];
  auto channel = [&](float dc, float ac) { return std::clamp(d * dc + ac, 0.0f, c[kRegConstants].x); };
  out.color.x = channel(diffuse.x, ambient.x);
  out.color.y = channel(diffuse.y, ambient.y);
  out.color.z = channel(diffuse.z, ambient.z);
  out.color.w = out.color.z;
  return out;
}

ScreenPosition ClipToScreen(const D3DXVECTOR4& clip, int width, int height) {
  const float halfWidth = static_cast<float>(width) * 0.5f;
  const float halfHeight = static_cast<float>(height) * 0.5f;
  ScreenPosition s;
  s.rhw = 1.0f / clip.w;
  s.x = (clip.x * s.rhw) * halfWidth + halfWidth;
  s.y = halfHeight - (clip.y * s.rhw) * halfHeight;
  s.z = clip.z * s.rhw;
  return s;
}

void ProcessVertexPositions(std::span<const SkinVertex> vertices, const RegisterFile& registers, int width,
                            int height, std::span<ScreenPosition> out) {
  const std::size_t n = std::min(vertices.size(), out.size());
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = ClipToScreen(ProcessPosition(vertices[i], registers), width, height);
  }
}
}  // namespace posewright
