// The blending parameters file (*.prm): per bone 1 .. B−1 one line with the
// bone index, its mirror partner, R and H ("%d %d %.4f %.4f", CR LF).
#pragma once

#include <string>
#include <string_view>

#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

/// The message for reading blending parameters while no skeleton is loaded.
inline constexpr const char* kBoneDataNotLoaded = "Bone data has not been loaded yet.";
/// The message for a blending parameters file that stops at a bad line.
inline constexpr const char* kBlendingParametersError = "Blending Parameters Error";

/// The text of the file for skeleton: one line per bone from 1 on; empty for a
/// skeleton with fewer than two bones.
std::string FormatBlendingParameters(const Skeleton& skeleton);

/// Writes FormatBlendingParameters(skeleton) to path (atomically).
Status WriteBlendingParameters(const Skeleton& skeleton, const std::string& path);

/// Applies the lines of a blending parameters text to skeleton, in order: bone
/// index (first token), symmetricId (second, taken as it stands), R (third) and
/// H (fourth). Reading stops at the first line whose bone index is outside
/// 1..B−1, whose R or H is not above 0, or that is longer than 255 characters;
/// that line changes nothing, the lines before it stay applied, and the result
/// is kBlendingParametersError with the line and reason as detail. Blank lines
/// at the end of the text are not an error. The weights are not recomputed.
Status ApplyBlendingParameters(Skeleton& skeleton, std::string_view text, const std::string& fileName);

/// Reads the file at path and applies it (ApplyBlendingParameters). Refused with
/// kBoneDataNotLoaded while the skeleton is not loaded, and with
/// kBlendingParametersError when the file cannot be read; both change nothing.
Status ReadBlendingParameters(Skeleton& skeleton, const std::string& path);
