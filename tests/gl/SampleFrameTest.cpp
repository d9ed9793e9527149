// The sample character as a user first sees it animated: samples/character.x
// bound to character.dat with character.prm, weights computed, posed by the
// walk at frame 20, drawn at the editor's size and compared with a committed
// picture.
#include <gtest/gtest.h>

#include "ReferencePicture.h"
#include "anim/AnimationFile.h"
#include "anim/PlayToTime.h"
#include "gl/OffscreenViewport.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "render/RectangleSelection.h"
#include "skeleton/BlendingParametersFile.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
const std::string kSamples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";

TEST(SampleFrame, WalkingCharacterMatchesTheCommittedPicture) {
  std::unique_ptr<OffscreenViewport> viewport;
  if (Status created = OffscreenViewport::Create(OffscreenViewport::kEditorWidth,
                                                 OffscreenViewport::kEditorHeight, viewport);
      !created) {
    GTEST_SKIP() << created.describe();
  }
  SkinnedModel model;
  ASSERT_TRUE(LoadMesh(model, kSamples + "character.x"));
  ASSERT_TRUE(LoadBoneData(model, kSamples + "character.dat"));
  ASSERT_TRUE(ReadBlendingParameters(model.skeleton, kSamples + "character.prm"));
  ComputeBlendWeights(model, 1);
  Animation walk;
  walk.boneCount = model.skeleton.boneCount();
  ASSERT_TRUE(ReadAnimationFile(walk, kSamples + "walk.anm"));
  ASSERT_TRUE(PoseAtPlaybackTime(model.skeleton, walk, 20));

  // F4 with every vertex selected, then F3 and a quarter turn towards the side.
  model.selection.selected.assign(model.vertexCount(), 1);
  Camera camera;
  CentreCameraOn(camera, selectionCentre(model));
  model.selection.reset(model.vertexCount());
  refreshCamera(camera, 0.2f, -0.6f, -5.0f);
  FrameOptions options;
  options.selectedBone = 5;
  options.overlays.gridXZ = true;
  viewport->drawFrame(model, camera, options);
  ExpectMatchesReference("sample_walk", viewport->width(), viewport->height(), viewport->readPixels());
}
}  // namespace
}  // namespace posewright
