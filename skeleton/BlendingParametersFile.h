// The blending parameters file (*.prm): per bone 1 .. B−1 one line with the
// bone index, its mirror partner, R and H ("%d %d %.4f %.4f", CR LF).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// The message for reading blending parameters while no skeleton is loaded.
inline constexpr const char* kBoneDataNotLoaded = "Bone data has not been loaded yet.";
/// The message for a blending parameters file that stops at a bad line.
inline constexpr const char* kBlendingParametersError = "Blending Parameters Error";
/// Largest blending parameters file read: at most 255 lines of at most 255
/// characters, with room for blank lines after them.
inline constexpr std::size_t kMaxBlendingParametersFileBytes = std::size_t{1} << 20;

/// The text of the file for skeleton: one line per bone from 1 on; empty for a
/// skeleton with fewer than two bones.
std::string FormatBlendingParameters(const Skeleton& skeleton);

/// Writes FormatBlendingParameters(skeleton) to path (atomically).
Status WriteBlendingParameters(const Skeleton& skeleton, const std::string& path);

/// One line of a blending parameters file.
struct BlendingParametersEntry {
  int32_t bone = 0;
  /// Taken as it stands (no range check).
  int32_t symmetricId = 0;
  BlendingParams params;
};

struct BlendingParametersText {
  /// The valid lines before the first bad one, in file order.
  std::vector<BlendingParametersEntry> entries;
  /// Ok when every line was valid; otherwise kBlendingParametersError with the
  /// bad line and the reason as detail.
  Status status;
};

/// Reads the lines of a blending parameters text for a skeleton of boneCount
/// bones: bone index (first token), symmetricId (second), R (third) and H
/// (fourth). Reading stops at the first line whose bone index is outside
/// 1..boneCount−1, whose R or H is not above 0, or that is longer than 255
/// characters. Blank lines at the end of the text are not an error.
BlendingParametersText ParseBlendingParameters(std::string_view text, const std::string& fileName,
                                               int32_t boneCount);

/// Applies the lines of a blending parameters text to skeleton, in order, up to
/// the first bad line (ParseBlendingParameters); the bad line changes nothing,
/// the lines before it stay applied, and its status is returned. The weights
/// are not recomputed.
Status ApplyBlendingParameters(Skeleton& skeleton, std::string_view text, const std::string& fileName);

/// Reads the file at path and applies it (ApplyBlendingParameters). Refused with
/// kBoneDataNotLoaded while the skeleton is not loaded, and with
/// kBlendingParametersError when the file cannot be read (not a regular file, or
/// above kMaxBlendingParametersFileBytes); both change nothing.
Status ReadBlendingParameters(Skeleton& skeleton, const std::string& path);
}  // namespace posewright
