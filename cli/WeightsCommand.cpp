// posewright-cli weights: the weight tools of Edit > Weights on a SkinnedMesh
// file, applied in the order given, the result saved as a SkinnedMesh file.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Command.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "weighttools/MirrorWeights.h"
#include "weighttools/SmoothWeights.h"
#include "weighttools/WeightCleanup.h"

namespace posewright {

namespace {
const cli::Syntax kSyntax{
    "weights",
    {"MODEL.skm"},
    {{"--normalise", "", "each vertex's weights scaled to sum to 1"},
     {"--mirror", "l2r|r2l", "weights mirrored left to right or right to left"},
     {"--smooth", "N[:S]", "N smoothing passes (1..1000) at strength S (above 0, at most 1)"},
     {"--prune", "T", "weights below T removed (T from 0, below 1)"},
     {"--limit", "K", "at most K (1..4) bones per vertex"},
     {"--select", "B[,B...]", "only the vertices weighted by these bones"},
     {"-o", "OUT.skm", "the SkinnedMesh file to write", true}},
    "weight tools in the order given"};

int Usage(const std::string& message) {
  return cli::UsageError(kSyntax, message);
}

int Fail(const std::string& message) {
  return cli::Failure("weights", message);
}

// The whole of text as a number of type T, or nothing.
template <class T>
std::optional<T> Number(const std::string& text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

enum class Tool { Normalise, Mirror, Smooth, Prune, Limit };

struct Step {
  Tool tool = Tool::Normalise;
  /// As typed, for the report and messages: "--smooth 10:0.5".
  std::string label;
  MirrorDirection direction = MirrorDirection::LeftToRight;
  SmoothOptions smooth;
  float threshold = kDefaultPruneThreshold;
  int limit = 4;
};

struct WeightsArguments {
  std::string model;
  std::string output;
  std::vector<Step> steps;
  /// --select: bone indices as typed, checked against the model once read.
  std::vector<int> selectBones;
  bool select = false;
};

// Reads the value of a tool option into step; false when it is out of range.
bool ParseToolValue(const std::string& option, const std::string& value, Step& step) {
  if (option == "--mirror") {
    step.tool = Tool::Mirror;
    step.direction = value == "r2l" ? MirrorDirection::RightToLeft : MirrorDirection::LeftToRight;
    return value == "l2r" || value == "r2l";
  }
  if (option == "--smooth") {
    step.tool = Tool::Smooth;
    const std::size_t colon = value.find(':');
    const std::optional<int> n = Number<int>(value.substr(0, colon));
    if (!n || *n < 1 || *n > kMaxSmoothIterations) return false;
    step.smooth.iterations = *n;
    if (colon == std::string::npos) return true;
    const std::optional<float> s = Number<float>(value.substr(colon + 1));
    step.smooth.strength = s.value_or(0.0f);
    return s && *s > 0.0f && *s <= 1.0f;
  }
  if (option == "--prune") {
    step.tool = Tool::Prune;
    const std::optional<float> t = Number<float>(value);
    step.threshold = t.value_or(0.0f);
    return t && *t >= 0.0f && *t < 1.0f;
  }
  step.tool = Tool::Limit;
  const std::optional<int> k = Number<int>(value);
  step.limit = k.value_or(0);
  return k && *k >= 1 && *k <= 4;
}

// Bone indices separated by commas; false when one is not a number.
bool ParseBoneList(const std::string& text, std::vector<int>& bones) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::optional<int> bone = Number<int>(text.substr(start, comma - start));
    if (!bone) return false;
    bones.push_back(*bone);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// Fills out from args; the usage error's message when they do not fit.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args, WeightsArguments& out) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) return parsed.error;
  out.model = parsed.arguments.operands[0];
  for (const auto& [option, value] : parsed.arguments.options) {
    if (option == "-o") {
      out.output = value;
    } else if (option == "--select") {
      if (out.select) return std::string("--select is given twice");
      out.select = true;
      if (!ParseBoneList(value, out.selectBones)) return "bad bone list for --select: " + value;
    } else {
      Step step;
      step.label = value.empty() ? option : option + " " + value;
      if (option != "--normalise" && !ParseToolValue(option, value, step))
        return "bad value for " + step.label;
      out.steps.push_back(step);
    }
  }
  if (out.steps.empty()) return std::string("no weight tool given");
  return std::nullopt;
}

WeightToolResult RunStep(const Step& step, const WeightToolInput& input) {
  switch (step.tool) {
    case Tool::Normalise:
      return NormaliseVertexWeights(input);
    case Tool::Mirror:
      return MirrorVertexWeights(input, step.direction);
    case Tool::Smooth:
      return SmoothVertexWeights(input, step.smooth);
    case Tool::Prune:
      return PruneVertexWeights(input, step.threshold);
    case Tool::Limit:
      return LimitVertexWeights(input, step.limit);
  }
  return {};
}

// Selects the vertices on which one of bones weighs (slot 3's weight implied).
std::size_t SelectByWeightedBones(SkinnedModel& model, const std::vector<int>& bones) {
  model.selection.reset(model.vertexCount());
  std::vector<bool> wanted(256, false);
  for (int b : bones) wanted[static_cast<std::size_t>(b)] = true;
  std::size_t count = 0;
  for (std::size_t v = 0; v < model.vertexCount(); ++v) {
    const SkinVertex& vertex = model.skinnedMesh.vertices[v];
    for (int s = 0; s < 4; ++s) {
      const float w = s < 3 ? vertex.blendWeights[s] : vertex.lastWeight();
      if (vertex.boneIndex(s) != 0 && wanted[vertex.boneIndex(s)] && w > 0.0f) {
        model.selection.selected[v] = 1;
        ++count;
        break;
      }
    }
  }
  RebuildPointList(model.selection);
  return count;
}

int RunWeights(const std::vector<std::string>& args) {
  WeightsArguments a;
  if (const std::optional<std::string> error = ParseArguments(args, a)) return Usage(*error);
  SkinnedModel model;
  const Status read = ReadSkinnedMesh(model, a.model);
  if (!read) return Fail(read.describe());
  if (a.select) {
    for (int b : a.selectBones) {
      if (b < 1 || b >= model.skeleton.boneCount() || b > 255) {
        return Usage("bone " + std::to_string(b) + " of --select is outside 1.." +
                     std::to_string(std::min(model.skeleton.boneCount() - 1, 255)));
      }
    }
    if (SelectByWeightedBones(model, a.selectBones) == 0) {
      return Fail("no vertex carries weight of the bones given to --select; nothing was written");
    }
  }
  for (const Step& step : a.steps) {
    const WeightToolResult r = RunStep(step, WeightToolInputOf(model));
    if (!r.status) return Fail(step.label + ": " + r.status.describe() + "; nothing was written");
    ApplyWeightChanges(model, r.changes);
    std::printf("%s: %zu vertices, %zu changed, %zu without weights", step.label.c_str(), r.verticesInScope,
                r.verticesChanged(), r.verticesWithoutWeights);
    if (step.tool == Tool::Mirror) std::printf(", %zu without a mirror vertex", r.verticesWithoutPartner);
    std::printf("\n");
  }
  if (const Status s = WriteSkinnedMesh(model, a.output); !s) return Fail(s.describe());
  return cli::kExitOk;
}

const CommandRegistration kRegistration{CliCommand{"weights", {kSyntax}, RunWeights}};
}  // namespace
}  // namespace posewright
