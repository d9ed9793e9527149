// Whole frames through the scene renderer on the OpenGL device: what lands
// where, in which colour, and what hides what.
#include "OffscreenFixture.h"
#include "render/Camera.h"
#include "render/SceneRenderer.h"
#include "render/VertexProcessor.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
using fixtures::AddQuad;

class ScenePixels : public OffscreenTest {
 protected:
  void SetUp() override {
    OffscreenTest::SetUp();
    if (IsSkipped()) {
      return;
    }
    // Front view, distance 8 on 160 × 120: 20 pixels per unit, origin at (80, 60).
    AddQuad(model_, {-2, 1, 0}, {-0.5f, 1, 0}, {-0.5f, -1, 0}, {-2, -1, 0}, 0, 0);
    AddQuad(model_, {0.5f, 1, 0}, {2, 1, 0}, {2, -1, 0}, {0.5f, -1, 0}, 1, 1);
    fixtures::Finish(model_, {fixtures::Material(1, 0, 0), fixtures::Material(0, 0.4f, 0)},
                     fixtures::ChainSkeleton(2));
    refreshCamera(camera_, 0, 0, 0);
    renderer_ = std::make_unique<SceneRenderer>(device(), resources_);
  }

  void TearDown() override {
    if (renderer_) {
      renderer_->releaseModel();
      resources_.release(device());
    }
    renderer_.reset();
    OffscreenTest::TearDown();
  }

  void frame(const FrameOptions& options) {
    renderer_->drawFrame(model_, camera_, options, request_);
    capture();
  }

  // Where the CPU processor puts a vertex with the registers of the last frame.
  std::pair<int, int> pixelOf(const SkinVertex& v) const {
    const ScreenPosition s = ClipToScreen(ProcessPosition(v, renderer_->registers()), kWidth, kHeight);
    return {static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y))};
  }

  SkinnedModel model_;
  Camera camera_;
  RenderResources resources_;
  RectSelectionRequest request_;
  std::unique_ptr<SceneRenderer> renderer_;
};

TEST_F(ScenePixels, SolidMeshIsLitAmbientPlusDiffuse) {
  frame({});
  // Normals face the camera and the light shines along the view: d = 1.
  // Red: min(1 × 1 + 0.5, 1), 0.5, 0.5; green: 0.5, min(0.4 + 0.5, 1), 0.5.
  EXPECT_TRUE(Near(at(55, 50), ToRgb(1, 0.5f, 0.5f)));
  EXPECT_TRUE(Near(at(105, 50), ToRgb(0.5f, 0.9f, 0.5f)));
  EXPECT_EQ(at(75, 50), ClearRgb()) << "the gap between the quads";
}

TEST_F(ScenePixels, WireframeMeshColourAndEmptyInside) {
  FrameOptions options;
  options.fillMode = FillMode::Wireframe;
  frame(options);
  const auto [x, y] = pixelOf(model_.skinnedMesh.vertices[0]);  // top-left corner of the red quad
  // c8 = c9 = the wireframe colour, lit head-on (d = 1): min(2 × colour, 1).
  EXPECT_TRUE(Near(at(x + 5, y), ToRgb(1, 254 / 255.0f, 1)));
  EXPECT_EQ(at(55, 50), ClearRgb());
}

TEST_F(ScenePixels, PointsRedThenBlueAtTheirVertices) {
  model_.selection.selected = {1, 0, 0, 0, 0, 0, 0, 1};
  RebuildPointList(model_.selection);
  FrameOptions options;
  options.vertexMode = true;
  frame(options);
  for (std::size_t i = 0; i < model_.vertexCount(); ++i) {
    const auto [x, y] = pixelOf(model_.skinnedMesh.vertices[i]);
    const Rgb expected = model_.selection.selected[i] ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
    // One pixel inside the 10-pixel square, away from the bone lines drawn on top.
    EXPECT_EQ(at(x + (i % 2 ? -3 : 3), y + 3), expected) << "vertex " << i;
  }
  // The program's alpha is its blue; the back buffer keeps none of it, or a
  // host composing with alpha would show red points as holes.
  EXPECT_TRUE(opaque());
}

TEST_F(ScenePixels, PointsBehindTheMeshAreHidden) {
  // A third quad in front of the red one hides the red quad's points.
  AddQuad(model_, {-2.5f, 1.5f, -1}, {-0.2f, 1.5f, -1}, {-0.2f, -1.5f, -1}, {-2.5f, -1.5f, -1}, 0, 0);
  fixtures::Finish(model_, {fixtures::Material(1, 0, 0), fixtures::Material(0, 0.4f, 0)},
                   fixtures::ChainSkeleton(2));
  FrameOptions options;
  options.vertexMode = true;
  frame(options);
  const auto [x, y] = pixelOf(model_.skinnedMesh.vertices[2]);
  EXPECT_TRUE(Near(at(x - 3, y - 3), ToRgb(1, 0.5f, 0.5f))) << "mesh colour, not the point";
  const auto [gx, gy] = pixelOf(model_.skinnedMesh.vertices[5]);
  EXPECT_EQ(at(gx - 3, gy - 3), (Rgb{0, 0, 255})) << "the green quad's points are in front of it";
}

TEST_F(ScenePixels, SelectedBoneDrawsOverTheMesh) {
  // Bone 1 turned a quarter about X, so it stands off the axes; the camera
  // turned a little.
  model_.skeleton.bones[1].poseRotation = AxisAngle(1, 0, 0, 1.5707964f);
  refreshCamera(camera_, 0, 0.5f, 0);
  FrameOptions options;
  options.selectedBone = 1;
  frame(options);
  // The middle of bone 1's spike: its rest point (0, 0, 1.5) carried by bone 1.
  const auto [x, y] = pixelOf(fixtures::BoundVertex({0, 0, 1.5f}, 1));
  EXPECT_EQ(at(x, y), (Rgb{255, 255, 0}));
}

TEST_F(ScenePixels, GridAndAxesDrawOverTheMesh) {
  FrameOptions options;
  options.overlays.gridXY = true;
  frame(options);
  const Rgb grid = ToRgb(111 / 255.0f, 111 / 255.0f, 127 / 255.0f);
  EXPECT_EQ(at(100, 50), grid) << "the line x = 1 across the green quad";
  EXPECT_EQ(at(60, 20), grid) << "the line x = −1 above the red quad";
  EXPECT_EQ(at(50, 40), grid) << "the line y = 1";
  EXPECT_EQ(at(80, 30), (Rgb{0, 255, 0})) << "the +Y axis over the line x = 0";
  EXPECT_EQ(at(100, 60), (Rgb{255, 0, 0})) << "the +X axis over the green quad";
}

TEST_F(ScenePixels, RubberBandOnTop) {
  FrameOptions options;
  options.overlays.dragRectVisible = true;
  options.overlays.dragStart = {30, 40};
  options.overlays.dragEnd = {130, 100};
  frame(options);
  EXPECT_EQ(at(30, 70), (Rgb{255, 255, 255}));
  EXPECT_EQ(at(100, 100), (Rgb{255, 255, 255}));
}
}  // namespace
}  // namespace posewright
