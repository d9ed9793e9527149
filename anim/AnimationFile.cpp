#include "anim/AnimationFile.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"
#include "fileio/TextWriter.h"

namespace posewright {

namespace {

const char kAnimationSaveError[] = "Animation Save Error";

Status Stopped(const std::string& fileName, int line, const std::string& why) {
  return Status::Error("File Format Error", fileName + ", line " + std::to_string(line) + ": " + why);
}

// True when no line from here on holds a token.
bool OnlyBlankLinesLeft(KeyedLineReader& reader) {
  KeyedLine line;
  while (reader.next(line)) {
    if (!line.tokens.empty()) return false;
  }
  return true;
}

}  // namespace

std::string FormatAnimationFile(const Animation& animation) {
  TextWriter out;
  out.line("NumBones: %d", animation.boneCount);
  for (const Keyframe& key : animation.keys()) {
    out.line("Time: %d", key.time);
    out.line("Quaternions: ");
    for (int32_t i = 0; i < animation.boneCount; ++i) {
      const D3DXQUATERNION q =
          i < key.boneCount() ? key.rotations[static_cast<std::size_t>(i)] : D3DXQUATERNION();
      out.line("%.4f %.4f %.4f %.4f", static_cast<double>(q.x), static_cast<double>(q.y),
               static_cast<double>(q.z), static_cast<double>(q.w));
    }
  }
  return out.take();
}

Status CheckAnimationWritable(const Animation& animation, const std::string& fileName) {
  for (const Keyframe& key : animation.keys()) {
    const std::string where = fileName + ": the keyframe at time " + std::to_string(key.time);
    if (key.boneCount() > animation.boneCount) {
      return Status::Error(kAnimationSaveError, where + " holds " + std::to_string(key.boneCount()) +
                                                    " rotations, but the animation is for " +
                                                    std::to_string(animation.boneCount) + " bones");
    }
    for (const D3DXQUATERNION& q : key.rotations) {
      if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z) || !std::isfinite(q.w)) {
        return Status::Error(kAnimationSaveError,
                             where + " holds a rotation that is infinite or not a number");
      }
    }
  }
  return Status::Ok();
}

Status WriteAnimationFile(const Animation& animation, const std::string& path) {
  if (Status s = CheckAnimationWritable(animation, FileNameOf(path)); !s) {
    return s;
  }
  return WriteFileAtomically(path, FormatAnimationFile(animation));
}

Status ReadAnimationText(Animation& animation, std::string_view text, const std::string& fileName) {
  KeyedLineReader reader(text);
  KeyedLine line;
  if (!reader.next(line)) {
    return Stopped(fileName, 1, "the file is empty");
  }
  if (!line.hasKey("NumBones:")) {
    return Stopped(fileName, line.number, "expected \"NumBones:\"");
  }
  if (line.intAt(1) != animation.boneCount) {
    return Stopped(fileName, line.number,
                   "the file is for " + std::to_string(line.intAt(1)) + " bones, the skeleton has " +
                       std::to_string(animation.boneCount));
  }
  const std::size_t boneCount = static_cast<std::size_t>(std::max<int32_t>(animation.boneCount, 0));
  std::vector<D3DXQUATERNION> rotations;
  while (reader.next(line)) {
    if (!line.hasKey("Time:")) {
      if (line.tokens.empty() && OnlyBlankLinesLeft(reader)) {
        return Status::Ok();
      }
      return Stopped(fileName, line.number, "expected \"Time:\"");
    }
    const int32_t time = line.intAt(1);
    if (!reader.next(line)) {
      return Stopped(fileName, reader.lineNumber() + 1, "the file ends before \"Quaternions:\"");
    }
    if (!line.hasKey("Quaternions:")) {
      return Stopped(fileName, line.number, "expected \"Quaternions:\"");
    }
    rotations.assign(boneCount, D3DXQUATERNION());
    std::size_t read = 0;
    while (read < boneCount && reader.next(line)) {
      rotations[read++] = D3DXQUATERNION(line.floatAt(0), line.floatAt(1), line.floatAt(2), line.floatAt(3));
    }
    animation.InsertKey(rotations, time);
    if (read < boneCount) {
      return Stopped(fileName, reader.lineNumber() + 1,
                     "the file ends after " + std::to_string(read) + " of " + std::to_string(boneCount) +
                         " rotations of the keyframe at time " + std::to_string(time));
    }
  }
  return Status::Ok();
}

Status ReadAnimationFile(Animation& animation, const std::string& path) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxAnimationFileBytes, &why);
  if (!bytes) {
    return Status::Error("Cannot read the file", path + " (" + why + ")");
  }
  return ReadAnimationText(animation, *bytes, FileNameOf(path));
}
}  // namespace posewright
