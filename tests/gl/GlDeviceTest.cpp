// The OpenGL device against the CPU vertex processor: a vertex the processor
// puts at pixel (x, y) must be drawn there, in its colour.
#include <cmath>

#include "OffscreenFixture.h"
#include "render/Camera.h"
#include "render/VertexProcessor.h"

namespace posewright {

namespace {
D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

// Registers with identity view-projection and palette: model x −1..1 spans
// the width, y 1..−1 the height.
RegisterFile FlatRegisters() {
  RegisterFile c;
  c[kRegConstants] = kShaderConstants;
  c.setMatrix(kRegViewProjection, Identity());
  for (uint32_t k = 0; k < kPaletteEntries; ++k) {
    c.setMatrix(PaletteRegister(k), Identity());
  }
  c[kRegLightDirection] = D3DXVECTOR4(0, 0, 1, 0);
  return c;
}

SkinVertex Point(float x, float y, float size, uint8_t bone = 0) {
  SkinVertex v;
  v.position = D3DXVECTOR3(x, y, 0.5f);
  v.blendWeights[0] = 1;
  v.setBoneIndex(0, bone);
  v.pointSize = size;
  return v;
}

class GlDevicePixels : public OffscreenTest {
 protected:
  void upload(const RegisterFile& c) { device().setVertexShaderConstant(0, c.reg.data(), kRegisterCount); }

  // Draws vertices as one primitive list with indices 0..n−1 (or the given ones).
  void draw(const std::vector<SkinVertex>& vertices, PrimitiveType type, std::vector<uint16_t> indices = {}) {
    if (indices.empty()) {
      for (std::size_t i = 0; i < vertices.size(); ++i) {
        indices.push_back(static_cast<uint16_t>(i));
      }
    }
    const BufferId vb = device().createVertexBuffer(vertices);
    const BufferId ib = device().createIndexBuffer(indices);
    device().setSkinningShader();
    device().setStreamSource(vb);
    device().setIndices(ib);
    device().drawIndexedPrimitive(type, 0, static_cast<uint32_t>(vertices.size()), 0,
                                  static_cast<uint32_t>(indices.size() / IndicesPerPrimitive(type)));
  }

  void begin() {
    device().clear(kClearColor, 1.0f, 0);
    device().beginScene();
  }

  Rgb expectedColour(const SkinVertex& v, const RegisterFile& c) {
    const ProcessedVertex p = ProcessVertex(v, c);
    return ToRgb(p.color.x, p.color.y, p.color.z);
  }

  // The pixel the processor puts v at.
  static std::pair<int, int> PixelOf(const SkinVertex& v, const RegisterFile& c) {
    const ScreenPosition s = ClipToScreen(ProcessPosition(v, c), kWidth, kHeight);
    return {static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y))};
  }
};

TEST_F(GlDevicePixels, SkinnedLitPointsLandWhereTheProcessorPutsThem) {
  RegisterFile c = FlatRegisters();
  Camera camera;
  camera.distance = 4.0f;
  refreshCamera(camera, 0.3f, -0.5f, 0.0f);
  D3DXMATRIX vp;
  D3DXMatrixMultiply(&vp, &camera.view, &camera.projection);
  c.setMatrix(kRegViewProjection, vp);
  const D3DXVECTOR3& eye = camera.eyeForward;
  c[kRegLightDirection] = D3DXVECTOR4(eye.x, eye.y, eye.z, 0);
  c[kRegDiffuse] = D3DXVECTOR4(0.6f, 0.5f, 0.4f, 1);
  c[kRegAmbient] = D3DXVECTOR4(0.2f, 0.25f, 0.3f, 0);
  for (uint32_t k = 0; k < kPaletteEntries; ++k) {
    const float f = static_cast<float>(k) / 255.0f;
    D3DXMATRIX rotation, translation, m;
    const D3DXVECTOR3 axis(f, 1.0f - f, 0.5f);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, 0.05f * f);
    D3DXMatrixRotationQuaternion(&rotation, &q);
    D3DXMatrixTranslation(&translation, 0.05f * f, -0.04f * f, 0.03f * f);
    D3DXMatrixMultiply(&m, &rotation, &translation);
    c.setMatrix(PaletteRegister(k), m);
  }
  std::vector<SkinVertex> vertices;
  for (int i = 0; i < 7; ++i) {
    for (int j = 0; j < 5; ++j) {
      SkinVertex v = Point(-1.3f + 0.4f * static_cast<float>(i), -0.8f + 0.4f * static_cast<float>(j), 3.0f);
      const int n = i * 5 + j;
      v.position.z = 0.1f * static_cast<float>(j);
      v.setBoneIndex(0, static_cast<uint8_t>(n * 7));
      v.setBoneIndex(1, static_cast<uint8_t>(255 - n));
      v.setBoneIndex(2, 255);
      v.setBoneIndex(3, static_cast<uint8_t>(n * 3));
      v.blendWeights[0] = 0.4f;
      v.blendWeights[1] = 0.3f;
      v.blendWeights[2] = 0.1f * static_cast<float>(n % 3);
      const float a = 0.3f * static_cast<float>(n);
      v.normal = D3DXVECTOR3(std::cos(a), std::sin(a), -1.0f + 0.05f * static_cast<float>(n));
      vertices.push_back(v);
    }
  }
  begin();
  upload(c);
  draw(vertices, PrimitiveType::PointList);
  capture();
  for (const SkinVertex& v : vertices) {
    const auto [x, y] = PixelOf(v, c);
    ASSERT_TRUE(x >= 0 && x < kWidth && y >= 0 && y < kHeight);
    EXPECT_TRUE(Near(at(x, y), expectedColour(v, c))) << "vertex at pixel " << x << ", " << y;
  }
}

TEST_F(GlDevicePixels, LastPaletteEntryDeforms) {
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(1, 1, 0, 0);
  D3DXMATRIX shift;
  D3DXMatrixTranslation(&shift, 0.5f, -0.5f, 0);
  c.setMatrix(PaletteRegister(255), shift);
  SkinVertex slot0 = Point(0, 0, 4, 255);
  SkinVertex slot3 = Point(-0.5f, 0, 4);  // slots 0..2 weigh nothing, bone 255 takes the implicit weight
  slot3.blendWeights[0] = 0;
  slot3.setBoneIndex(3, 255);
  begin();
  upload(c);
  draw({slot0, slot3}, PrimitiveType::PointList);
  capture();
  EXPECT_EQ(PixelOf(slot0, c), (std::pair<int, int>{120, 90}));
  EXPECT_EQ(at(120, 90), (Rgb{255, 255, 0}));
  EXPECT_EQ(at(80, 60), ClearRgb()) << "not drawn at its rest position";
  EXPECT_EQ(PixelOf(slot3, c), (std::pair<int, int>{80, 90}));
  EXPECT_EQ(at(80, 90), (Rgb{255, 255, 0}));
}

TEST_F(GlDevicePixels, PointSizeCoversThatManyPixelsEachWay) {
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(1, 0, 0, 0);
  const SkinVertex v = Point(0.25f, 0.5f, 10.0f);  // pixel (100, 30)
  begin();
  upload(c);
  draw({v}, PrimitiveType::PointList);
  capture();
  EXPECT_EQ(count(Rgb{255, 0, 0}), 100);
  EXPECT_EQ(at(95, 25), (Rgb{255, 0, 0}));
  EXPECT_EQ(at(104, 34), (Rgb{255, 0, 0}));
  EXPECT_EQ(at(105, 30), ClearRgb());
  EXPECT_EQ(at(100, 35), ClearRgb());
}

TEST_F(GlDevicePixels, FillModesSolidWireframeAndPoint) {
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(0, 1, 0, 0);
  // A square from pixel (40, 30) to (120, 90).
  const std::vector<SkinVertex> quad = {Point(-0.5f, 0.5f, 1), Point(0.5f, 0.5f, 1), Point(0.5f, -0.5f, 1),
                                        Point(-0.5f, -0.5f, 1)};
  const std::vector<uint16_t> triangles = {0, 1, 2, 0, 2, 3};
  const Rgb green{0, 255, 0};

  begin();
  upload(c);
  device().setFillMode(FillMode::Solid);
  draw(quad, PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(80, 60), green);
  EXPECT_EQ(at(41, 31), green);
  EXPECT_EQ(at(38, 60), ClearRgb());

  begin();
  device().setFillMode(FillMode::Wireframe);
  draw(quad, PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(70, 50), ClearRgb()) << "inside stays empty";
  EXPECT_EQ(at(80, 30), green) << "top edge";
  EXPECT_EQ(at(40, 60), green) << "left edge";
  EXPECT_EQ(at(60, 45), green) << "the diagonal";

  begin();
  device().setFillMode(FillMode::Point);
  draw(quad, PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(80, 30), ClearRgb());
  EXPECT_EQ(at(40, 30), green);
  EXPECT_EQ(count(green), 4);
}

TEST_F(GlDevicePixels, TextureIsModulatedAndPointSampledWithRowZeroAtTheTop) {
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(0.5f, 0.5f, 0.5f, 0);
  TextureImage image{2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}};
  std::vector<SkinVertex> quad = {Point(-1, 1, 1), Point(1, 1, 1), Point(1, -1, 1), Point(-1, -1, 1)};
  const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    quad[static_cast<std::size_t>(i)].u = uv[i][0];
    quad[static_cast<std::size_t>(i)].v = uv[i][1];
  }
  begin();
  upload(c);
  device().setTexture(device().createTexture(image));
  draw(quad, PrimitiveType::TriangleList, {0, 1, 2, 0, 2, 3});
  capture();
  EXPECT_TRUE(Near(at(20, 20), Rgb{128, 0, 0}));
  EXPECT_TRUE(Near(at(140, 20), Rgb{0, 128, 0}));
  EXPECT_TRUE(Near(at(20, 100), Rgb{0, 0, 128}));
  EXPECT_TRUE(Near(at(140, 100), Rgb{128, 128, 128}));
  EXPECT_EQ(at(79, 20), at(20, 20)) << "no filtering across the texel edge";

  begin();
  device().setTexture(0);
  draw(quad, PrimitiveType::TriangleList, {0, 1, 2, 0, 2, 3});
  capture();
  EXPECT_TRUE(Near(at(20, 20), Rgb{128, 128, 128})) << "untextured: the vertex colour";
}

TEST_F(GlDevicePixels, DepthTestKeepsTheNearerAndClippingOffDrawsBeyondTheFarPlane) {
  RegisterFile c = FlatRegisters();
  const std::vector<uint16_t> triangles = {0, 1, 2, 0, 2, 3};
  auto square = [](float z) {
    std::vector<SkinVertex> q = {Point(-0.5f, 0.5f, 1), Point(0.5f, 0.5f, 1), Point(0.5f, -0.5f, 1),
                                 Point(-0.5f, -0.5f, 1)};
    for (SkinVertex& v : q) v.position.z = z;
    return q;
  };
  begin();
  device().setDepthTest(true);
  c[kRegAmbient] = D3DXVECTOR4(1, 0, 0, 0);
  upload(c);
  draw(square(0.3f), PrimitiveType::TriangleList, triangles);
  c[kRegAmbient] = D3DXVECTOR4(0, 0, 1, 0);
  upload(c);
  draw(square(0.6f), PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(80, 60), (Rgb{255, 0, 0}));

  begin();
  device().setClipping(true);
  draw(square(1.5f), PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(80, 60), ClearRgb());
  device().setDepthTest(false);
  device().setClipping(false);
  draw(square(1.5f), PrimitiveType::TriangleList, triangles);
  capture();
  EXPECT_EQ(at(80, 60), (Rgb{0, 0, 255}));
}

TEST_F(GlDevicePixels, RubberBandLinesSitOnTheirPixels) {
  begin();
  const PreTransformedVertex corners[4] = {{10, 10, 0, 1, 0xFFFFFFFF},
                                           {10, 40, 0, 1, 0xFFFFFFFF},
                                           {50, 40, 0, 1, 0xFFFFFFFF},
                                           {50, 10, 0, 1, 0xFFFFFFFF}};
  const uint16_t indices[5] = {0, 1, 2, 3, 0};
  device().drawPreTransformedLineStrip(corners, indices, 4);
  // After the strip the skinning program must be set again: this draw is skipped.
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(1, 0, 0, 0);
  upload(c);
  const BufferId vb = device().createVertexBuffer(std::vector<SkinVertex>{Point(0, 0, 20)});
  const BufferId ib = device().createIndexBuffer(std::vector<uint16_t>{0});
  device().setStreamSource(vb);
  device().setIndices(ib);
  device().drawIndexedPrimitive(PrimitiveType::PointList, 0, 1, 0, 1);
  capture();
  const Rgb white{255, 255, 255};
  EXPECT_EQ(at(10, 25), white);
  EXPECT_EQ(at(30, 40), white);
  EXPECT_EQ(at(50, 25), white);
  EXPECT_EQ(at(30, 10), white);
  EXPECT_EQ(at(30, 25), ClearRgb());
  EXPECT_EQ(at(9, 25), ClearRgb());
  EXPECT_EQ(at(80, 60), ClearRgb());
}

TEST_F(GlDevicePixels, DrawsNamingMissingDataAreSkipped) {
  RegisterFile c = FlatRegisters();
  c[kRegAmbient] = D3DXVECTOR4(1, 0, 0, 0);
  begin();
  upload(c);
  // Index 5 refers past a two-vertex stream.
  draw({Point(0, 0, 10), Point(0.5f, 0, 10)}, PrimitiveType::PointList, {0, 5});
  const BufferId vb = device().createVertexBuffer(std::vector<SkinVertex>{Point(0, 0, 10)});
  const BufferId ib = device().createIndexBuffer(std::vector<uint16_t>{0});
  device().setStreamSource(vb);
  device().setIndices(ib);
  device().drawIndexedPrimitive(PrimitiveType::PointList, 0, 1, 0, 2);  // runs past the indices
  capture();
  EXPECT_EQ(count(ClearRgb()), kWidth * kHeight);
}
}  // namespace
}  // namespace posewright
