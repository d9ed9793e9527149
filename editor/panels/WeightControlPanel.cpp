#include "editor/panels/WeightControlPanel.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "editor/panels/WeightControlRules.h"
#include "fileio/CNumbers.h"
#include "model/SkinnedModel.h"
#include "weighttools/AverageWeights.h"

namespace posewright {

namespace {
// A bone index is one byte: the boxes never list more than 256 bones.
constexpr int kMaxBoxItems = 256;
}  // namespace

void WeightControlPanel::onCreated() {
  for (int k = 0; k < kWeightSlots; ++k) {
    view_.setSliderRange(k, 0, kWeightSliderMaximum, kWeightSliderTick);
  }
}

bool WeightControlPanel::prepare(const SkinnedModel& model) {
  if (!model.bonesLoaded()) {
    return false;
  }
  const int bones = std::min(model.skeleton.boneCount(), kMaxBoxItems);
  if (bones == filledBoneCount_) {
    return true;
  }
  const bool first = filledBoneCount_ == 0;
  for (int k = 0; k < kWeightSlots; ++k) {
    view_.fillBoneIndexBox(k, bones);
  }
  filledBoneCount_ = bones;
  if (first) {
    for (int k = 0; k < kWeightSlots; ++k) {
      showSliderWeight(k);
    }
    view_.showPanel();
  }
  return true;
}

void WeightControlPanel::onHide() {
  view_.hidePanel();
}

std::optional<BoneIndexQuad> WeightControlPanel::checkedIndices() {
  BoneIndexQuad indices{};
  for (int k = 0; k < kWeightSlots; ++k) {
    const int item = view_.boneIndexBoxSelection(k);
    indices[static_cast<std::size_t>(k)] = static_cast<uint8_t>(std::clamp(item, 0, kMaxBoxItems - 1));
  }
  if (const auto message = CheckBoneIndices(indices)) {
    view_.showMessage(*message, kWeightControlErrorCaption);
    return std::nullopt;
  }
  return indices;
}

void WeightControlPanel::onSelect(SkinnedModel& model) {
  if (!prepare(model)) {
    return;
  }
  if (const auto indices = checkedIndices()) {
    SelectByBones(model, *indices);
  }
}

void WeightControlPanel::onChoose(SkinnedModel& model) {
  if (!prepare(model)) {
    return;
  }
  if (const auto indices = checkedIndices()) {
    ChooseByBones(model, *indices);
  }
}

void WeightControlPanel::onApply(SkinnedModel& model) {
  if (!prepare(model)) {
    return;
  }
  const auto indices = checkedIndices();
  if (!indices) {
    return;
  }
  WeightQuad weights{};
  for (int k = 0; k < kWeightSlots; ++k) {
    weights[static_cast<std::size_t>(k)] = ParseWeightText(view_.weightText(k));
  }
  if (const auto message = NormaliseWeights(*indices, weights)) {
    view_.showMessage(*message, kWeightControlErrorCaption);
    return;
  }
  for (int k = 0; k < kWeightSlots; ++k) {
    const float w = weights[static_cast<std::size_t>(k)];
    view_.setWeightText(k, FormatWeight(w));
    view_.setSliderPosition(k, WeightToSliderPosition(w));
  }
  SetSelectedWeights(model, *indices, weights);
}

void WeightControlPanel::onSliderMoved(SkinnedModel& model, int slot) {
  if (!prepare(model) || slot < 0 || slot >= kWeightSlots) {
    return;
  }
  showSliderWeight(slot);
}

void WeightControlPanel::showSliderWeight(int slot) {
  view_.setWeightText(slot, FormatWeight(SliderPositionToWeight(view_.sliderPosition(slot))));
}

void WeightControlPanel::showAverages(const SkinnedModel& model) {
  std::vector<double> averages;
  if (model.bonesLoaded() && model.selection.selectedCount() > 0) {
    averages = AverageBoneWeights(WeightToolInputOf(model));
  }
  for (int k = 0; k < kWeightSlots; ++k) {
    const int bone = view_.boneIndexBoxSelection(k);
    std::string text;
    if (bone > 0 && static_cast<std::size_t>(bone) < averages.size()) {
      char buffer[32];
      FormatC(buffer, sizeof buffer, "avg %.2f", averages[static_cast<std::size_t>(bone)]);
      text = buffer;
    }
    view_.setAverageText(k, text);
  }
}
}  // namespace posewright
