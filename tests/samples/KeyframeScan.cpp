#include "KeyframeScan.h"

#include "fileio/KeyedLineReader.h"

std::optional<GenAnimation> ScanKeyframes(std::string_view text, std::string* error) {
  KeyedLineReader reader(text);
  KeyedLine line;
  if (!reader.next(line) || !line.hasKey("NumBones:") || line.tokens.size() != 2) {
    *error = "no \"NumBones:\" header";
    return std::nullopt;
  }
  GenAnimation animation;
  animation.boneCount = line.intAt(1);
  while (reader.next(line)) {
    GenKeyframe key;
    if (!line.hasKey("Time:") || line.tokens.size() != 2) {
      *error = "line " + std::to_string(line.number) + ": expected \"Time:\"";
      return std::nullopt;
    }
    key.time = line.intAt(1);
    if (!reader.next(line) || !line.hasKey("Quaternions:") || line.tokens.size() != 1) {
      *error = "line " + std::to_string(line.number) + ": expected \"Quaternions:\"";
      return std::nullopt;
    }
    for (int b = 0; b < animation.boneCount; ++b) {
      if (!reader.next(line) || line.tokens.size() != 4) {
        *error = "line " + std::to_string(line.number) + ": expected four numbers";
        return std::nullopt;
      }
      key.rotations.push_back({line.floatAt(0), line.floatAt(1), line.floatAt(2), line.floatAt(3)});
    }
    animation.keys.push_back(std::move(key));
  }
  return animation;
}
