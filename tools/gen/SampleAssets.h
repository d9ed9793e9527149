// The committed sample assets: the sample character as a text .x with its
// clothes texture, its bone data, its blending parameters and two animations.
#pragma once

#include <string>

#include "fileio/Status.h"

namespace posewright {

/// File names of the sample assets.
inline constexpr const char* kSampleMeshFile = "character.x";
inline constexpr const char* kSampleBoneDataFile = "character.dat";
inline constexpr const char* kSampleBlendingFile = "character.prm";
inline constexpr const char* kSampleWaveFile = "wave.anm";
inline constexpr const char* kSampleWalkFile = "walk.anm";

/// Writes the six sample files into folder (created when missing), with CR LF
/// line ends. Fails, writing nothing, when a mesh vertex would lie in no
/// anchor or in more than four.
Status WriteSampleAssets(const std::string& folder);
}  // namespace posewright
