// How the .x export writes the animation, and the Option dialog's rules that
// produce it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

class OptionDialogView;

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

/// The value of text read as an unsigned decimal number: digits only, with
/// spaces allowed before and after, at most 4294967295. Anything else — empty
/// text, a sign, other characters, a value beyond 32 bits — reads as 0.
uint32_t ParseUnsignedDecimal(std::string_view text);

/// Runs the Option dialog: shows rememberedFramesPerSecond, a clear all-frames
/// check box and the mesh-layout check box as rememberedMeshInFrame, waits for
/// the user, and returns 0 when cancelled; otherwise the entered value, negated
/// when the all-frames box is set. Every confirmation stores the entered value
/// (0 included) in rememberedFramesPerSecond and the mesh-layout box in
/// rememberedMeshInFrame. The result is 64-bit so that every unsigned 32-bit
/// value keeps its sign rule.
int64_t RunOptionDialog(OptionDialogView& view, uint32_t& rememberedFramesPerSecond,
                        bool& rememberedMeshInFrame);

/// The options a dialog result stands for: none for 0 (cancelled), one key
/// per keyframe for a positive value, all frames for a negative one.
std::optional<ExportOptions> ExportOptionsFromDialogResult(int64_t result);
