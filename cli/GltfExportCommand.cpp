#include "cli/GltfExportCommand.h"

#include <cstdio>
#include <deque>
#include <optional>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "gltf/GltfExport.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "image/TextureLoader.h"

namespace {
constexpr const char* kUsage = "export MODEL.skm [--anim FILE.anm]... [--all-frames] -o OUT.glb|OUT.gltf";

struct GltfArguments {
  std::string model;
  std::vector<std::string> animations;
  std::string output;
  gltf::ExportOptions options;
};

int UsageError(const std::string& why) {
  std::fprintf(stderr, "posewright-cli export: %s\nusage: posewright-cli %s\n", why.c_str(), kUsage);
  return 2;
}

int Fail(const Status& status) {
  std::fprintf(stderr, "posewright-cli export: %s\n", status.describe().c_str());
  return 1;
}

std::optional<GltfArguments> Parse(const std::vector<std::string>& args, int& status) {
  GltfArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--all-frames") {
      parsed.options.sampleEveryFrame = true;
    } else if (a == "--anim" || a == "-o") {
      if (i + 1 >= args.size()) {
        status = UsageError(a + " needs a value");
        return std::nullopt;
      }
      (a == "-o" ? parsed.output : parsed.animations.emplace_back()) = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      status = UsageError("unknown option " + a + " for a glTF export");
      return std::nullopt;
    } else if (parsed.model.empty()) {
      parsed.model = a;
    } else {
      status = UsageError("more than one model file given");
      return std::nullopt;
    }
  }
  if (parsed.model.empty()) {
    status = UsageError("a model file is required");
    return std::nullopt;
  }
  return parsed;
}

// "walk.anm" → "walk".
std::string AnimationName(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
}  // namespace

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
  return 0;
}
