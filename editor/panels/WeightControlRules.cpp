#include "editor/panels/WeightControlRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fileio/CNumbers.h"
#include "fileio/KeyedLineReader.h"

namespace posewright {

namespace {
constexpr int kSliderSteps = 20;
}

std::optional<std::string> CheckBoneIndices(const BoneIndexQuad& indices) {
  if (std::all_of(indices.begin(), indices.end(), [](uint8_t i) { return i == 0; })) {
    return std::string(kAllIndicesZeroMessage);
  }
  for (std::size_t a = 0; a < 4; ++a) {
    for (std::size_t b = a + 1; b < 4; ++b) {
      if (indices[a] != 0 && indices[a] == indices[b]) {
        return std::string(kDuplicateIndexMessage);
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> NormaliseWeights(const BoneIndexQuad& indices, WeightQuad& weights) {
  float sum = 0.0f;
  for (std::size_t k = 0; k < 4; ++k) {
    const bool emptySlot = indices[k] == 0;
    const bool zeroWeight = weights[k] == 0.0f;
    if (emptySlot != zeroWeight || !std::isfinite(weights[k])) {
      return std::string(kInvalidWeightMessage);
    }
    sum += weights[k];
  }
  // Entries that cancel out (1 and −1) leave nothing to divide by.
  if (sum == 0.0f || !std::isfinite(sum)) {
    return std::string(kInvalidWeightMessage);
  }
  WeightQuad normalised{};  // empty slots get +0, even from a typed "-0"
  for (std::size_t k = 0; k < 4; ++k) {
    if (indices[k] != 0) {
      normalised[k] = weights[k] / sum;
      if (!std::isfinite(normalised[k])) {
        return std::string(kInvalidWeightMessage);
      }
    }
  }
  weights = normalised;
  return std::nullopt;
}

float ParseWeightText(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kWeightTextLength));
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t' || text[start] == '\r' ||
                                 text[start] == '\n' || text[start] == '\v' || text[start] == '\f')) {
    ++start;
  }
  return ParseKeyedFloat(text.substr(start));
}

std::string FormatWeight(float w) {
  char buffer[64];
  const int n = FormatC(buffer, sizeof buffer, "%.4f", static_cast<double>(w));
  if (n < 0) {
    return {};
  }
  if (static_cast<std::size_t>(n) >= sizeof buffer) {
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    FormatC(big.data(), big.size(), "%.4f", static_cast<double>(w));
    big.resize(static_cast<std::size_t>(n));
    return big;
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

int WeightToSliderPosition(float w) {
  const float scaled = w * static_cast<float>(kSliderSteps);
  if (!(scaled > 0.0f)) {
    return 0;
  }
  if (scaled >= static_cast<float>(kSliderSteps)) {
    return kSliderSteps;
  }
  return static_cast<int>(scaled);
}

float SliderPositionToWeight(int position) {
  return static_cast<float>(position) / static_cast<float>(kSliderSteps);
}
}  // namespace posewright
