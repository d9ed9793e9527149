// posewright-cli render: the editor's picture of a model, drawn offscreen and
// written as a PNG file, for thumbnails and for checking by eye.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "anim/PlayToTime.h"
#include "render/Camera.h"
#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "cli/TextureReport.h"
#include "image/PngWriter.h"
#include "gl/OffscreenViewport.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace {
constexpr const char* kUsage =
    "render MODEL.skm [--anim FILE.anm --time T] [--view front|top|side] [--points] [--weights BONE] "
    "-o OUT.png   "
    "the editor's picture of a model";

struct RenderArgs {
  std::string model;
  std::string animation;
  bool hasTime = false;
  int32_t time = 0;
  std::string view = "front";
  bool points = false;
  /// --weights: a bone index or name, resolved once the model is read.
  std::string weightBone;
  std::string output;
};

int Usage(const std::string& why) {
  std::fprintf(stderr, "posewright-cli render: %s\nusage: posewright-cli %s\n", why.c_str(), kUsage);
  return 2;
}

bool ParseTime(const std::string& text, int32_t& out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > INT32_MAX) {
    return false;
  }
  out = static_cast<int32_t>(value);
  return true;
}

// Fills args; returns an empty string or what is wrong.
std::string Parse(const std::vector<std::string>& a, RenderArgs& args) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::string& word = a[i];
    const bool hasValue = i + 1 < a.size();
    if (word == "--anim" || word == "--time" || word == "--view" || word == "--weights" || word == "-o") {
      if (!hasValue) {
        return word + " needs a value";
      }
      const std::string& value = a[++i];
      if (word == "--anim") {
        args.animation = value;
      } else if (word == "--time") {
        if (!ParseTime(value, args.time)) {
          return "--time needs a frame number (0 or more)";
        }
        args.hasTime = true;
      } else if (word == "--weights") {
        args.weightBone = value;
      } else if (word == "--view") {
        if (value != "front" && value != "top" && value != "side") {
          return "--view is front, top or side";
        }
        args.view = value;
      } else {
        args.output = value;
      }
    } else if (word == "--points") {
      args.points = true;
    } else if (!word.empty() && word[0] == '-') {
      return "unknown option " + word;
    } else if (args.model.empty()) {
      args.model = word;
    } else {
      return "more than one model given";
    }
  }
  if (args.model.empty()) {
    return "no model given";
  }
  if (args.output.empty()) {
    return "no output file given (-o OUT.png)";
  }
  if (args.hasTime && args.animation.empty()) {
    return "--time needs --anim";
  }
  return {};
}

// The bone named by text (its index or its name), or -1 when the skeleton has none such.
int32_t FindBone(const Skeleton& skeleton, const std::string& text) {
  for (int32_t b = 0; b < skeleton.boneCount(); ++b) {
    if (skeleton.bones[static_cast<std::size_t>(b)].name == text) {
      return b;
    }
  }
  int32_t index = 0;
  return ParseTime(text, index) && index < skeleton.boneCount() ? index : -1;
}

int Fail(const std::string& what, const Status& status) {
  std::fprintf(stderr, "posewright-cli render: %s: %s\n", what.c_str(), status.describe().c_str());
  return 1;
}

int Run(const std::vector<std::string>& argv) {
  RenderArgs args;
  if (const std::string problem = Parse(argv, args); !problem.empty()) {
    return Usage(problem);
  }
  SkinnedModel model;
  TextureReport textures;
  if (Status read = ReadSkinnedMesh(model, args.model, textures.loader()); !read) {
    return Fail(args.model, read);
  }
  // Texture names resolve against the model's folder; say which ones were not
  // found there rather than silently drawing those materials untextured.
  textures.warn("render", args.model, model, "drawn without it");
  if (!args.animation.empty()) {
    Animation animation;
    animation.boneCount = model.skeleton.boneCount();
    if (!ReadAnimationForCommand("render", args.animation, animation)) {
      return 1;
    }
    if (Status posed = PoseAtPlaybackTime(model.skeleton, animation, args.time); !posed) {
      return Fail(args.animation, posed);
    }
  }

  Camera camera;
  if (args.view == "top") {
    ViewFromTop(camera);
  } else if (args.view == "side") {
    ViewFromSide(camera);
  } else {
    ViewFromFront(camera);
  }
  FrameOptions options;
  options.vertexMode = args.points;
  // As after opening the file in the editor: the root is the selected bone.
  options.selectedBone = 0;
  if (!args.weightBone.empty()) {
    options.selectedBone = FindBone(model.skeleton, args.weightBone);
    if (options.selectedBone < 0) {
      return Usage("--weights: the model has no bone " + args.weightBone + " (bones 0.." +
                   std::to_string(model.skeleton.boneCount() - 1) + ")");
    }
    options.weightView = true;
  }

  std::string why;
  auto viewport = OffscreenViewport::Create(OffscreenViewport::kEditorWidth, OffscreenViewport::kEditorHeight, &why);
  if (!viewport) {
    std::fprintf(stderr, "posewright-cli render: no offscreen OpenGL: %s\n", why.c_str());
    return 1;
  }
  viewport->drawFrame(model, camera, options);
  if (Status written = WritePng(args.output, viewport->width(), viewport->height(), viewport->readPixels());
      !written) {
    return Fail(args.output, written);
  }
  return 0;
}

const CommandRegistration kRender({"render", kUsage, Run});
}  // namespace
