// A whole editor frame compared with a committed picture: a textured,
// posed tube with its bones, the ring, a grid, selected and unselected
// points and the rubber band, at the editor's viewport size.
#include <gtest/gtest.h>

#include "ReferencePicture.h"
#include "gl/OffscreenViewport.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
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
  std::unique_ptr<OffscreenViewport> viewport;
  if (Status created = OffscreenViewport::Create(OffscreenViewport::kEditorWidth,
                                                 OffscreenViewport::kEditorHeight, viewport);
      !created) {
    GTEST_SKIP() << created.describe();
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
  options.selectedBone = 1;
  options.overlays.gridXZ = true;
  options.overlays.dragRectVisible = true;
  options.overlays.dragStart = {120, 90};
  options.overlays.dragEnd = {420, 400};
  viewport->drawFrame(model, camera, options);
  ExpectMatchesReference("tube_frame", viewport->width(), viewport->height(), viewport->readPixels());
}
}  // namespace
}  // namespace posewright
