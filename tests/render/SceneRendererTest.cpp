#include <gtest/gtest.h>

#include <algorithm>

#include "render/RecordingDevice.h"
#include "render/SceneColors.h"
#include "render/SceneRenderer.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
using fixtures::AddQuad;

// A model of two bones and two materials: a red quad on bone 0 and a green
// quad on bone 1, plus a small hand-made ring of two coloured ranges.
struct Scene {
  RecordingDevice device;
  RenderResources resources;
  SkinnedModel model;
  Camera camera;
  RectSelectionRequest request;

  Scene() {
    AddQuad(model, {-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, 0, 0);
    AddQuad(model, {2, -1, 0}, {2, 1, 0}, {3, 1, 0}, {3, -1, 0}, 1, 1);
    fixtures::Finish(model, {fixtures::Material(1, 0, 0), fixtures::Material(0, 1, 0)},
                     fixtures::ChainSkeleton(2));
    SourceMesh ringMesh;
    for (int i = 0; i < 4; ++i) {
      ringMesh.vertices.push_back(MeshVertex{{static_cast<float>(i), 0, 0}, {0, 0, -1}, 0.3f, 0.7f});
    }
    ringMesh.indices = {0, 1, 2, 0, 2, 3};
    D3DXMATERIAL green = fixtures::Material(0, 0.8f, 0);
    D3DXMATERIAL red = fixtures::Material(0.8f, 0, 0);
    D3DXMATERIAL white = fixtures::Material(1, 1, 1);
    resources.ring = BuildRingGizmo(ringMesh, {green, red, white}, {{0, 0, 1, 0, 3}, {1, 1, 1, 0, 4}});
    refreshCamera(camera, 0, 0, 0);
  }

  std::vector<RecordedDraw> frame(const FrameOptions& options) {
    device.draws.clear();
    device.log.clear();
    SceneRenderer renderer(device, resources);
    renderer.drawFrame(model, camera, options, request);
    return device.draws;
  }
};

std::size_t IndexOf(const std::vector<std::string>& log, const std::string& line, std::size_t from = 0) {
  const auto it = std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), line);
  return static_cast<std::size_t>(it - log.begin());
}

TEST(SceneRenderer, FramePassesRunInOrderWithTheirStates) {
  Scene s;
  FrameOptions options;
  options.overlays.gridXZ = true;
  options.overlays.dragRectVisible = true;
  s.frame(options);
  const std::vector<std::string>& log = s.device.log;
  ASSERT_FALSE(log.empty());
  const std::vector<std::string> expected = {"clear ff1e3c5a 1 0",
                                             "beginScene",
                                             "fillMode 3",
                                             "shader skinning",
                                             "depthTest 1",
                                             "constants 5 1",
                                             "constants 1 4",
                                             "constants 0 1",
                                             "constants 10 8",
                                             "draw triangles 0 8 0 2",
                                             "draw triangles 0 8 6 2",
                                             "depthTest 0",
                                             "fillMode 2",
                                             "clipping 0",
                                             "strip 4",
                                             "endScene",
                                             "present"};
  std::size_t at = 0;
  for (const std::string& line : expected) {
    const std::size_t found = IndexOf(log, line, at);
    ASSERT_LT(found, log.size()) << "missing or out of order: " << line;
    at = found + 1;
  }
  EXPECT_EQ(log.back(), "present");
}

TEST(SceneRenderer, WritesConstantsPaletteAndMaterialColours) {
  Scene s;
  s.model.skeleton.bones[1].poseRotation = AxisAngle(1, 0, 0, 0.5f);
  s.camera.light.diffuse = {0.5f, 1, 1, 1};
  s.camera.light.ambient = {1, 1, 0.5f, 1};
  refreshCamera(s.camera, 0.3f, -0.2f, 1.0f);
  const std::vector<RecordedDraw> draws = s.frame({});
  ASSERT_GE(draws.size(), 2u);
  const RecordedDraw& red = draws[0];
  EXPECT_EQ(red.registers[kRegConstants], kShaderConstants);
  D3DXMATRIX vp;
  D3DXMatrixMultiply(&vp, &s.camera.view, &s.camera.projection);
  ExpectNear(red.registers.matrix(kRegViewProjection), vp, 0);
  const D3DXVECTOR3& dir = s.camera.light.direction;
  EXPECT_EQ(red.registers[kRegLightDirection], D3DXVECTOR4(dir.x, dir.y, dir.z, 0));
  ExpectNear(dir, s.camera.eyeForward, 0);
  for (uint32_t b = 0; b < 2; ++b) {
    ExpectNear(red.registers.matrix(PaletteRegister(b)), s.model.skeleton.skinMatrices[b], 0);
  }
  EXPECT_NE(s.model.skeleton.skinMatrices[1], Identity()) << "the pose was computed before drawing";
  // Diffuse × light diffuse and the drawing copy's ambient × light ambient, all four components.
  EXPECT_EQ(red.diffuse(), D3DXVECTOR4(0.5f, 0, 0, 1));
  EXPECT_EQ(red.ambient(), D3DXVECTOR4(0.5f, 0.5f, 0.25f, 1));
  EXPECT_EQ(draws[1].diffuse(), D3DXVECTOR4(0, 1, 0, 1));
  EXPECT_TRUE(red.depthTest);
  EXPECT_EQ(red.fillMode, FillMode::Solid);
  EXPECT_EQ(s.device.vertexBuffers[red.stream].size(), 8u);
  EXPECT_FALSE(red.outOfRange);
}

TEST(SceneRenderer, SolidPassBindsEachRangesOwnMaterialAndTexture) {
  Scene s;
  TextureImage checker{2, 2, std::vector<uint8_t>(16, 200)};
  s.model.textures[1] = std::make_shared<const TextureImage>(checker);
  // Ranges listed in reverse: colours and textures follow the range's material, not its position.
  std::swap(s.model.attributeTable[0], s.model.attributeTable[1]);
  const std::vector<RecordedDraw> draws = s.frame({});
  EXPECT_EQ(draws[0].startIndex, 6u);
  EXPECT_EQ(draws[0].diffuse(), D3DXVECTOR4(0, 1, 0, 0)) << "light diffuse alpha is 0";
  ASSERT_NE(draws[0].texture, 0u);
  EXPECT_EQ(s.device.textures[draws[0].texture].rgba, checker.rgba);
  EXPECT_EQ(draws[1].startIndex, 0u);
  EXPECT_EQ(draws[1].diffuse(), D3DXVECTOR4(1, 0, 0, 0));
  EXPECT_EQ(draws[1].texture, 0u);
}

TEST(SceneRenderer, WireframeDrawsAllFacesOnceAndPointModeSkipsTheMesh) {
  Scene s;
  FrameOptions options;
  options.fillMode = FillMode::Wireframe;
  options.selectedBone = 1;  // the ring comes with the last bone, after the first outline
  std::vector<RecordedDraw> draws = s.frame(options);
  EXPECT_EQ(draws[0].type, PrimitiveType::TriangleList);
  EXPECT_EQ(draws[0].primitiveCount, 4u);
  EXPECT_EQ(draws[0].startIndex, 0u);
  EXPECT_EQ(draws[0].fillMode, FillMode::Wireframe);
  EXPECT_EQ(draws[0].texture, 0u);
  EXPECT_EQ(draws[0].diffuse(), kWireframeMeshColor);
  EXPECT_EQ(draws[0].ambient(), kWireframeMeshColor);
  EXPECT_EQ(draws[1].stream, s.resources.boneShape.vertexBuffer)
      << "next is the first bone, not the mesh again";

  options.fillMode = FillMode::Point;
  draws = s.frame(options);
  EXPECT_EQ(draws[0].stream, s.resources.boneShape.vertexBuffer) << "no mesh pass in point mode";
}

TEST(SceneRenderer, BonesGetOutlinesAndTheSelectedOneTheRing) {
  Scene s;
  s.model.skeleton.bones[1].poseRotation = AxisAngle(0, 1, 0, 0.7f);
  FrameOptions options;
  options.selectedBone = 0;
  const std::vector<RecordedDraw> draws = s.frame(options);
  std::vector<RecordedDraw> rings;
  std::vector<RecordedDraw> outlines;
  for (const RecordedDraw& d : draws) {
    if (d.stream == s.resources.ring.vertexBuffer) rings.push_back(d);
    if (d.stream == s.resources.boneShape.vertexBuffer) outlines.push_back(d);
  }
  ASSERT_EQ(rings.size(), 2u);
  ASSERT_EQ(outlines.size(), 2u);
  const Skeleton& skeleton = s.model.skeleton;
  for (const RecordedDraw& r : rings) {
    EXPECT_FALSE(r.depthTest);
    EXPECT_EQ(r.fillMode, FillMode::Solid);
    EXPECT_EQ(r.texture, 0u);
    ExpectNear(r.world(), skeleton.skinMatrices[0]);
  }
  EXPECT_EQ(rings[0].diffuse(), D3DXVECTOR4(0, 0.8f, 0, 1));
  EXPECT_EQ(rings[0].ambient(), rings[0].diffuse());
  EXPECT_EQ(rings[1].diffuse(), D3DXVECTOR4(0.8f, 0, 0, 1));
  EXPECT_EQ(rings[1].startIndex, 3u);
  EXPECT_EQ(outlines[0].diffuse(), kSelectedBoneColor);
  EXPECT_EQ(outlines[1].diffuse(), kBoneColor);
  for (std::size_t i = 0; i < 2; ++i) {
    const RecordedDraw& o = outlines[i];
    EXPECT_EQ(o.type, PrimitiveType::LineList);
    EXPECT_EQ(o.vertexCount, 11u);
    EXPECT_EQ(o.primitiveCount, 18u);
    EXPECT_EQ(o.fillMode, FillMode::Wireframe);
    EXPECT_FALSE(o.depthTest);
    ExpectNear(o.world(), BoneDisplayTransform(skeleton, static_cast<int32_t>(i)));
  }
}

TEST(SceneRenderer, ZeroLengthBoneStillCarriesTheRing) {
  Scene s;
  s.model.skeleton.bones[1].end = s.model.skeleton.bones[1].begin;
  FrameOptions options;
  options.selectedBone = 1;
  int rings = 0;
  for (const RecordedDraw& d : s.frame(options)) {
    if (d.stream == s.resources.boneShape.vertexBuffer && d.diffuse() == kSelectedBoneColor) {
      EXPECT_FLOAT_EQ(d.world()._11, 0.0f);
    }
    rings += d.stream == s.resources.ring.vertexBuffer ? 1 : 0;
  }
  EXPECT_EQ(rings, 2);
}

TEST(SceneRenderer, VertexPointsAreRedThenBlueFromThePointList) {
  Scene s;
  s.model.selection.selected = {0, 1, 0, 0, 1, 1, 0, 0};
  RebuildPointList(s.model.selection);
  FrameOptions options;
  options.vertexMode = true;
  std::vector<RecordedDraw> points;
  for (const RecordedDraw& d : s.frame(options)) {
    if (d.type == PrimitiveType::PointList) points.push_back(d);
  }
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].diffuse(), kSelectedPointColor);
  EXPECT_EQ(points[0].startIndex, 0u);
  EXPECT_EQ(points[0].primitiveCount, 3u);
  EXPECT_EQ(points[1].diffuse(), kUnselectedPointColor);
  EXPECT_EQ(points[1].startIndex, 3u);
  EXPECT_EQ(points[1].primitiveCount, 5u);
  for (const RecordedDraw& p : points) {
    EXPECT_TRUE(p.depthTest) << "points are depth-tested against the mesh";
    EXPECT_EQ(p.texture, 0u);
    EXPECT_FALSE(p.outOfRange);
    EXPECT_EQ(s.device.indexBuffers[p.indices], s.model.selection.pointList);
    EXPECT_EQ(s.device.vertexBuffers[p.stream][0].pointSize, 10.0f);
  }
}

TEST(SceneRenderer, PendingSelectionRunsBeforeThePointsAndIsCleared) {
  Scene s;
  // Front view, distance 8, 800 × 581: the first quad (x −1..1) lies left of
  // the centre column 400, the second (x 2..3) right of it.
  s.request = RectSelectionRequest{true, {0, 0}, {400, 580}, false, false};
  FrameOptions options;
  options.vertexMode = true;
  std::vector<RecordedDraw> points;
  for (const RecordedDraw& d : s.frame(options)) {
    if (d.type == PrimitiveType::PointList) points.push_back(d);
  }
  EXPECT_FALSE(s.request.pending);
  EXPECT_EQ(s.model.selection.selected, (std::vector<uint8_t>{1, 1, 0, 0, 0, 0, 0, 0}));
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].primitiveCount, 2u);
  EXPECT_EQ(s.device.indexBuffers[points[0].indices], s.model.selection.pointList);
}

TEST(SceneRenderer, NothingIsDrawnWithoutBothMeshAndSkeleton) {
  Scene s;
  s.model.skeleton.bonesLoaded = false;
  s.request.pending = true;
  EXPECT_TRUE(s.frame({}).empty());
  EXPECT_TRUE(s.device.logLines("clear").empty());
  EXPECT_TRUE(s.request.pending) << "the request waits for a drawn frame";
}

TEST(SceneRenderer, GridsAxesAndRubberBand) {
  Scene s;
  FrameOptions options;
  options.overlays = {true, true, true, true, {10, -20}, {300, 40}};
  std::vector<RecordedDraw> grids;
  std::vector<RecordedDraw> axes;
  const RecordedDraw* strip = nullptr;
  const std::vector<RecordedDraw> draws = s.frame(options);
  for (const RecordedDraw& d : draws) {
    if (d.stream == s.resources.grid.vertexBuffer) grids.push_back(d);
    if (d.indexed && d.stream == s.resources.axes.vertexBuffer) axes.push_back(d);
    if (!d.indexed) strip = &d;
  }
  ASSERT_EQ(grids.size(), 3u);
  const D3DXMATRIX xz = Identity();
  const D3DXMATRIX xy = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
  const D3DXMATRIX yz = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const D3DXMATRIX orientations[3] = {xz, xy, yz};
  for (int i = 0; i < 3; ++i) {
    const RecordedDraw& g = grids[static_cast<std::size_t>(i)];
    EXPECT_EQ(g.world(), orientations[i]) << "grid " << i;
    EXPECT_EQ(g.diffuse(), kGridColor);
    EXPECT_EQ(g.ambient(), kGridColor);
    EXPECT_EQ(g.type, PrimitiveType::LineList);
    EXPECT_EQ(g.vertexCount, 80u);
    EXPECT_EQ(g.primitiveCount, 42u);
    EXPECT_FALSE(g.clipping);
    EXPECT_FALSE(g.outOfRange);
  }
  ASSERT_EQ(axes.size(), 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(axes[i].diffuse(), kAxisColors[i]);
    EXPECT_EQ(axes[i].startIndex, 2 * i);
    EXPECT_EQ(axes[i].primitiveCount, 1u);
    EXPECT_EQ(axes[i].world(), Identity());
    EXPECT_FALSE(axes[i].depthTest);
  }
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip, &draws.back());
  EXPECT_EQ(strip->primitiveCount, 4u);
  EXPECT_EQ(strip->stripIndices, (std::vector<uint16_t>{0, 1, 2, 3, 0}));
  const float expected[4][2] = {{10, -20}, {10, 40}, {300, 40}, {300, -20}};
  for (int i = 0; i < 4; ++i) {
    const PreTransformedVertex& v = strip->stripVertices[static_cast<std::size_t>(i)];
    EXPECT_EQ(v.x, expected[i][0]);
    EXPECT_EQ(v.y, expected[i][1]);
    EXPECT_EQ(v.z, 0.0f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.color, kDragRectColor);
  }
}

TEST(SceneRenderer, FailedPresentResetsTheDevice) {
  Scene s;
  s.device.failPresent = true;
  s.frame({});
  EXPECT_EQ(s.device.log.back(), "reset");
  s.device.failPresent = false;
  s.frame({});
  EXPECT_EQ(s.device.log.back(), "present");
}

TEST(SceneRenderer, UploadsModelDataOnlyWhenItChanged) {
  Scene s;
  SceneRenderer renderer(s.device, s.resources);
  FrameOptions options;
  options.vertexMode = true;
  renderer.drawFrame(s.model, s.camera, options, s.request);
  const int first = s.device.uploads;
  renderer.drawFrame(s.model, s.camera, options, s.request);
  EXPECT_EQ(s.device.uploads, first);
  s.model.skinnedMesh.vertices[2].blendWeights[0] = 0.5f;
  renderer.drawFrame(s.model, s.camera, options, s.request);
  EXPECT_EQ(s.device.uploads, first + 1);
  EXPECT_EQ(s.device.logLines("updateVertexBuffer").size(), 1u);
  s.model.selection.selected[0] = 1;
  RebuildPointList(s.model.selection);
  renderer.drawFrame(s.model, s.camera, options, s.request);
  EXPECT_EQ(s.device.logLines("updateIndexBuffer").size(), 1u);
  renderer.releaseModel();
  s.resources.release(s.device);
  EXPECT_TRUE(s.device.vertexBuffers.empty());
  EXPECT_TRUE(s.device.indexBuffers.empty());
}
}  // namespace
}  // namespace posewright
