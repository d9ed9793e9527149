// posewright-cli pose: where every vertex of a SkinnedMesh model lies at a
// playback time of an animation, computed as the viewport's skinning does.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "editor/AnimationCommands.h"
#include "anim/AnimationFile.h"
#include "anim/PlayToTime.h"
#include "anim/PosedVertices.h"
#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace {

const char kUsage[] = "pose MODEL.skm --anim FILE.anm --time T -o OUT.txt   skinned vertex positions at a playback time";

int Fail(const std::string& message) {
  std::fprintf(stderr, "posewright-cli pose: %s\n", message.c_str());
  return 1;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "posewright-cli pose: %s\nusage: posewright-cli %s\n", message.c_str(), kUsage);
  return 2;
}

std::optional<int32_t> ParseTime(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

int RunPose(const std::vector<std::string>& args) {
  std::string modelPath, animationPath, outputPath, timeText;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* option = a == "--anim" ? &animationPath : a == "--time" ? &timeText : a == "-o" ? &outputPath : nullptr;
    if (option != nullptr) {
      if (i + 1 >= args.size()) return Usage(a + " needs a value");
      *option = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option " + a);
    } else if (modelPath.empty()) {
      modelPath = a;
    } else {
      return Usage("unexpected argument " + a);
    }
  }
  if (modelPath.empty() || animationPath.empty() || timeText.empty() || outputPath.empty()) {
    return Usage("MODEL.skm, --anim, --time and -o are all required");
  }
  const std::optional<int32_t> time = ParseTime(timeText);
  if (!time) return Usage("--time needs a whole number of frames, not " + timeText);

  SkinnedModel model;
  if (Status s = ReadSkinnedMesh(model, modelPath); !s) return Fail(s.describe());

  Animation animation;
  animation.boneCount = model.skeleton.boneCount();
  animation.name = FitAnimationName(FileNameOf(animationPath));
  if (!ReadAnimationForCommand("pose", animationPath, animation)) return 1;
  if (Status s = PoseAtPlaybackTime(model.skeleton, animation, *time); !s) return Fail(s.describe());
  if (Status s = WriteFileAtomically(outputPath, FormatPosedVertices(model)); !s) return Fail(s.describe());
  return 0;
}

const CommandRegistration registration({"pose", kUsage, RunPose});

}  // namespace
