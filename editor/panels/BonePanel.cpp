#include "editor/panels/BonePanel.h"

#include <algorithm>
#include <cfloat>

#include "editor/panels/BoneParameters.h"
#include "fileio/KeyedLineReader.h"
#include "fileio/TextWriter.h"
#include "model/SkinnedModel.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
// The part of an edit's text that is read: at most 31 characters, without
// leading white space.
std::string_view NumberPart(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kBonePanelTextLength));
  const std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string FormatParameter(float value) {
  TextWriter text;
  text.append("%.4f", static_cast<double>(value));
  return text.take();
}
}  // namespace

float ParseBonePanelReal(std::string_view text) {
  // A number beyond the float range would be stored as infinity, which the
  // parameter file cannot carry; the largest float stands in for it.
  return std::clamp(ParseKeyedFloat(NumberPart(text)), -FLT_MAX, FLT_MAX);
}

int32_t ParseBonePanelInt(std::string_view text) {
  return ParseKeyedInt(NumberPart(text));
}

void BonePanel::selectionChanged(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item) {
  showParameters(skeleton, items, item);
  view_.recentreBoneControl();
}

void BonePanel::showParameters(const Skeleton& skeleton, const BoneItemMap& items, BoneTreeItem item) {
  const int32_t i = BoneIndexOfItem(skeleton, items, item);
  const auto k = static_cast<std::size_t>(i);
  if (k < skeleton.bones.size() && k < skeleton.blendParams.size()) {
    const BlendingParams& params = skeleton.blendParams[k];
    view_.setHText(FormatParameter(params.H));
    view_.setRText(FormatParameter(params.R));
    view_.setSymmetricText(std::to_string(skeleton.bones[k].symmetricId));
  }
}

void BonePanel::applyBlendingPressed(SkinnedModel& model, const BoneItemMap& items, BoneTreeItem selected) {
  if (!model.bonesLoaded()) {
    return;
  }
  float r = ParseBonePanelReal(view_.rText());
  float h = ParseBonePanelReal(view_.hText());
  if (r == 0.0f) {
    r = kZeroRReplacement;
  }
  if (h == 0.0f) {
    h = kZeroHReplacement;
  }
  if (SetBlendingParams(model.skeleton, items, selected, r, h) >= 0) {
    RecomputeSelectedWeights(model);
  }
}

void BonePanel::applySymmetricPressed(SkinnedModel& model, const BoneItemMap& items, BoneTreeItem selected) {
  if (!model.bonesLoaded()) {
    return;
  }
  // SetSymmetricBone takes an index outside the skeleton as the root.
  SetSymmetricBone(model.skeleton, items, selected, ParseBonePanelInt(view_.symmetricText()));
}
}  // namespace posewright
