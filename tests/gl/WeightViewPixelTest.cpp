// The weight variant of the skinning program on the GPU against its CPU twin,
// on a two-bone tube: vertex colours where the twin puts the vertices, and
// colours interpolated across the faces.
#include <cmath>

#include "OffscreenFixture.h"
#include "render/VertexProcessor.h"
#include "render/WeightColours.h"
#include "support/TwoBoneTube.h"

namespace posewright {

namespace {
class WeightViewPixels : public OffscreenTest {
 protected:
  // Registers that put the tube (x 0..1) across the middle of the picture,
  // in front of the near plane, with the weight view on bone.
  static RegisterFile TubeRegisters(float bone) {
    RegisterFile c;
    c[kRegConstants] = kShaderConstants;
    D3DXMATRIX place;
    D3DXMatrixTranslation(&place, -0.5f, 0.0f, 0.5f);
    c.setMatrix(kRegViewProjection, place);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (uint32_t k = 0; k < kPaletteEntries; ++k) {
      c.setMatrix(PaletteRegister(k), identity);
    }
    c[kRegLightDirection] = D3DXVECTOR4(0, 0, 1, 0);
    c[kRegWeightBone] = D3DXVECTOR4(bone, 0, 0, 0);
    return c;
  }

  void drawTube(const RegisterFile& c, const std::vector<SkinVertex>& vertices, PrimitiveType type,
                const std::vector<uint16_t>& indices) {
    device().clear(kClearColor, 1.0f, 0);
    device().beginScene();
    device().setVertexShaderConstant(0, c.reg.data(), kRegisterCount);
    const BufferId vb = device().createVertexBuffer(vertices);
    const BufferId ib = device().createIndexBuffer(indices);
    device().setWeightShader();
    device().setStreamSource(vb);
    device().setIndices(ib);
    device().drawIndexedPrimitive(type, 0, static_cast<uint32_t>(vertices.size()), 0,
                                  static_cast<uint32_t>(indices.size() / IndicesPerPrimitive(type)));
    capture();
  }

  static std::pair<int, int> PixelAt(const D3DXVECTOR4& clip) {
    const ScreenPosition s = ClipToScreen(clip, kWidth, kHeight);
    return {static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y))};
  }
};

TEST_F(WeightViewPixels, VerticesShowTheColourTheCpuTwinGives) {
  for (float bone : {1.0f, 2.0f, 3.0f}) {
    const RegisterFile c = TubeRegisters(bone);
    std::vector<SkinVertex> vertices = tube::TubeVertices();
    for (SkinVertex& v : vertices) v.pointSize = 3.0f;
    // The top row of every ring (side 2 points up), drawn as points.
    std::vector<uint16_t> top;
    for (int r = 0; r < tube::kRings; ++r) top.push_back(static_cast<uint16_t>(r * tube::kSides + 2));
    drawTube(c, vertices, PrimitiveType::PointList, top);
    for (uint16_t i : top) {
      const ProcessedVertex p = ProcessVertex(vertices[i], c, VertexColouring::BoneWeight);
      const auto [x, y] = PixelAt(p.clip);
      EXPECT_TRUE(Near(at(x, y), ToRgb(p.color.x, p.color.y, p.color.z)))
          << "bone " << bone << ", vertex " << i << " at " << x << ", " << y;
    }
  }
}

TEST_F(WeightViewPixels, ColoursBlendAcrossFaces) {
  const RegisterFile c = TubeRegisters(1.0f);
  drawTube(c, tube::TubeVertices(), PrimitiveType::TriangleList, tube::TubeIndices());
  // Midway between rings 0 and 1 on the side facing the viewer (z = −0.2,
  // y = 0): half of ring 0's red and half of ring 1's (0.5, 0.5, 0).
  const SkinVertex front0 = tube::TubeVertex(0, 6);
  const SkinVertex front1 = tube::TubeVertex(1, 6);
  SkinVertex middle = front0;
  middle.position = (front0.position + front1.position) * 0.5f;
  const auto [x, y] = PixelAt(ProcessPosition(middle, c));
  EXPECT_TRUE(Near(at(x, y), ToRgb(0.75f, 0.25f, 0.0f), 3)) << "at " << x << ", " << y;
  EXPECT_EQ(count(ToRgb(0.0f, 0.0f, 0.35f)), 0) << "every vertex names bone 1";
}
}  // namespace
}  // namespace posewright
