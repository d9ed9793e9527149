// posewright-cli export: a SkinnedMesh file (and optionally an animation) to a
// skinned-mesh .x file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "cli/GltfExportCommand.h"
#include "cli/TextureReport.h"
#include "editor/panels/ExportOptionDialog.h"
#include "export/SkinnedMeshXWriter.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace {
const cli::Syntax kSyntax{
    "export",
    {"MODEL.skm"},
    {{"--anim", "FILE.anm",
      "the animation to export (a glTF export takes several, each named after its file)"},
     {"--fps", "N", "time ticks per second in the keys of a .x export (default 60)"},
     {"--all-frames", "", "one key per editor frame instead of one per keyframe"},
     {"--mesh-in-frame", "", "the mesh inside the root frame of a .x export"},
     {"-o", "OUT.x", "the file to write; a .glb or .gltf name writes glTF 2.0", true}},
    "skinned-mesh .x file from a model"};

struct ExportArguments {
  std::string model;
  std::string animation;
  std::string output;
  ExportOptions options;
};

// Parses the arguments; on a mistake prints it with the usage and returns nothing.
std::optional<ExportArguments> Parse(const std::vector<std::string>& args, int& status) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) {
    status = cli::UsageError(kSyntax, parsed.error);
    return std::nullopt;
  }
  const cli::ParsedArguments& a = parsed.arguments;
  ExportArguments result;
  result.model = a.operands[0];
  result.animation = a.value("--anim").value_or("");
  result.output = *a.value("-o");
  result.options.writeAllFrames = a.has("--all-frames");
  result.options.meshInFrame = a.has("--mesh-in-frame");
  if (const std::optional<std::string> fps = a.value("--fps")) {
    result.options.framesPerSecond = ParseUnsignedDecimal(*fps);
    if (result.options.framesPerSecond == 0) {
      status = cli::UsageError(kSyntax, "--fps needs a whole number above 0, not '" + *fps + "'");
      return std::nullopt;
    }
  }
  return result;
}

int Fail(const Status& status) {
  return cli::Failure("export", status.describe());
}

int RunExport(const std::vector<std::string>& args) {
  if (NamesGltfOutput(args)) {
    return RunGltfExport(args);
  }
  int status = 0;
  const std::optional<ExportArguments> parsed = Parse(args, status);
  if (!parsed) {
    return status;
  }
  // Textures are decoded as the editor decodes them: the export names a
  // material's texture only when its image loads, and says so when it does not.
  SkinnedModel model;
  TextureReport textures;
  if (Status read = ReadSkinnedMesh(model, parsed->model, textures.loader()); !read) {
    return Fail(read);
  }
  textures.warn("export", parsed->model, model, "exported without it");
  std::optional<Animation> animation;
  if (!parsed->animation.empty()) {
    animation.emplace();
    animation->boneCount = model.skeleton.boneCount();
    if (!ReadAnimationForCommand("export", parsed->animation, *animation)) {
      return cli::kExitFailed;
    }
  }
  if (Status written =
          WriteSkinnedMeshX(parsed->output, parsed->options, model, animation ? &*animation : nullptr);
      !written) {
    return Fail(written);
  }
  return cli::kExitOk;
}

const CommandRegistration kExport({"export", {kSyntax, GltfExportSyntax()}, RunExport});
}  // namespace
}  // namespace posewright
