// The bone information file (*.bnf), written only: per bone one line with the
// bone index, its parent and its rest joint point ("%d %d %.4f %.4f %.4f", CR LF).
#pragma once

#include <string>

#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// The text of the file for skeleton (empty without bones); the root's parent
/// is written as 0.
std::string FormatBoneInformation(const Skeleton& skeleton);

/// Writes FormatBoneInformation(skeleton) to path (atomically).
Status WriteBoneInformation(const Skeleton& skeleton, const std::string& path);
}  // namespace posewright
