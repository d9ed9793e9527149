#include "skin/BlendingParametersFile.h"

#include <algorithm>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"
#include "fileio/TextWriter.h"

namespace {
Status LineError(const std::string& fileName, int line, const std::string& reason) {
  return Status::Error(kBlendingParametersError, fileName + ", line " + std::to_string(line) + ": " + reason);
}

bool RestIsBlank(KeyedLineReader& reader) {
  KeyedLine line;
  while (reader.next(line)) {
    if (!line.tokens.empty()) return false;
  }
  return true;
}
}  // namespace

std::string FormatBlendingParameters(const Skeleton& skeleton) {
  TextWriter out;
  const int32_t count =
      std::min<int32_t>(skeleton.boneCount(), static_cast<int32_t>(skeleton.blendParams.size()));
  for (int32_t i = 1; i < count; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    out.line("%d %d %.4f %.4f", i, skeleton.bones[k].symmetricId,
             static_cast<double>(skeleton.blendParams[k].R), static_cast<double>(skeleton.blendParams[k].H));
  }
  return out.take();
}

Status WriteBlendingParameters(const Skeleton& skeleton, const std::string& path) {
  return WriteFileAtomically(path, FormatBlendingParameters(skeleton));
}

Status ApplyBlendingParameters(Skeleton& skeleton, std::string_view text, const std::string& fileName) {
  const int32_t count =
      std::min<int32_t>(skeleton.boneCount(), static_cast<int32_t>(skeleton.blendParams.size()));
  KeyedLineReader reader(text);
  KeyedLine line;
  while (reader.next(line)) {
    if (line.tokens.empty() && RestIsBlank(reader)) {
      break;
    }
    if (line.truncated) {
      return LineError(fileName, line.number,
                       "the line is longer than " + std::to_string(kMaxKeyedLineLength) + " characters");
    }
    const int32_t i = line.intAt(0);
    if (i < 1 || i > count - 1) {
      return LineError(fileName, line.number,
                       "bone index " + std::to_string(i) + " is outside 1.." + std::to_string(count - 1));
    }
    const float R = line.floatAt(2);
    const float H = line.floatAt(3);
    if (!(R > 0.0f) || !(H > 0.0f)) {
      return LineError(fileName, line.number, "R and H must be above 0");
    }
    const std::size_t k = static_cast<std::size_t>(i);
    skeleton.bones[k].symmetricId = line.intAt(1);
    skeleton.blendParams[k] = BlendingParams{R, H};
  }
  return Status::Ok();
}

Status ReadBlendingParameters(Skeleton& skeleton, const std::string& path) {
  if (!skeleton.bonesLoaded) {
    return Status::Error(kBoneDataNotLoaded);
  }
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) {
    return Status::Error(kBlendingParametersError, path + ": the file cannot be read");
  }
  return ApplyBlendingParameters(skeleton, *bytes, FileNameOf(path));
}
