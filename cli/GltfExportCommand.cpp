#include "cli/GltfExportCommand.h"

#include <cstdio>
#include <deque>
#include <optional>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "gltf/GltfExport.h"
#include "image/TextureLoader.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace {
struct GltfArguments {
  std::string model;
  std::vector<std::string> animations;
  std::string output;
  gltf::ExportOptions options;
};

int Fail(const Status& status) {
  return cli::Failure("export", status.describe());
}

std::optional<GltfArguments> Parse(const std::vector<std::string>& args, int& status) {
  const cli::ParseResult parsed = cli::Parse(GltfExportSyntax(), args);
  if (!parsed.error.empty()) {
    status = cli::UsageError(GltfExportSyntax(), parsed.error + " for a glTF export");
    return std::nullopt;
  }
  GltfArguments result;
  result.model = parsed.arguments.operands[0];
  result.animations = parsed.arguments.values("--anim");
  result.output = *parsed.arguments.value("-o");
  result.options.sampleEveryFrame = parsed.arguments.has("--all-frames");
  return result;
}

// "walk.anm" → "walk".
std::string AnimationName(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
}  // namespace

const cli::Syntax& GltfExportSyntax() {
  static const cli::Syntax syntax{
      "export",
      {"MODEL.skm"},
      {{"--anim", "FILE.anm", "an animation to export, named after its file", false, true},
       {"--all-frames", "", "one sample per editor frame instead of one per keyframe"},
       {"-o", "OUT.glb|OUT.gltf", "the glTF 2.0 file to write", true}},
      "glTF 2.0 file from a model"};
  return syntax;
}

bool NamesGltfOutput(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "-o") return gltf::ContainerOfPath(args[i + 1]).has_value();
  }
  return false;
}

int RunGltfExport(const std::vector<std::string>& args) {
  int status = 0;
  const std::optional<GltfArguments> parsed = Parse(args, status);
  if (!parsed) return status;
  SkinnedModel model;
  if (Status read = ReadSkinnedMesh(model, parsed->model, LoadTextureImage); !read) return Fail(read);
  std::deque<Animation> animations;  // stable addresses for the named list
  std::vector<gltf::NamedAnimation> named;
  for (const std::string& path : parsed->animations) {
    Animation& animation = animations.emplace_back();
    animation.boneCount = model.skeleton.boneCount();
    if (Status read = ReadAnimationFile(animation, path); !read) return Fail(read);
    animation.name = AnimationName(path);
    named.push_back({animation.name, &animation});
  }
  if (Status written = gltf::WriteExport(parsed->output, model, named, parsed->options); !written) {
    return Fail(written);
  }
  return cli::kExitOk;
}
}  // namespace posewright
