// Blending parameters reader on arbitrary bytes, applied to a five-bone
// skeleton: it must never crash, and it may store only R and H above 0.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skeleton/BlendingParametersFile.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Skeleton skeleton;
  skeleton.bones.resize(5);
  skeleton.resizePerBoneArrays();
  skeleton.bonesLoaded = true;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Any input may be refused; the lines before a bad one still apply and are checked below.
  static_cast<void>(ApplyBlendingParameters(skeleton, text, "fuzz.prm"));
  for (const BlendingParams& p : skeleton.blendParams) {
    if (!(p.R > 0.0f) || !(p.H > 0.0f)) std::abort();
  }
  (void)FormatBlendingParameters(skeleton);
  return 0;
}
}  // namespace posewright
