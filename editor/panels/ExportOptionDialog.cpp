#include "editor/panels/ExportOptionDialog.h"

#include <string>

namespace posewright {

uint32_t ParseUnsignedDecimal(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin == end) {
    return 0;
  }
  uint64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') {
      return 0;
    }
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX) {
      return 0;
    }
  }
  return static_cast<uint32_t>(value);
}

int64_t RunOptionDialog(OptionDialogView& view, uint32_t& rememberedFramesPerSecond,
                        bool& rememberedMeshInFrame) {
  view.setFramesPerSecondText(std::to_string(rememberedFramesPerSecond));
  view.setWriteAllFramesChecked(false);
  view.setMeshInFrameChecked(rememberedMeshInFrame);
  if (!view.runModal()) {
    return 0;
  }
  const uint32_t value = ParseUnsignedDecimal(view.framesPerSecondText());
  rememberedFramesPerSecond = value;
  rememberedMeshInFrame = view.meshInFrameChecked();
  return view.writeAllFramesChecked() ? -int64_t{value} : int64_t{value};
}

std::optional<ExportOptions> ExportOptionsFromDialogResult(int64_t result) {
  if (result == 0) {
    return std::nullopt;
  }
  ExportOptions options;
  options.writeAllFrames = result < 0;
  options.framesPerSecond = static_cast<uint32_t>(result < 0 ? -result : result);
  return options;
}
}  // namespace posewright
