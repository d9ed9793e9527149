// Reader of the bone data file (*.dat): the root and every further bone with
// its rest geometry, parent, rest rotation and anchor volume.
#pragma once

#include <string>
#include <string_view>

#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// The message every refused bone data file is reported with.
inline constexpr const char* kBoneDataFormatError = "File Format Error";

/// Most bones a skeleton may have: a vertex names its bones with one byte each.
inline constexpr int32_t kMaxBoneCount = 256;

/// Largest bone data file read: 256 bones whose anchors may hold tens of
/// thousands of faces each, in lines of at most 255 characters.
inline constexpr std::size_t kMaxBoneDataFileBytes = std::size_t{64} << 20;

struct BoneDataResult {
  /// Ok, or kBoneDataFormatError with "file, line N: reason" as detail.
  Status status;
  /// The skeleton read (bonesLoaded set); empty when the status is an error.
  Skeleton skeleton;
};

/// Parses the text of a bone data file into a new skeleton: bone names, parents,
/// rest points and rotations (with their inverses), anchors, identity skin
/// matrices, symmetricId = own index, blending parameters R 1.0 / H 0.35 (the
/// root H 1.0). fileName only labels the error detail.
///
/// Refused: a wrong or missing key, a bone count outside 1..256, a parent index
/// outside 0..i−1, a vertex count below 0 or a face count below 4, a count larger
/// than the lines the file can still hold, an anchor face index outside
/// 0..vertexCount−1, a line longer than 255 characters, and a file that ends
/// early. Anything after the last face line of the last bone is ignored.
BoneDataResult ParseBoneData(std::string_view text, const std::string& fileName);

/// Reads and parses the file at path (a regular file of at most
/// kMaxBoneDataFileBytes). A file that cannot be read is refused like an
/// empty one.
BoneDataResult ReadBoneData(const std::string& path);
}  // namespace posewright
