#include "skeleton/BlendingParametersFile.h"

#include <algorithm>
#include <utility>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"
#include "fileio/TextWriter.h"

namespace posewright {

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

BlendingParametersText ParseBlendingParameters(std::string_view text, const std::string& fileName,
                                               int32_t boneCount) {
  BlendingParametersText out;
  KeyedLineReader reader(text);
  KeyedLine line;
  while (reader.next(line)) {
    if (line.tokens.empty() && RestIsBlank(reader)) {
      break;
    }
    if (line.truncated) {
      out.status =
          LineError(fileName, line.number,
                    "the line is longer than " + std::to_string(kMaxKeyedLineLength) + " characters");
      break;
    }
    BlendingParametersEntry entry;
    entry.bone = line.intAt(0);
    if (entry.bone < 1 || entry.bone > boneCount - 1) {
      out.status = LineError(
          fileName, line.number,
          "bone index " + std::to_string(entry.bone) + " is outside 1.." + std::to_string(boneCount - 1));
      break;
    }
    entry.symmetricId = line.intAt(1);
    entry.params = BlendingParams{line.floatAt(2), line.floatAt(3)};
    if (!(entry.params.R > 0.0f) || !(entry.params.H > 0.0f)) {
      out.status = LineError(fileName, line.number, "R and H must be above 0");
      break;
    }
    out.entries.push_back(entry);
  }
  return out;
}

Status ApplyBlendingParameters(Skeleton& skeleton, std::string_view text, const std::string& fileName) {
  const int32_t count =
      std::min<int32_t>(skeleton.boneCount(), static_cast<int32_t>(skeleton.blendParams.size()));
  BlendingParametersText parsed = ParseBlendingParameters(text, fileName, count);
  for (const BlendingParametersEntry& entry : parsed.entries) {
    const std::size_t k = static_cast<std::size_t>(entry.bone);
    skeleton.bones[k].symmetricId = entry.symmetricId;
    skeleton.blendParams[k] = entry.params;
  }
  return std::move(parsed.status);
}

Status ReadBlendingParameters(Skeleton& skeleton, const std::string& path) {
  if (!skeleton.bonesLoaded) {
    return Status::Error(kBoneDataNotLoaded);
  }
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxBlendingParametersFileBytes, &why);
  if (!bytes) {
    return Status::Error(kBlendingParametersError, path + ": the file cannot be read (" + why + ")");
  }
  return ApplyBlendingParameters(skeleton, *bytes, FileNameOf(path));
}
}  // namespace posewright
