#include "cli/AnimationInput.h"

#include <cstdio>
#include <optional>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"

namespace posewright {

bool ReadAnimationForCommand(const std::string& command, const std::string& path, Animation& animation) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxAnimationFileBytes, &why);
  if (!bytes) {
    std::fprintf(stderr, "posewright-cli %s: Cannot read the file: %s (%s)\n", command.c_str(), path.c_str(),
                 why.c_str());
    return false;
  }
  const Status read = ReadAnimationText(animation, *bytes, FileNameOf(path));
  if (!read && animation.keys().empty()) {
    std::fprintf(stderr, "posewright-cli %s: %s\n", command.c_str(), read.describe().c_str());
    return false;
  }
  if (!read) {
    std::fprintf(stderr, "posewright-cli %s: warning: %s (using the %zu keyframes before it)\n",
                 command.c_str(), read.describe().c_str(), animation.keys().size());
  } else if (!bytes->empty() && bytes->back() != '\n') {
    std::fprintf(
        stderr,
        "posewright-cli %s: warning: %s does not end with a line break: its last line may be cut short "
        "(using the %zu keyframes read, the last one as far as it goes)\n",
        command.c_str(), path.c_str(), animation.keys().size());
  }
  return true;
}
}  // namespace posewright
