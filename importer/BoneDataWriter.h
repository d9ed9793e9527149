// Bone data text (*.dat) of a skeleton: the bone count, the root's two points,
// then per further bone its name, index, parent, points, rest rotation and
// anchor (counts, BorderBox, vertices, face normals with vertex indices).
#pragma once

#include <string>

#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// The file text, with CR LF line ends. Reals are printed with "%.6f".
/// Bone names must be single words; every bone but the root needs an anchor.
std::string FormatBoneData(const Skeleton& skeleton);

/// The message a refused bone data save is reported with.
inline constexpr const char* kBoneDataSaveError = "Bone Data Save Error";

/// Why FormatBoneData's text would not read back as skeleton: no bones, a
/// bone other than the root without an anchor of at least four faces, a face
/// index outside its anchor, a parent not listed before its bone, a name that
/// is not one word of at most 249 characters, or a number that is not finite
/// or not below 1e9 in size (its line would be too long). Empty when it reads
/// back.
std::string BoneDataProblem(const Skeleton& skeleton);

/// Writes FormatBoneData(skeleton) to path (atomically). Refused with
/// kBoneDataSaveError and the problem, writing nothing, when BoneDataProblem
/// finds one. Numbers read back exactly when they carry at most six decimals,
/// as everything read from a bone data file and every generated anchor does.
Status WriteBoneData(const Skeleton& skeleton, const std::string& path);
}  // namespace posewright
