// Undoable changes of the animations: the keyframes of one animation (Add,
// Remove) and the animation list (Edit > Animation > Add and Remove, opening
// an .anm file). As with ModelEdit, an edit looks before the action and
// records only what changed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "anim/AnimationList.h"
#include "history/History.h"

namespace posewright {

/// One keyframe time whose key came, went or changed.
struct KeyframeChange {
  int32_t time = 0;
  std::optional<Keyframe> before;
  std::optional<Keyframe> after;
};

class KeyframeChangeStep final : public HistoryStep {
 public:
  KeyframeChangeStep(std::string name, Animation& animation);

  std::vector<KeyframeChange> changes;
  KeyPosition currentBefore = kNoKey;
  KeyPosition currentAfter = kNoKey;

  void undo() override { write(false); }
  void redo() override { write(true); }
  std::size_t memoryBytes() const override;

 private:
  void write(bool after);

  // Alive while the step can act: an animation removed later is held by the
  // later step, which is undone first.
  Animation& animation_;
};

class AnimationKeysEdit {
 public:
  AnimationKeysEdit(History& history, Animation& animation, std::string name);
  /// Pushes a step with the keyframes that changed; nothing when none did.
  void commit();

 private:
  History& history_;
  Animation& animation_;
  std::string name_;
  std::vector<Keyframe> before_;
  KeyPosition currentBefore_;
};

class AnimationListStep final : public HistoryStep {
 public:
  AnimationListStep(std::string name, std::vector<DataKey> touches, AnimationList& list)
      : HistoryStep(std::move(name), std::move(touches)), list_(list) {}

  std::vector<std::shared_ptr<Animation>> before;
  std::vector<std::shared_ptr<Animation>> after;
  int32_t currentBefore = -1;
  int32_t currentAfter = -1;

  void undo() override { list_.replaceEntries(before, currentBefore); }
  void redo() override { list_.replaceEntries(after, currentAfter); }
  std::size_t memoryBytes() const override;

 private:
  AnimationList& list_;
};

class AnimationListEdit {
 public:
  AnimationListEdit(History& history, AnimationList& list, std::string name);
  /// Pushes a step when animations came or went or the current one changed.
  void commit();
  /// The animations the action added (after commit).
  const std::vector<const Animation*>& added() const { return added_; }

 private:
  History& history_;
  AnimationList& list_;
  std::string name_;
  std::vector<std::shared_ptr<Animation>> before_;
  int32_t currentBefore_;
  std::vector<const Animation*> added_;
};

/// Bytes an animation holds.
std::size_t AnimationBytes(const Animation& animation);
}  // namespace posewright
