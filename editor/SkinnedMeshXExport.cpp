#include "editor/SkinnedMeshXExport.h"

#include "editor/panels/ExportOptionDialog.h"
#include "export/SkinnedMeshXContent.h"
#include "export/SkinnedMeshXWriter.h"

namespace posewright {

namespace {
void ShowFailure(ExportView& view, const Status& status) {
  view.showMessage(status.message, std::string(kExportCaption), status.detail);
}
}  // namespace

bool ExportSkinnedMeshX(ExportView& view, uint32_t& rememberedFramesPerSecond, bool& rememberedMeshInFrame,
                        const std::string& fileName, const SkinnedModel& model, const Animation* animation) {
  // Nothing to export: say so before asking for options.
  if (Status possible = CheckSkinnedMeshXExport(ExportOptions{}, model, nullptr); !possible) {
    ShowFailure(view, possible);
    return false;
  }
  std::optional<ExportOptions> options = ExportOptionsFromDialogResult(
      RunOptionDialog(view.optionDialog(), rememberedFramesPerSecond, rememberedMeshInFrame));
  if (!options) {
    view.showMessage(std::string(kExportCancelledMessage), std::string(kExportCaption), {});
    return false;
  }
  options->meshInFrame = rememberedMeshInFrame;
  if (Status written = WriteSkinnedMeshX(fileName, *options, model, animation); !written) {
    ShowFailure(view, written);
    return false;
  }
  return true;
}
}  // namespace posewright
