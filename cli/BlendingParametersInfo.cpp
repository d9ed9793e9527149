// `posewright-cli info` for blending parameters files (.prm): every bone line
// up to the first bad one, read as for the largest skeleton a file can serve.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "fileio/FileBytes.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace {
int DescribeBlendingParameters(const std::string& path, bool json) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxBlendingParametersFileBytes, &why);
  if (!bytes) {
    std::fprintf(stderr, "posewright-cli info: %s: %s: the file cannot be read (%s)\n",
                 kBlendingParametersError, path.c_str(), why.c_str());
    return 1;
  }
  const BlendingParametersText r = ParseBlendingParameters(*bytes, FileNameOf(path), kMaxBoneCount);
  if (json) {
    JsonWriter j;
    j.beginObject().key("file").value(path).key("lines").value(r.entries.size());
    j.key("entries").beginArray();
    for (const BlendingParametersEntry& e : r.entries) {
      j.beginObject().key("bone").value(e.bone).key("symmetricId").value(e.symmetricId);
      j.key("R").value(e.params.R).key("H").value(e.params.H).endObject();
    }
    j.endArray().key("complete").value(r.status.ok).endObject();
    std::printf("%s\n", j.text().c_str());
  } else {
    std::printf("%s: blending parameters, %zu bone lines\n", path.c_str(), r.entries.size());
    for (const BlendingParametersEntry& e : r.entries) {
      std::printf("  bone %d: partner %d, R %.4f, H %.4f\n", e.bone, e.symmetricId,
                  static_cast<double>(e.params.R), static_cast<double>(e.params.H));
    }
  }
  if (!r.status) {
    std::fprintf(stderr, "posewright-cli info: %s\n", r.status.describe().c_str());
    return 1;
  }
  return 0;
}

const InfoFormatRegistration kBlendingParameters(InfoFormat{".prm", DescribeBlendingParameters});
}  // namespace
}  // namespace posewright
