// `posewright-cli info` for blending parameter files (.prm): every bone the
// file sets, with its mirror partner, R and H. The file names no skeleton, so
// it is read against one of the largest size a file can address.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "fileio/FileBytes.h"
#include "skeleton/BoneDataReader.h"
#include "skin/BlendingParametersFile.h"

namespace {
int DescribeBlendingParameters(const std::string& path, bool json) {
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    std::fprintf(stderr, "posewright-cli info: cannot read %s\n", path.c_str());
    return 1;
  }
  // R stays 0 for every bone the file does not set: the reader never stores an R that is not above 0.
  Skeleton skeleton;
  skeleton.bones.resize(static_cast<std::size_t>(kMaxBoneCount));
  skeleton.resizePerBoneArrays();
  for (BlendingParams& p : skeleton.blendParams) p.R = 0.0f;
  if (Status s = ApplyBlendingParameters(skeleton, *text, FileNameOf(path)); !s) {
    std::fprintf(stderr, "posewright-cli info: %s\n", s.describe().c_str());
    return 1;
  }
  JsonWriter j;
  j.beginObject().key("file").value(path).key("bones").beginArray();
  if (!json) std::printf("%s: blending parameters\n", path.c_str());
  for (std::size_t b = 1; b < skeleton.bones.size(); ++b) {
    const BlendingParams& p = skeleton.blendParams[b];
    if (p.R == 0.0f) continue;
    const int32_t partner = skeleton.bones[b].symmetricId;
    if (json) {
      j.beginObject().key("bone").value(b).key("partner").value(partner);
      j.key("R").value(p.R).key("H").value(p.H).endObject();
    } else {
      std::printf("  bone %zu: partner %d, R %.4f, H %.4f\n", b, partner, static_cast<double>(p.R),
                  static_cast<double>(p.H));
    }
  }
  j.endArray().endObject();
  if (json) std::printf("%s\n", j.text().c_str());
  return 0;
}

const InfoFormatRegistration kBlendingParameters(InfoFormat{".prm", DescribeBlendingParameters});
}  // namespace
