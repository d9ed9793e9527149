#include "editor/FrameLoop.h"

#include "editor/panels/KeyframePanel.h"

FrameLoop::FrameLoop(Application& app, ShellView& shell, GraphicsDevice& device, RenderResources& resources)
    : app_(app), shell_(shell), device_(device), renderer_(device, resources) {}

FrameLoop::~FrameLoop() {
  renderer_.releaseModel();
}

bool FrameLoop::frame(uint32_t nowMs) {
  device_.setClipping(true);
  if (clearPending_) {
    clearPending_ = false;
    renderer_.beginFrame();
    renderer_.endFrame();
    return true;
  }
  if (!app_.canDraw() || !pacer_.due(nowMs)) {
    return false;
  }
  app_.selectedBoneItem = shell_.selectedBoneItem();
  pacer_.frameBegan(nowMs);
  renderer_.beginFrame();
  if (app_.animation.playing) {
    shell_.keyframePanel().playbackFrame(app_.model.skeleton);
  }
  renderer_.setFillMode(app_.fillMode);
  const int32_t selectedBone = BoneIndexOfItem(app_.model.skeleton, app_.boneItems, app_.selectedBoneItem);
  renderer_.drawScene(app_.model, app_.camera, selectedBone, app_.vertexMode, app_.selectionRequest);
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
