// The Animation Keyframes file (*.anm): one animation's keyframes as keyed
// text lines. The animation's name is not stored.
//
//   NumBones: 2
//   Time: 0
//   Quaternions:
//   0.0000 0.0000 0.0000 1.0000      one "x y z w" line per bone
//   ...                              then the next "Time:" block
#pragma once

#include <string>
#include <string_view>

#include "anim/Animation.h"
#include "fileio/Status.h"

namespace posewright {

/// The file's bytes for animation: the header, then for every keyframe in
/// time order its "Time:" and "Quaternions: " lines and boneCount rotation
/// lines ("%.4f" each; a keyframe short of rotations is filled with identity).
/// CR LF line ends.
std::string FormatAnimationFile(const Animation& animation);

/// Why the file of animation could not be read back to the same keyframes:
/// a keyframe holds more rotations than boneCount (the rest would be cut), or
/// a rotation is infinite or not a number (the reader takes digits only).
/// Ok when neither holds.
Status CheckAnimationWritable(const Animation& animation, const std::string& fileName);

/// Writes FormatAnimationFile(animation) to path (replacing the file only when
/// complete). Refused, writing nothing, when CheckAnimationWritable fails; any
/// error names the file and the reason.
Status WriteAnimationFile(const Animation& animation, const std::string& path);

/// Reads keyframes from text into animation with InsertKey. animation.boneCount
/// must be set beforehand: it is the count the header must state and the
/// number of rotation lines per block. Reading stops at the first line that
/// breaks the format; every keyframe inserted before the stop stays. A block
/// cut short by the end of the text is still inserted, its missing rotations
/// being identity. Blocks may come in any time order; a later block at the same
/// time replaces an earlier one.
///
/// Returns ok when the text ended after a complete block (or only blank lines
/// followed), otherwise an error whose detail names fileName and the line where
/// reading stopped. Either way the keyframes read so far stay.
Status ReadAnimationText(Animation& animation, std::string_view text, const std::string& fileName);

/// Largest animation file read: 64 MiB holds some 8,000 keyframes of a full
/// 256-bone skeleton.
inline constexpr std::size_t kMaxAnimationFileBytes = std::size_t{64} << 20;

/// ReadAnimationText on the file's content; a file that cannot be read (not a
/// regular file, or above kMaxAnimationFileBytes) adds nothing and gives an error.
Status ReadAnimationFile(Animation& animation, const std::string& path);
}  // namespace posewright
