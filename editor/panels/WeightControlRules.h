// The checks the Weight Control panel makes before it selects vertices by bone
// or writes hand-set weights, with the exact texts it shows when one fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "weights/WeightEditing.h"

namespace posewright {

/// Shown when every bone index box holds 0.
inline constexpr std::string_view kAllIndicesZeroMessage = "インデックスが全て0になっています";
/// Shown when two boxes hold the same index other than 0.
inline constexpr std::string_view kDuplicateIndexMessage = "0以外の同じインデックスが存在します";
/// Shown when a weight does not fit its index (0 against a bone, non-zero
/// against an empty slot) or the weights cannot be normalised.
inline constexpr std::string_view kInvalidWeightMessage = "ウェイト値が不正です";
/// Caption of all three messages.
inline constexpr std::string_view kWeightControlErrorCaption = "Error";

/// Longest weight text the panel reads from an edit, in characters.
inline constexpr std::size_t kWeightTextLength = 9;

/// The check of "Select", "Choose" and the first check of "Apply": the message
/// when all four indices are 0 (tested first) or a non-zero index occurs twice;
/// nothing when the indices are usable.
std::optional<std::string> CheckBoneIndices(const BoneIndexQuad& indices);

/// The weight check of "Apply" (after CheckBoneIndices passed): slot by slot a
/// weight must be 0 exactly when its index is 0. Then every weight of a
/// non-zero index is divided by the sum of the weights. Returns the invalid-
/// weight message, leaving weights unchanged, when a slot does not fit, when
/// the weights sum to 0 (possible with negative entries) or when a result is
/// not finite; otherwise normalises weights in place and returns nothing.
std::optional<std::string> NormaliseWeights(const BoneIndexQuad& indices, WeightQuad& weights);

/// The value of a weight edit's text: its first 9 characters, leading white
/// space skipped, then the longest leading decimal number; anything else is 0.
float ParseWeightText(std::string_view text);

/// The text a weight edit shows for weight w: "%.4f".
std::string FormatWeight(float w);

/// The slider position (0..20) that shows weight w: w × 20 truncated toward
/// zero, kept inside the slider's range.
int WeightToSliderPosition(float w);

/// The weight a slider position stands for: position / 20.
float SliderPositionToWeight(int position);
}  // namespace posewright
