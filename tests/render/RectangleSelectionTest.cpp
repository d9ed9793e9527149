#include <gtest/gtest.h>

#include "render/Camera.h"
#include "render/RectangleSelection.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
// Identity camera and palette on a 200 × 100 back buffer: model x = −1..1 maps
// to pixels 0..200 and y = 1..−1 to pixels 0..100.
struct Selectable {
  SkinnedModel model;
  RegisterFile registers;

  explicit Selectable(std::vector<D3DXVECTOR3> points) {
    for (const D3DXVECTOR3& p : points) {
      model.skinnedMesh.vertices.push_back(fixtures::BoundVertex(p, 0));
    }
    model.selection.reset(points.size());
    registers[kRegConstants] = kShaderConstants;
    registers.setMatrix(kRegViewProjection, Identity());
    for (uint32_t k = 0; k < 4; ++k) {
      registers.setMatrix(PaletteRegister(k), Identity());
    }
  }
  // Pixel (px, py) back to model space.
  static D3DXVECTOR3 At(float px, float py) { return {px / 100.0f - 1.0f, 1.0f - py / 50.0f, 0.5f}; }
  void select(ClientPoint a, ClientPoint b, bool subtract = false, bool add = false) {
    selectInRect(model, registers, 200, 100, a, b, subtract, add);
  }
  const std::vector<uint8_t>& flags() const { return model.selection.selected; }
};

TEST(RectangleSelection, StrictInsideReplacesSelection) {
  // Vertex 0 at pixel (50, 50), 1 on the left edge x = 20, 2 inside, 3 outside.
  Selectable s(
      {Selectable::At(50, 50), Selectable::At(20, 50), Selectable::At(79, 21), Selectable::At(150, 50)});
  s.model.selection.selected[3] = 1;
  s.select({80, 20}, {20, 80});  // corners in any order
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 0, 1, 0}));
  EXPECT_EQ(s.model.selection.pointList, (std::vector<uint16_t>{0, 2, 3, 1}));
  EXPECT_EQ(s.model.selection.unselectedCount, 2u);
}

TEST(RectangleSelection, ShiftAddsAndControlSubtracts) {
  Selectable s({Selectable::At(50, 50), Selectable::At(150, 50), Selectable::At(160, 60)});
  s.model.selection.selected = {0, 1, 0};
  s.select({20, 20}, {80, 80}, false, true);
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 1, 0}));
  s.select({140, 40}, {155, 55}, true, false);
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 0, 0}));
  EXPECT_EQ(s.model.selection.unselectedCount, 2u);
}

TEST(RectangleSelection, ZeroWidthRectangleClearsOrKeeps) {
  Selectable s({Selectable::At(50, 50), Selectable::At(60, 50)});
  s.model.selection.selected = {1, 1};
  s.select({50, 50}, {50, 50}, false, true);
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 1}));
  s.select({50, 50}, {50, 50}, true, false);
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 1}));
  s.select({50, 50}, {50, 50});
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(s.model.selection.unselectedCount, 2u);
}

TEST(RectangleSelection, UsesThePosedPositions) {
  Selectable s({Selectable::At(50, 50)});
  D3DXMATRIX shift;
  D3DXMatrixTranslation(&shift, 1.0f, 0, 0);  // 100 pixels to the right
  s.model.skinnedMesh.vertices[0].setBoneIndex(0, 2);
  s.registers.setMatrix(PaletteRegister(2), shift);
  s.select({20, 20}, {80, 80});
  EXPECT_EQ(s.flags()[0], 0);
  s.select({120, 20}, {180, 80});
  EXPECT_EQ(s.flags()[0], 1);
}

TEST(RectangleSelection, ResizesStaleFlags) {
  Selectable s({Selectable::At(50, 50), Selectable::At(51, 51)});
  s.model.selection.selected.clear();
  s.select({20, 20}, {80, 80});
  EXPECT_EQ(s.flags(), (std::vector<uint8_t>{1, 1}));
}

TEST(SelectionCentre, MiddleOfTheSelectedBoundingBoxOrOrigin) {
  SkinnedModel model;
  for (const D3DXVECTOR3& p : {D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(-3, 4, 1), D3DXVECTOR3(100, 100, 100)}) {
    model.skinnedMesh.vertices.push_back(fixtures::BoundVertex(p, 0));
  }
  model.selection.reset(3);
  EXPECT_EQ(selectionCentre(model), D3DXVECTOR3(0, 0, 0));
  model.selection.selected = {1, 1, 0};
  ExpectNear(selectionCentre(model), D3DXVECTOR3(-1, 3, 2));
  model.selection.selected = {0, 0, 1};
  ExpectNear(selectionCentre(model), D3DXVECTOR3(100, 100, 100));
}
}  // namespace
}  // namespace posewright
