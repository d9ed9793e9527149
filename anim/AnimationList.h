// The editor's animations in the order they were made, with the current one.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "anim/Animation.h"

namespace posewright {

class AnimationList {
 public:
  /// Appends an independent copy (CopyFrom) of animation and makes it current.
  /// Returns the new entry.
  Animation& AppendAnimation(const Animation& animation);

  /// Moves the current entry to its predecessor / successor when there is one;
  /// returns whether it moved.
  bool PreviousAnimation();
  bool NextAnimation();

  /// Removes and destroys the current entry; its successor becomes current, or
  /// its predecessor when it was the last, or none when the list is now empty.
  /// Does nothing on an empty list.
  void RemoveAnimation();

  /// Removes every entry.
  void ClearAnimations();

  /// The current animation, or null when the list is empty.
  Animation* current();
  const Animation* current() const;
  /// Index of the current entry; -1 only when the list is empty.
  int32_t currentIndex() const { return current_; }
  int32_t size() const { return static_cast<int32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  /// Entry i (0 <= i < size()).
  const Animation& at(int32_t i) const { return *entries_[static_cast<std::size_t>(i)]; }

  /// The entries in order, shared: an undo history keeps a removed
  /// animation alive (at its address) so that it can come back.
  const std::vector<std::shared_ptr<Animation>>& entries() const { return entries_; }
  /// Makes entries the list and current (-1, or an index of entries; other
  /// values are taken as the nearest valid one) the current entry.
  void replaceEntries(std::vector<std::shared_ptr<Animation>> entries, int32_t current);

 private:
  // Entries are held by pointer so an animation stays at its address while
  // other entries come and go.
  std::vector<std::shared_ptr<Animation>> entries_;
  int32_t current_ = -1;
};
}  // namespace posewright
