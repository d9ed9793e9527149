// A whole editor frame compared with a committed picture: a textured,
// posed tube with its bones, the ring, a grid, selected and unselected
// points and the rubber band, at the editor's viewport size. Regenerate
// the picture after an intended change with POSEWRIGHT_UPDATE_REFERENCE=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fileio/FileBytes.h"
#include "fileio/PngWriter.h"
#include "gl/OffscreenViewport.h"
#include "skin/ImageDecoders.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"

namespace {
const std::string kReference = std::string(POSEWRIGHT_SOURCE_DIR) + "/tests/glpixel/reference/tube_frame.png";

TextureImage Checker() {
  TextureImage t{4, 4, {}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool dark = (x + y) % 2 == 0;
      for (uint8_t c : {static_cast<uint8_t>(dark ? 60 : 250), static_cast<uint8_t>(dark ? 90 : 240),
                        static_cast<uint8_t>(dark ? 200 : 120), uint8_t{255}}) {
        t.rgba.push_back(c);
      }
    }
  }
  return t;
}

TEST(ReferenceImage, TubeFrameMatchesTheCommittedPicture) {
  std::string why;
  auto viewport = OffscreenViewport::Create(OffscreenViewport::kEditorWidth, OffscreenViewport::kEditorHeight, &why);
  if (!viewport) {
    GTEST_SKIP() << "no offscreen OpenGL: " << why;
  }
  SkinnedModel model = fixtures::Tube(Checker());
  SetBonePose(model.skeleton.bones[1], AxisAngle(1, 0, 0, 0.6f));
  SetBonePose(model.skeleton.bones[2], AxisAngle(0, 1, 0, -0.5f));
  for (std::size_t i = 0; i < 40; ++i) {
    model.selection.selected[i * 3] = 1;
  }
  RebuildPointList(model.selection);
  Camera camera;
  camera.target = D3DXVECTOR3(0, 0, 1.5f);
  camera.distance = 6.0f;
  refreshCamera(camera, 0.4f, 0.6f, 0.0f);
  FrameOptions options;
  options.vertexMode = true;
  options.selectedBoneItem = 101;
  options.overlays.gridXZ = true;
  options.overlays.dragRectVisible = true;
  options.overlays.dragStart = {120, 90};
  options.overlays.dragEnd = {420, 400};
  viewport->drawFrame(model, camera, options);
  const std::vector<uint8_t> pixels = viewport->readPixels();
  const int width = viewport->width();
  const int height = viewport->height();

  if (std::getenv("POSEWRIGHT_UPDATE_REFERENCE") != nullptr) {
    ASSERT_TRUE(WritePng(kReference, width, height, pixels));
    GTEST_SKIP() << "reference written to " << kReference;
  }
  const auto bytes = ReadFileBytes(kReference);
  ASSERT_TRUE(bytes.has_value()) << kReference;
  const auto reference = DecodePng(*bytes);
  ASSERT_TRUE(reference.has_value());
  ASSERT_EQ(reference->width, width);
  ASSERT_EQ(reference->height, height);
  // Edges may move by a pixel between rasterizer versions; interiors must not.
  int differing = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(int{pixels[i + c]} - int{reference->rgba[i + c]}) > 2) {
        ++differing;
        break;
      }
    }
  }
  const int allowed = width * height / 500;
  if (differing > allowed) {
    const std::string actual = (std::filesystem::temp_directory_path() / "tube_frame_actual.png").string();
    (void)WritePng(actual, width, height, pixels);
    FAIL() << differing << " pixels differ (at most " << allowed << " may); this frame is in " << actual;
  }
}
}  // namespace
