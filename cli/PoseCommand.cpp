// posewright-cli pose: where every vertex of a SkinnedMesh model lies at a
// playback time of an animation, computed as the viewport's skinning does.
#include <optional>
#include <string>
#include <vector>

#include "anim/AnimationFile.h"
#include "anim/PlayToTime.h"
#include "anim/PosedVertices.h"
#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "editor/AnimationCommands.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace {

const cli::Syntax kSyntax{"pose",
                          {"MODEL.skm"},
                          {{"--anim", "FILE.anm", "the animation to play", true},
                           {"--time", "T", "the playback frame to pose, 0 or more", true},
                           {"-o", "OUT.txt", "the text file of vertex positions to write", true}},
                          "skinned vertex positions at a playback time"};

int Fail(const std::string& message) {
  return cli::Failure("pose", message);
}

int RunPose(const std::vector<std::string>& args) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) return cli::UsageError(kSyntax, parsed.error);
  const std::string& modelPath = parsed.arguments.operands[0];
  const std::string animationPath = *parsed.arguments.value("--anim");
  const std::string outputPath = *parsed.arguments.value("-o");
  const std::string timeText = *parsed.arguments.value("--time");
  const std::optional<int32_t> time = cli::ParseTime(timeText);
  if (!time)
    return cli::UsageError(kSyntax, "--time needs a whole number of frames (0 or more), not " + timeText);

  SkinnedModel model;
  if (Status s = ReadSkinnedMesh(model, modelPath); !s) return Fail(s.describe());

  Animation animation;
  animation.boneCount = model.skeleton.boneCount();
  animation.name = FitAnimationName(FileNameOf(animationPath));
  if (!ReadAnimationForCommand("pose", animationPath, animation)) return cli::kExitFailed;
  if (Status s = PoseAtPlaybackTime(model.skeleton, animation, *time); !s) return Fail(s.describe());
  if (Status s = WriteFileAtomically(outputPath, FormatPosedVertices(model)); !s) return Fail(s.describe());
  return cli::kExitOk;
}

const CommandRegistration registration({"pose", {kSyntax}, RunPose});

}  // namespace
}  // namespace posewright
