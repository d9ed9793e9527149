// The commands that manage the animation list (Edit > Animation > Add,
// Remove, Previous, Next) and move animations to and from files (File > Open
// Data > Animation, File > Save Data > Animation, the animation part of
// File > New). Each one that changes the current animation retitles the
// Keyframe panel.
#pragma once

#include <string>

#include "editor/panels/KeyframePanel.h"
#include "fileio/Status.h"
#include "skeleton/Skeleton.h"

namespace posewright {

/// Appends an empty animation for the skeleton's bone count (0 without a
/// skeleton) named "Unnamed(n)" with the next value of the never-reset counter.
void AddAnimationCommand(KeyframePanel& panel, const Skeleton& skeleton);

/// Asks before removing the current animation; "Cannot Remove" on an empty list.
void RemoveAnimationCommand(KeyframePanel& panel);

/// Makes the previous / next animation current, or says there is none.
void PreviousAnimationCommand(KeyframePanel& panel);
void NextAnimationCommand(KeyframePanel& panel);

/// Reads path into a new animation for the skeleton's bone count, names it
/// after the file (folder dropped, extension kept, at most 255 bytes) and
/// appends it, even when nothing could be read. Returns the reader's status
/// (for a detail message only; the animation is appended either way).
Status OpenAnimationCommand(KeyframePanel& panel, const Skeleton& skeleton, const std::string& path);

/// Writes the current animation to path. Does nothing (and succeeds) when there
/// is no current animation.
Status SaveAnimationCommand(const AnimationState& state, const std::string& path);

/// Empties the animation list (File > New) and stops playback. The counter,
/// the time and the panel title keep their values.
void ClearAnimationsCommand(AnimationState& state);

/// name cut to at most 255 bytes, never inside a UTF-8 character.
std::string FitAnimationName(const std::string& name);
}  // namespace posewright
