// The one object of an editor run: everything the commands, the panels and the
// frame loop work on, without any window-system or graphics-API type. The Qt
// window and panels hold a pointer to it once start-up is complete; a panel
// without it ignores input.
#pragma once

#include <array>
#include <cstdint>

#include "anim/AnimationState.h"
#include "render/Camera.h"
#include "editor/MouseStateMachine.h"
#include "editor/panels/BoneItemMap.h"
#include "render/RectangleSelection.h"
#include "export/ExportOptions.h"
#include "render/GraphicsDevice.h"
#include "model/SkinnedModel.h"

struct Application {
  /// The loop runs while true; closing the main window sets it false.
  bool running = true;
  /// One-time set-up of the Weight Control panel done.
  bool weightPanelReady = false;
  /// One-time set-up of the Keyframe panel done.
  bool keyframePanelReady = false;
  /// Reference grids shown.
  bool gridXZ = false;
  bool gridYZ = false;
  bool gridXY = false;
  /// Vertices shown as points and selectable with the rubber band.
  bool vertexMode = false;
  /// The Bone panel's selected entry, read again every frame.
  BoneTreeItem selectedBoneItem = 0;
  /// The Bone panel's entry of each bone of model.skeleton; refilled with the
  /// bone list (FillBoneTree), emptied with it.
  BoneItemMap boneItems;
  /// The orbit camera and its light.
  Camera camera;
  /// Mesh, skeleton, weights and vertex selection.
  SkinnedModel model;
  /// The animation list, the naming counter, playback and the time window.
  AnimationState animation;
  /// Bone Control slider angles in degrees (slider position − 180).
  std::array<int32_t, 3> sliderAngles{0, 0, 0};
  /// Buttons, drag corners, the rubber band's visibility, the last orbit point.
  MouseState mouse;
  /// A rectangle selection waiting for the next drawn frame.
  RectSelectionRequest selectionRequest;
  /// Fill mode of the mesh pass (1 point, 2 wireframe, 3 solid).
  FillMode fillMode = FillMode::Solid;
  /// The frames-per-second value the next .x export's Option dialog proposes:
  /// the last one confirmed in this run.
  uint32_t rememberedFramesPerSecond = kDefaultFramesPerSecond;

  /// True when a frame draws anything: both a mesh and a skeleton are loaded.
  bool canDraw() const { return model.meshLoaded && model.bonesLoaded(); }
};
