#include <gtest/gtest.h>

#include <cmath>

#include "render/VertexProcessor.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {
D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

// Registers with identity view-projection, c0 set, and every palette entry the identity.
RegisterFile BaseRegisters() {
  RegisterFile c;
  c[kRegConstants] = kShaderConstants;
  c.setMatrix(kRegViewProjection, Identity());
  for (uint32_t k = 0; k < kPaletteEntries; ++k) {
    c.setMatrix(PaletteRegister(k), Identity());
  }
  return c;
}

TEST(VertexProcessor, EveryIndexByteGivesFourTimesItsValueInItsOwnSlot) {
  for (uint32_t b = 0; b < 256; ++b) {
    for (int slot = 0; slot < 4; ++slot) {
      SkinVertex v;
      v.setBoneIndex(slot, static_cast<uint8_t>(b));
      v.setBoneIndex((slot + 1) % 4, 7);
      uint32_t offsets[4];
      PaletteOffsets(v.boneIndices, kShaderConstants.w, offsets);
      ASSERT_EQ(offsets[slot], 4 * b) << "byte " << b << " slot " << slot;
      ASSERT_EQ(offsets[(slot + 1) % 4], 28u);
    }
  }
}

TEST(VertexProcessor, BlendsPositionsThroughPaletteWithImplicitFourthWeight) {
  RegisterFile c = BaseRegisters();
  c.setMatrix(PaletteRegister(3), Translation(4, 0, 0));
  c.setMatrix(PaletteRegister(255), Translation(0, 8, 0));
  c.setMatrix(PaletteRegister(9), Translation(0, 0, 16));
  SkinVertex v;
  v.position = D3DXVECTOR3(1, 1, 1);
  v.blendWeights[0] = 0.25f;  // bone 3
  v.blendWeights[1] = 0.25f;  // bone 9
  v.blendWeights[2] = 0.0f;   // bone 0 (identity)
  v.setBoneIndex(0, 3);
  v.setBoneIndex(1, 9);
  v.setBoneIndex(3, 255);  // weight 1 − 0.5 = 0.5
  const ProcessedVertex out = ProcessVertex(v, c);
  EXPECT_FLOAT_EQ(out.clip.x, 1 + 0.25f * 4);
  EXPECT_FLOAT_EQ(out.clip.y, 1 + 0.5f * 8);
  EXPECT_FLOAT_EQ(out.clip.z, 1 + 0.25f * 16);
  EXPECT_FLOAT_EQ(out.clip.w, 1);
  const D3DXVECTOR4 position = ProcessPosition(v, c);
  EXPECT_EQ(position, out.clip);
}

TEST(VertexProcessor, AppliesViewProjectionAfterSkinning) {
  RegisterFile c = BaseRegisters();
  D3DXMATRIX ortho;
  D3DXMatrixOrthoLH(&ortho, 8, 6, 1, 201);
  c.setMatrix(kRegViewProjection, ortho);
  c.setMatrix(PaletteRegister(0), Translation(0, 0, 100));
  SkinVertex v;
  v.position = D3DXVECTOR3(2, 3, 1);
  v.blendWeights[0] = 1;
  const D3DXVECTOR4 clip = ProcessPosition(v, c);
  EXPECT_FLOAT_EQ(clip.x, 0.5f);
  EXPECT_FLOAT_EQ(clip.y, 1.0f);
  EXPECT_NEAR(clip.z, 0.5f, 1e-6);
  EXPECT_FLOAT_EQ(clip.w, 1.0f);
}

TEST(VertexProcessor, LightingFloorsAtZeroClampsAtOneAndCopiesBlueToAlpha) {
  RegisterFile c = BaseRegisters();
  c[kRegLightDirection] = D3DXVECTOR4(0, 0, 1, 0);
  c[kRegDiffuse] = D3DXVECTOR4(0.5f, 0.25f, 0.75f, 1);
  c[kRegAmbient] = D3DXVECTOR4(0.25f, 0.1f, 0.5f, 0);
  SkinVertex v;
  v.blendWeights[0] = 1;
  v.normal = D3DXVECTOR3(0, 0, -3);  // faces the light, not unit length
  ProcessedVertex out = ProcessVertex(v, c);
  EXPECT_FLOAT_EQ(out.color.x, 0.75f);
  EXPECT_FLOAT_EQ(out.color.y, 0.35f);
  EXPECT_FLOAT_EQ(out.color.z, 1.0f);  // 1.25 clamped
  EXPECT_FLOAT_EQ(out.color.w, out.color.z);

  v.normal = D3DXVECTOR3(0, 0, 1);  // faces away: factor floored at c0.z
  out = ProcessVertex(v, c);
  EXPECT_FLOAT_EQ(out.color.x, 0.25f);
  EXPECT_FLOAT_EQ(out.color.z, 0.5f);
  EXPECT_FLOAT_EQ(out.color.w, 0.5f);

  c[kRegAmbient] = D3DXVECTOR4(-0.5f, 0, 0, 0);  // a negative sum shows as black
  out = ProcessVertex(v, c);
  EXPECT_FLOAT_EQ(out.color.x, 0.0f);
}

TEST(VertexProcessor, ZeroNormalShowsAmbientOnlyWithoutNaN) {
  RegisterFile c = BaseRegisters();
  c[kRegLightDirection] = D3DXVECTOR4(0, 0, 1, 0);
  c[kRegDiffuse] = D3DXVECTOR4(1, 1, 1, 0);
  c[kRegAmbient] = D3DXVECTOR4(0.2f, 0.4f, 0.6f, 0);
  SkinVertex v;
  v.blendWeights[0] = 1;
  v.normal = D3DXVECTOR3(0, 0, 0);
  const ProcessedVertex out = ProcessVertex(v, c);
  EXPECT_FLOAT_EQ(out.color.x, 0.2f);
  EXPECT_FLOAT_EQ(out.color.y, 0.4f);
  EXPECT_FLOAT_EQ(out.color.z, 0.6f);
  EXPECT_FLOAT_EQ(out.color.w, 0.6f);
}

TEST(VertexProcessor, NormalsAreSkinnedByTheSameRegisters) {
  RegisterFile c = BaseRegisters();
  D3DXMATRIX turn;  // a half turn about Y: +Z becomes −Z
  D3DXMatrixRotationY(&turn, 3.14159265f);
  c.setMatrix(PaletteRegister(1), turn);
  c[kRegLightDirection] = D3DXVECTOR4(0, 0, 1, 0);
  c[kRegDiffuse] = D3DXVECTOR4(1, 0, 0, 0);
  SkinVertex v;
  v.blendWeights[0] = 1;
  v.setBoneIndex(0, 1);
  v.normal = D3DXVECTOR3(0, 0, 1);  // away from the light until turned
  EXPECT_NEAR(ProcessVertex(v, c).color.x, 1.0f, 1e-6);
}

TEST(VertexProcessor, ScreenMappingPutsPixelCentresAtIntegers) {
  ScreenPosition s = ClipToScreen(D3DXVECTOR4(0, 0, 0.5f, 1), 800, 600);
  EXPECT_FLOAT_EQ(s.x, 400);
  EXPECT_FLOAT_EQ(s.y, 300);
  EXPECT_FLOAT_EQ(s.z, 0.5f);
  s = ClipToScreen(D3DXVECTOR4(-1, 1, 0, 1), 800, 600);
  EXPECT_FLOAT_EQ(s.x, 0);
  EXPECT_FLOAT_EQ(s.y, 0);
  s = ClipToScreen(D3DXVECTOR4(2, -2, 0, 2), 800, 600);  // divided by w
  EXPECT_FLOAT_EQ(s.x, 800);
  EXPECT_FLOAT_EQ(s.y, 600);
  EXPECT_FLOAT_EQ(s.rhw, 0.5f);
}
}  // namespace
}  // namespace posewright
