// Fuzz target for the SkinnedMesh reader. Besides never crashing, a file that
// reads and writes back must read again and write the same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SkinnedModel model;
  if (!ParseSkinnedMesh(text, "fuzz.skm", "", {}, model)) {
    return 0;
  }
  std::string first;
  if (!FormatSkinnedMesh(model, first)) {
    return 0;  // e.g. a value that prints longer than a line may be
  }
  SkinnedModel again;
  std::string second;
  if (!ParseSkinnedMesh(first, "fuzz.skm", "", {}, again) || !FormatSkinnedMesh(again, second) ||
      second != first) {
    std::abort();
  }
  return 0;
}
}  // namespace posewright
