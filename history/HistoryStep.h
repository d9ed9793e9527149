// One undoable change of the user's data: it was done when it entered the
// history, and can be undone and redone any number of times, strictly in the
// history's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace posewright {

/// Names a piece of data whose saved state the editor tracks: the model, its
/// blending parameters, or one animation (see DataKeys.h).
using DataKey = uint64_t;

class HistoryStep {
 public:
  /// name: what the menu shows after "Undo " / "Redo "; touches: the data
  /// the change alters (its modified state follows the step).
  HistoryStep(std::string name, std::vector<DataKey> touches)
      : name_(std::move(name)), touches_(std::move(touches)) {}
  virtual ~HistoryStep() = default;
  HistoryStep(const HistoryStep&) = delete;
  HistoryStep& operator=(const HistoryStep&) = delete;

  /// Returns the data to exactly its state before the step.
  virtual void undo() = 0;
  /// Returns the data to exactly its state after the step.
  virtual void redo() = 0;
  /// Bytes the step keeps alive: itself and everything it stores.
  virtual std::size_t memoryBytes() const = 0;
  /// Called with the step done right after this one, while the history keeps
  /// a chain of such steps open: true when this step took it over (it now
  /// leads from its own "before" to next's "after"), so next is dropped.
  virtual bool absorb(HistoryStep& next) {
    (void)next;
    return false;
  }

  const std::string& name() const { return name_; }
  const std::vector<DataKey>& touches() const { return touches_; }

 private:
  std::string name_;
  std::vector<DataKey> touches_;
};
}  // namespace posewright
