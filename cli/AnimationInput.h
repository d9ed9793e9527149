// The animation file a command was given (pose, render, export), read as
// File > Open Data > Animation reads it: for the skeleton's bone count,
// keeping the keyframes before a stop. The command line says every time a
// file did not end cleanly, since it goes on with what was read.
#pragma once

#include <string>

#include "anim/Animation.h"

namespace posewright {

/// Reads the file at path into animation, whose boneCount is set. False, after
/// printing "posewright-cli COMMAND: REASON" to stderr, when the file gives no
/// keyframe at all. Otherwise true, with a warning on stderr when reading
/// stopped early ("using the N keyframes before it") or when the file's last
/// line has no line end: a file cut short inside that line still reads, its
/// last rotation made of whatever numbers survived.
bool ReadAnimationForCommand(const std::string& command, const std::string& path, Animation& animation);
}  // namespace posewright
