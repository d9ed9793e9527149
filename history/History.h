// The undo history: a stack of done steps with the undone ones above them,
// bounded in memory (the oldest steps go first), and the saved state of every
// piece of data, so the editor knows what is modified.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "history/HistoryStep.h"

namespace posewright {

/// The history's memory bound unless set otherwise: 256 MiB.
inline constexpr std::size_t kDefaultHistoryMemory = std::size_t{256} << 20;

class History {
 public:
  History() = default;
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  /// Records step, already done. Undone steps are dropped (they can no longer
  /// be redone). With chain, and when the previous push also had chain and
  /// nothing came between, the top step may absorb this one (one step for a
  /// whole slider drag). Then the oldest steps are dropped while the history
  /// holds more than its memory bound, the new step too if it alone is bigger.
  void push(std::unique_ptr<HistoryStep> step, bool chain = false);
  /// Closes an open chain: the next push starts a step of its own.
  void endChain() { chainOpen_ = false; }

  /// Undoes the newest done step; false when there is none.
  bool undo();
  /// Redoes the oldest undone step; false when there is none.
  bool redo();
  bool canUndo() const { return done_ > 0; }
  bool canRedo() const { return done_ < steps_.size(); }
  /// The name of the step undo / redo would act on; empty when none.
  std::string undoName() const;
  std::string redoName() const;

  /// Done steps, undone steps.
  std::size_t doneCount() const { return done_; }
  std::size_t undoneCount() const { return steps_.size() - done_; }
  /// Bytes held by all steps.
  std::size_t memoryBytes() const { return memory_; }
  std::size_t memoryLimit() const { return limit_; }
  /// Sets the bound and drops the oldest steps beyond it.
  void setMemoryLimit(std::size_t bytes);

  /// A new history for data opened from files: every step goes; what was
  /// modified stays modified and everything else counts as saved.
  void clear();
  /// Forgets everything: no steps and nothing modified (File > New).
  void reset();

  /// The data of key is now as saved (written to or read from a file).
  void markSaved(DataKey key);
  /// True when key's data differs from its saved state: a done step touched it
  /// since the save, or a step that touched it was undone past the save.
  bool isModified(DataKey key) const;

  /// Called after every change of the stack or of a saved state.
  std::function<void()> onChange;

 private:
  // The state of key's data: the serial of the newest done step touching it,
  // or of its oldest dropped step, or the history's epoch.
  uint64_t stateOf(DataKey key) const;
  void dropOldest();
  void trimToLimit();
  void notify();

  struct Entry {
    std::unique_ptr<HistoryStep> step;
    uint64_t serial = 0;
    std::size_t bytes = 0;
  };
  std::vector<Entry> steps_;
  std::size_t done_ = 0;
  std::size_t memory_ = 0;
  std::size_t limit_ = kDefaultHistoryMemory;
  bool chainOpen_ = false;
  uint64_t lastSerial_ = 0;
  // The state all data had when the history (re)started.
  uint64_t epoch_ = 0;
  // Per key, the serial of its newest step dropped as oldest.
  std::map<DataKey, uint64_t> dropped_;
  // Per key, the state it was saved in; a key without an entry was saved at
  // the epoch.
  std::map<DataKey, uint64_t> saved_;
};
}  // namespace posewright
