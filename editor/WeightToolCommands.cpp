// Edit > Weights and View > Rendering > Weights: the weight tools as undoable
// steps, their settings dialog and their reports.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "editor/Commands.h"
#include "editor/WeightToolDialogView.h"
#include "fileio/CNumbers.h"
#include "history/ModelChange.h"
#include "weighttools/MirrorWeights.h"
#include "weighttools/SmoothWeights.h"
#include "weighttools/WeightCleanup.h"

namespace posewright {

namespace {
const char kWeightsCaption[] = "Weights";

bool IsMirror(CommandId id) {
  return id == CommandId::WeightsMirrorLeftToRight || id == CommandId::WeightsMirrorRightToLeft;
}

bool AnyBoneHasPartner(const Skeleton& skeleton) {
  const std::array<uint8_t, 256> partners = BonePartnerTable(skeleton);
  for (std::size_t b = 0; b < partners.size(); ++b) {
    if (partners[b] != b) return true;
  }
  return false;
}

// Why the tool cannot run on the model now, or nothing when it can.
std::optional<std::string> Refusal(const SkinnedModel& model, CommandId id) {
  const WeightToolInput input = WeightToolInputOf(model);
  if (const Status ready = CheckWeightToolInput(input); !ready) {
    return ready.message;
  }
  if (IsMirror(id) && !AnyBoneHasPartner(model.skeleton)) {
    return std::string(kWeightToolNoPartners);
  }
  return std::nullopt;
}

// The history's name of each tool's step ("Undo Smooth Weights").
const char* StepName(CommandId id) {
  switch (id) {
    case CommandId::WeightsNormalise:
      return "Normalise Weights";
    case CommandId::WeightsMirrorLeftToRight:
      return "Mirror Weights Left to Right";
    case CommandId::WeightsMirrorRightToLeft:
      return "Mirror Weights Right to Left";
    case CommandId::WeightsSmooth:
      return "Smooth Weights";
    case CommandId::WeightsPrune:
      return "Prune Weights";
    default:
      return "Limit Weights";
  }
}

std::string Number(double value, int decimals) {
  char text[64];
  // The "C" form whatever the desktop's locale, as every number the editor shows.
  FormatC(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// What the tool did, for the status bar: "Normalised 1200 vertices (1100
// changed); 3 had no weight".
std::string Report(CommandId id, const WeightToolResult& r, const WeightToolSettings& s) {
  std::string done;
  switch (id) {
    case CommandId::WeightsNormalise:
      done = "Normalised";
      break;
    case CommandId::WeightsMirrorLeftToRight:
    case CommandId::WeightsMirrorRightToLeft:
      done = "Mirrored";
      break;
    case CommandId::WeightsSmooth:
      done = "Smoothed (" + std::to_string(s.smoothIterations) +
             (s.smoothIterations == 1 ? " iteration" : " iterations") + ", strength " +
             Number(s.smoothStrength, 2) + ")";
      break;
    case CommandId::WeightsPrune:
      done = "Pruned weights below " + Number(s.pruneThreshold, 3) + " on";
      break;
    default:
      done = "Limited to " + std::to_string(s.limit) + (s.limit == 1 ? " influence" : " influences");
      break;
  }
  std::string text = done + " " + std::to_string(r.verticesInScope) + " vertices (" +
                     std::to_string(r.verticesChanged()) + " changed)";
  if (r.verticesWithoutWeights > 0) {
    text += "; " + std::to_string(r.verticesWithoutWeights) + " had no weight";
  }
  if (IsMirror(id)) {
    text += "; " + std::to_string(r.verticesWithoutPartner) + " had no partner";
  }
  return text;
}

// Asks the settings of Smooth, Prune and Limit into settings; false when the
// user cancelled. The other tools ask nothing.
bool AskSettings(CommandId id, WeightToolDialogView& dialog, WeightToolSettings& settings) {
  std::vector<WeightToolField> fields;
  std::string title;
  switch (id) {
    case CommandId::WeightsSmooth:
      title = "Smooth Weights";
      fields = {{"Iterations", static_cast<double>(settings.smoothIterations), 1, kMaxSmoothIterations, 0},
                {"Strength", settings.smoothStrength, 0.01, 1, 2}};
      break;
    case CommandId::WeightsPrune:
      title = "Prune Weights";
      fields = {{"Threshold", settings.pruneThreshold, 0, 0.999, 3}};
      break;
    case CommandId::WeightsLimit:
      title = "Limit Weights";
      fields = {{"Influences", static_cast<double>(settings.limit), 1, 4, 0}};
      break;
    default:
      return true;
  }
  if (!dialog.ask(title, fields)) {
    return false;
  }
  WeightToolSettings entered = settings;
  switch (id) {
    case CommandId::WeightsSmooth:
      entered.smoothIterations = static_cast<int>(fields[0].value);
      entered.smoothStrength = static_cast<float>(fields[1].value);
      break;
    case CommandId::WeightsPrune:
      entered.pruneThreshold = static_cast<float>(fields[0].value);
      break;
    default:
      entered.limit = static_cast<int>(fields[0].value);
      break;
  }
  settings = entered;
  return true;
}

WeightToolResult RunTool(CommandId id, const WeightToolInput& input, const WeightToolSettings& s) {
  switch (id) {
    case CommandId::WeightsNormalise:
      return NormaliseVertexWeights(input);
    case CommandId::WeightsMirrorLeftToRight:
      return MirrorVertexWeights(input, MirrorDirection::LeftToRight);
    case CommandId::WeightsMirrorRightToLeft:
      return MirrorVertexWeights(input, MirrorDirection::RightToLeft);
    case CommandId::WeightsSmooth: {
      SmoothOptions options;
      options.iterations = s.smoothIterations;
      options.strength = s.smoothStrength;
      return SmoothVertexWeights(input, options);
    }
    case CommandId::WeightsPrune:
      return PruneVertexWeights(input, s.pruneThreshold);
    default:
      return LimitVertexWeights(input, s.limit);
  }
}
}  // namespace

bool Commands::isEnabled(CommandId id) const {
  if (id == CommandId::Undo) return app_.history.canUndo();
  if (id == CommandId::Redo) return app_.history.canRedo();
  if (IsWeightTool(id)) return !Refusal(app_.model, id).has_value();
  return true;
}

void Commands::toggleWeightView() {
  app_.weightView = !app_.weightView;
  shell_.setMenuCheck(CheckItem::WeightView, app_.weightView);
}

void Commands::runWeightTool(CommandId id) {
  if (const std::optional<std::string> why = Refusal(app_.model, id)) {
    shell_.showMessage(*why, kWeightsCaption, {});
    return;
  }
  WeightToolSettings& settings = app_.weightToolSettings;
  if (!AskSettings(id, shell_.weightToolDialog(), settings)) {
    return;
  }
  WeightToolResult result;
  {
    BusyScope busy(shell_);
    result = RunTool(id, WeightToolInputOf(app_.model), settings);
    if (result.status) {
      ModelEdit edit(app_.history, app_.model, StepName(id), kWeightsAspect);
      ApplyWeightChanges(app_.model, result.changes);
      edit.commit();
    }
  }
  if (!result.status) {
    shell_.showMessage(result.status.message, kWeightsCaption, result.status.detail);
    return;
  }
  shell_.modelChanged();
  shell_.showStatus(Report(id, result, settings));
}
}  // namespace posewright
