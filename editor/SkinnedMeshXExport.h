// The .x export command: asks for the export options and writes the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "anim/Animation.h"
#include "editor/panels/ExportView.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// Shown when the Option dialog is cancelled or confirmed with 0.
inline constexpr std::string_view kExportCancelledMessage = "ファイルの保存をキャンセルしました";
/// Caption of every message box of the export.
inline constexpr std::string_view kExportCaption = "Save *.x";

/// Exports model and animation (may be null: no animation set) to fileName.
/// A model without a bound mesh and a skeleton is refused with a message
/// before any dialog. Otherwise the Option dialog runs (RunOptionDialog, which
/// updates rememberedFramesPerSecond and rememberedMeshInFrame); a result of 0
/// shows the cancel message and writes nothing; otherwise the file is written
/// with WriteSkinnedMeshX, the mesh inside the root frame when that box was
/// set, and a failure is shown with its reason. Returns true when a file was
/// written.
bool ExportSkinnedMeshX(ExportView& view, uint32_t& rememberedFramesPerSecond, bool& rememberedMeshInFrame,
                        const std::string& fileName, const SkinnedModel& model, const Animation* animation);
}  // namespace posewright
