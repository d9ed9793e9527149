#include "editor/FrameLoop.h"

#include <algorithm>
#include <climits>

#include "editor/panels/KeyframePanel.h"

namespace posewright {

FrameLoop::FrameLoop(Application& app, ShellView& shell, GraphicsDevice& device, RenderResources& resources)
    : app_(app), shell_(shell), device_(device), renderer_(device, resources) {}

FrameLoop::~FrameLoop() {
  renderer_.releaseModel();
}

uint32_t FrameLoop::msUntilNextFrame(uint32_t nowMs) const {
  const uint32_t paced = pacer_.msUntilDue(nowMs);
  if (!app_.animation.playing || !clock_.running() || fixedSteps_) {
    return paced;
  }
  return std::max(paced, clock_.msUntilNextFrame(nowMs));
}

void FrameLoop::stepPlayback(uint32_t nowMs) {
  if (!app_.animation.playing) {
    clock_.stop();
    return;
  }
  int64_t skipped = 0;
  // Time 0 is shown only by the first frame after Play.
  if (fixedSteps_) {
    skipped = 0;
  } else if (!clock_.running() || app_.animation.currentTime == 0) {
    clock_.start(nowMs);
    shownFrame_ = 0;
  } else {
    const int64_t due = clock_.frameAt(nowMs);
    if (due <= shownFrame_) {
      return;  // drawn again before the clock moved on
    }
    skipped = due - shownFrame_ - 1;
    shownFrame_ = due;
  }
  shell_.keyframePanel().playbackFrame(app_.model.skeleton,
                                       static_cast<int32_t>(std::min<int64_t>(skipped, INT32_MAX)));
}

bool FrameLoop::frame(uint32_t nowMs, bool anyTime) {
  device_.setClipping(true);
  if (clearPending_) {
    clearPending_ = false;
    renderer_.beginFrame();
    renderer_.endFrame();
    return true;
  }
  if (!app_.canDraw() || !(anyTime || pacer_.due(nowMs))) {
    return false;
  }
  app_.selectedBoneItem = shell_.selectedBoneItem();
  pacer_.frameBegan(nowMs);
  renderer_.beginFrame();
  stepPlayback(nowMs);
  renderer_.setFillMode(app_.fillMode);
  const int32_t selectedBone = BoneIndexOfItem(app_.model.skeleton, app_.boneItems, app_.selectedBoneItem);
  const bool selecting = app_.selectionRequest.pending;
  renderer_.drawScene(app_.model, app_.camera, selectedBone, app_.vertexMode, app_.selectionRequest,
                      app_.weightView);
  if (selecting) {
    shell_.selectionChanged();
  }
  OverlayOptions overlays;
  overlays.gridXZ = app_.gridXZ;
  overlays.gridXY = app_.gridXY;
  overlays.gridYZ = app_.gridYZ;
  overlays.dragRectVisible = app_.mouse.dragRectVisible;
  overlays.dragStart = app_.mouse.dragStart;
  overlays.dragEnd = app_.mouse.dragEnd;
  renderer_.drawOverlays(overlays);
  renderer_.endFrame();
  return true;
}
}  // namespace posewright
