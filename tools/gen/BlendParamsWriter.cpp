#include "tools/gen/BlendParamsWriter.h"

#include "fileio/TextWriter.h"

std::string FormatBlendingParameters(const Skeleton& skeleton) {
  TextWriter w;
  for (int32_t i = 1; i < skeleton.boneCount(); ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    w.line("%d %d %.4f %.4f", i, skeleton.bones[k].symmetricId, static_cast<double>(skeleton.blendParams[k].R),
           static_cast<double>(skeleton.blendParams[k].H));
  }
  return w.take();
}
