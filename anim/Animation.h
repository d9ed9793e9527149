// A named list of keyframes in strictly ascending time, with the keyframe the
// Keyframe panel points at.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "anim/Keyframe.h"

namespace posewright {

/// Position of a keyframe in an animation's keys (its index), or kNoKey.
using KeyPosition = int32_t;
inline constexpr KeyPosition kNoKey = -1;

class Animation {
 public:
  /// Shown in the Keyframe panel's title; at most 255 bytes.
  std::string name;
  /// The skeleton's bone count when the animation was made. An animation file
  /// must state this count, and the writer writes this many rotations per key.
  int32_t boneCount = 0;

  Animation();
  Animation(const Animation& other);
  Animation& operator=(const Animation& other);

  /// True when a keyframe has exactly time t.
  bool HasKeyAt(int32_t t) const;

  /// Inserts a keyframe holding a copy of rotations at time t, keeping keys in
  /// ascending time; a keyframe already at t is replaced (destroyed). The new
  /// keyframe becomes current. Returns its position.
  KeyPosition InsertKey(std::span<const D3DXQUATERNION> rotations, int32_t t);

  /// Removes the keyframe at position; the current keyframe becomes its
  /// successor, else its predecessor, else none. A position outside keys
  /// (kNoKey included) changes nothing and is returned unchanged; otherwise the
  /// new current position is returned.
  KeyPosition RemoveKey(KeyPosition position);

  /// Makes this animation an independent copy of other: its bone count, every
  /// keyframe inserted in order (each fitted to exactly boneCount rotations,
  /// missing ones as identity), so the last keyframe is current, and its name.
  void CopyFrom(const Animation& other);

  /// The keyframes in ascending time.
  const std::vector<Keyframe>& keys() const { return keys_; }
  /// Position of the current keyframe; kNoKey only when keys is empty.
  KeyPosition currentKey() const { return currentKey_; }
  /// The current keyframe, or null when there is none.
  const Keyframe* currentKeyframe() const;

  /// Makes position the current keyframe: a position inside keys, or kNoKey
  /// only when keys is empty; anything else changes nothing. Returns whether
  /// it was taken.
  bool SelectKey(KeyPosition position);
  /// Position of the keyframe at exactly time t, or kNoKey.
  KeyPosition PositionOfTime(int32_t t) const;

  /// Moves the current keyframe to its predecessor / successor when it has
  /// one; returns whether it moved.
  bool SelectPreviousKey();
  bool SelectNextKey();

  /// Identifies the present contents of keys: every insertion or removal gives
  /// a value no animation has had before, so a saved stamp that still matches
  /// proves that positions taken earlier are still valid.
  uint64_t keysStamp() const { return keysStamp_; }

  /// A number no other animation object of the run has (copies get their own).
  uint64_t serial() const { return serial_; }

 private:
  void touchKeys();

  std::vector<Keyframe> keys_;
  KeyPosition currentKey_ = kNoKey;
  uint64_t keysStamp_ = 0;
  uint64_t serial_ = 0;
};
}  // namespace posewright
