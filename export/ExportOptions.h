// How the .x export writes the animation.
#pragma once

#include <cstdint>

namespace posewright {

/// Editor frames per second: the export counts 60 editor frames to the second.
inline constexpr uint32_t kEditorFramesPerSecond = 60;
/// The frames-per-second value the first Option dialog of a run proposes.
inline constexpr uint32_t kDefaultFramesPerSecond = 60;

struct ExportOptions {
  /// Time ticks per second in the exported keys.
  uint32_t framesPerSecond = kDefaultFramesPerSecond;
  /// True: one interpolated key per editor frame; false: one key per keyframe.
  bool writeAllFrames = false;
  /// True: the mesh is written inside the root frame, where Assimp-based tools
  /// look for it; false: at the top level with a {thisMesh} reference in the
  /// root frame, the layout the Direct3D SkinnedMesh loaders expect.
  bool meshInFrame = false;
};

/// Key time ticks per editor frame: framesPerSecond / 60, truncated (4800
/// gives 80, 60 to 119 give 1, below 60 gives 0: the all-frames export then
/// writes one key per tick instead, see MatrixKeyCursor).
inline uint32_t TicksPerEditorFrame(const ExportOptions& options) {
  return options.framesPerSecond / kEditorFramesPerSecond;
}
}  // namespace posewright
