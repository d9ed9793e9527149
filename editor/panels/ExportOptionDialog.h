// The Option dialog's rules: how its frames-per-second text reads, what it
// proposes and remembers, and the export options a confirmed dialog stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "editor/panels/ExportView.h"
#include "export/ExportOptions.h"

namespace posewright {

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
}  // namespace posewright
