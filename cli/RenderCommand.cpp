// posewright-cli render: the editor's picture of a model, drawn offscreen and
// written as a PNG file, for thumbnails and for checking by eye.
#include <cstdio>
#include <optional>
#include <string>

#include "anim/PlayToTime.h"
#include "cli/AnimationInput.h"
#include "cli/Command.h"
#include "cli/TextureReport.h"
#include "gl/OffscreenViewport.h"
#include "image/PngWriter.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "render/Camera.h"

namespace posewright {

namespace {
const cli::Syntax kSyntax{
    "render",
    {"MODEL.skm"},
    {{"--anim", "FILE.anm", "the animation to pose the model with"},
     {"--time", "T", "the playback frame of the animation to draw, 0 or more"},
     {"--view", "front|top|side", "the camera of the editor's View menu"},
     {"--points", "", "draw the vertices as points"},
     {"--weights", "BONE", "colour the mesh by this bone's weights (an index or a name)"},
     {"-o", "OUT.png", "the PNG file to write", true}},
    "the editor's picture of a model"};

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
  return cli::UsageError(kSyntax, why);
}

// Fills args; returns an empty string or what is wrong.
std::string Parse(const std::vector<std::string>& a, RenderArgs& args) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, a);
  if (!parsed.error.empty()) {
    return parsed.error;
  }
  const cli::ParsedArguments& given = parsed.arguments;
  args.model = given.operands[0];
  args.output = *given.value("-o");
  args.animation = given.value("--anim").value_or("");
  args.points = given.has("--points");
  args.weightBone = given.value("--weights").value_or("");
  if (const std::optional<std::string> time = given.value("--time")) {
    const std::optional<int32_t> frame = cli::ParseTime(*time);
    if (!frame) {
      return "--time needs a frame number (0 or more)";
    }
    args.time = *frame;
    args.hasTime = true;
  }
  if (const std::optional<std::string> view = given.value("--view")) {
    if (*view != "front" && *view != "top" && *view != "side") {
      return "--view is front, top or side";
    }
    args.view = *view;
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
  const std::optional<int32_t> index = cli::ParseTime(text);
  return index && *index < skeleton.boneCount() ? *index : -1;
}

int Fail(const std::string& what, const Status& status) {
  return cli::Failure("render", what + ": " + status.describe());
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
      return cli::kExitFailed;
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

  std::unique_ptr<OffscreenViewport> viewport;
  if (Status created = OffscreenViewport::Create(OffscreenViewport::kEditorWidth,
                                                 OffscreenViewport::kEditorHeight, viewport);
      !created) {
    return cli::Failure("render", created.describe());
  }
  viewport->drawFrame(model, camera, options);
  if (Status written = WritePng(args.output, viewport->width(), viewport->height(), viewport->readPixels());
      !written) {
    return Fail(args.output, written);
  }
  return cli::kExitOk;
}

const CommandRegistration kRender({"render", {kSyntax}, Run});
}  // namespace
}  // namespace posewright
