// posewright-cli export: a SkinnedMesh file (and optionally an animation) to a
// skinned-mesh .x file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "cli/TextureReport.h"
#include "cli/GltfExportCommand.h"
#include "export/SkinnedMeshXWriter.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "editor/panels/ExportOptionDialog.h"

namespace {
constexpr const char* kUsage =
    "export MODEL.skm [--anim FILE.anm] [--fps N] [--all-frames] [--mesh-in-frame] -o OUT.x";

struct ExportArguments {
  std::string model;
  std::string animation;
  std::string output;
  ExportOptions options;
};

int UsageError(const std::string& why) {
  std::fprintf(stderr, "posewright-cli export: %s\nusage: posewright-cli %s\n", why.c_str(), kUsage);
  return 2;
}

// Parses the arguments; on a mistake prints it with the usage and returns nothing.
std::optional<ExportArguments> Parse(const std::vector<std::string>& args, int& status) {
  ExportArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--all-frames") {
      parsed.options.writeAllFrames = true;
    } else if (a == "--mesh-in-frame") {
      parsed.options.meshInFrame = true;
    } else if (a == "--anim" || a == "--fps" || a == "-o") {
      if (!hasValue) {
        status = UsageError(a + " needs a value");
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (a == "--anim") {
        parsed.animation = value;
      } else if (a == "-o") {
        parsed.output = value;
      } else {
        parsed.options.framesPerSecond = ParseUnsignedDecimal(value);
        if (parsed.options.framesPerSecond == 0) {
          status = UsageError("--fps needs a whole number above 0, not '" + value + "'");
          return std::nullopt;
        }
      }
    } else if (!a.empty() && a[0] == '-') {
      status = UsageError("unknown option " + a);
      return std::nullopt;
    } else if (parsed.model.empty()) {
      parsed.model = a;
    } else {
      status = UsageError("more than one model file given");
      return std::nullopt;
    }
  }
  if (parsed.model.empty() || parsed.output.empty()) {
    status = UsageError("a model file and -o OUT.x are required");
    return std::nullopt;
  }
  return parsed;
}

int Fail(const Status& status) {
  std::fprintf(stderr, "posewright-cli export: %s\n", status.describe().c_str());
  return 1;
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
      return 1;
    }
  }
  if (Status written = WriteSkinnedMeshX(parsed->output, parsed->options, model, animation ? &*animation : nullptr);
      !written) {
    return Fail(written);
  }
  return 0;
}

const CommandRegistration kExport({"export", std::string(kUsage) + "   skinned-mesh .x file from a model", RunExport});
}  // namespace
