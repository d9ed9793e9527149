// The one object of an editor run: everything the commands, the panels and the
// frame loop work on, without any window-system or graphics-API type. The Qt
// window and panels hold a pointer to it once start-up is complete; a panel
// without it ignores input.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "anim/AnimationState.h"
#include "editor/MouseStateMachine.h"
#include "editor/panels/BoneItemMap.h"
#include "export/ExportOptions.h"
#include "history/History.h"
#include "model/SkinnedModel.h"
#include "render/Camera.h"
#include "render/GraphicsDevice.h"
#include "render/RectangleSelection.h"
#include "weighttools/SmoothWeights.h"
#include "weighttools/WeightCleanup.h"

namespace posewright {

/// The settings of Edit > Weights > Smooth…, Prune… and Limit….
struct WeightToolSettings {
  int smoothIterations = 1;
  float smoothStrength = kDefaultSmoothStrength;
  float pruneThreshold = kDefaultPruneThreshold;
  int limit = 4;
};

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
  /// The settings the weight tools' dialogs propose: the last ones confirmed
  /// in this run.
  WeightToolSettings weightToolSettings;
  /// The mesh coloured by the selected bone's weights (View > Rendering > Weights).
  bool weightView = false;
  /// Fill mode of the mesh pass (1 point, 2 wireframe, 3 solid).
  FillMode fillMode = FillMode::Solid;
  /// The frames-per-second value the next .x export's Option dialog proposes:
  /// the last one confirmed in this run.
  uint32_t rememberedFramesPerSecond = kDefaultFramesPerSecond;
  /// Whether the next .x export's Option dialog proposes the mesh inside the
  /// root frame: the last choice confirmed in this run.
  bool rememberedMeshInFrame = false;
  /// Every undoable change of the model and the animations, and what is saved.
  History history;
  /// The file the model was opened from or last saved to; empty for none.
  std::string modelPath;
  /// How modelPath opens again: 0 as a mesh (File > Open Data > Mesh, then its
  /// bone data), otherwise File > Open Data > SkinnedMesh with this type.
  int modelFileType = 0;

  /// True when a frame draws anything: both a mesh and a skeleton are loaded.
  bool canDraw() const { return model.meshLoaded && model.bonesLoaded(); }
};
}  // namespace posewright
