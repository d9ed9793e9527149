// The bound vertex: 52 bytes, the layout the skinning program reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "math/Vector3.h"

namespace posewright {

struct SkinVertex {
  /// Model-space position.
  D3DXVECTOR3 position;
  /// Weights of slots 0, 1, 2; slot 3 weighs 1 − (w0 + w1 + w2).
  float blendWeights[3] = {0.0f, 0.0f, 0.0f};
  /// Four one-byte bone indices: bits 0–7 slot 0 … bits 24–31 slot 3; 0 is an empty slot.
  uint32_t boneIndices = 0;
  D3DXVECTOR3 normal;
  /// Size when drawn as a point; always 10.
  float pointSize = 10.0f;
  float u = 0.0f;
  float v = 0.0f;

  /// Bone index of slot k (0..3).
  uint8_t boneIndex(int slot) const { return static_cast<uint8_t>(boneIndices >> (8 * slot)); }
  /// Sets the bone index of slot k (0..3).
  void setBoneIndex(int slot, uint8_t bone) {
    const uint32_t shift = 8u * static_cast<uint32_t>(slot);
    boneIndices = (boneIndices & ~(0xFFu << shift)) | (static_cast<uint32_t>(bone) << shift);
  }
  /// The implicit weight of slot 3.
  float lastWeight() const { return 1.0f - (blendWeights[0] + blendWeights[1] + blendWeights[2]); }
};

static_assert(sizeof(SkinVertex) == 52, "SkinVertex must match the 52-byte vertex format");
static_assert(offsetof(SkinVertex, boneIndices) == 24);
static_assert(offsetof(SkinVertex, normal) == 28);
static_assert(offsetof(SkinVertex, pointSize) == 40);
static_assert(offsetof(SkinVertex, u) == 44);

/// The vertex format code of SkinVertex (XYZB4 | LASTBETA_UBYTE4 | NORMAL | PSIZE | TEX1).
inline constexpr uint32_t kSkinVertexFvf = 0x113C;
}  // namespace posewright
