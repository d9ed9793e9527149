#include <gtest/gtest.h>

#include <vector>

#include "mesh/SkinPosition.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {
D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

SkinVertex Vertex(D3DXVECTOR3 p, float w0, float w1, float w2, uint8_t b0, uint8_t b1, uint8_t b2,
                  uint8_t b3) {
  SkinVertex v;
  v.position = p;
  v.blendWeights[0] = w0;
  v.blendWeights[1] = w1;
  v.blendWeights[2] = w2;
  v.setBoneIndex(0, b0);
  v.setBoneIndex(1, b1);
  v.setBoneIndex(2, b2);
  v.setBoneIndex(3, b3);
  return v;
}
}  // namespace

TEST(SkinnedPosition, BlendsFourSlotsWithTheImplicitFourthWeight) {
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, 1.5707964f);  // (1,0,0) → (0,0,-1)
  const std::vector<D3DXMATRIX> palette = {Identity(), Translation(0, 4, 0), turn, Translation(8, 0, 0)};
  const SkinVertex v = Vertex({1, 0, 0}, 0.5f, 0.25f, 0.125f, 1, 2, 0, 3);
  // 0.5 (1,4,0) + 0.25 (0,0,-1) + 0.125 (1,0,0) + 0.125 (9,0,0)
  ExpectNear(SkinnedPosition(v, palette), {1.75f, 2.0f, -0.25f});
}

TEST(SkinnedPosition, EmptySlotsReadEntryZeroAndUnknownBonesReadZero) {
  const std::vector<D3DXMATRIX> palette = {Translation(0, 0, 2), Translation(0, 1, 0)};
  // Slot 0 on bone 1 with 0.5; the rest of the weight falls on slot 3, index 0.
  ExpectNear(SkinnedPosition(Vertex({1, 1, 1}, 0.5f, 0, 0, 1, 0, 0, 0), palette), {1.0f, 1.5f, 2.0f});
  // Bone 7 is beyond the palette: its half contributes nothing.
  ExpectNear(SkinnedPosition(Vertex({1, 1, 1}, 0.5f, 0, 0, 7, 1, 1, 1), palette), {0.5f, 1.0f, 0.5f});
}
}  // namespace posewright
