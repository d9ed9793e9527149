#include "history/History.h"

#include <set>

namespace posewright {

namespace {
// A saved state no data can be in again: modified until the next save.
constexpr uint64_t kNeverSaved = ~uint64_t{0};
}  // namespace

void History::push(std::unique_ptr<HistoryStep> step, bool chain) {
  if (!step) {
    return;
  }
  // Undone steps cannot come back once something new is done.
  while (steps_.size() > done_) {
    memory_ -= steps_.back().bytes;
    steps_.pop_back();
  }
  if (chain && chainOpen_ && done_ > 0 && steps_.back().step->absorb(*step)) {
    Entry& top = steps_.back();
    memory_ -= top.bytes;
    top.bytes = top.step->memoryBytes();
    memory_ += top.bytes;
    // The merged step leads to a new state of its data.
    top.serial = ++lastSerial_;
  } else {
    Entry entry;
    entry.bytes = step->memoryBytes();
    entry.serial = ++lastSerial_;
    entry.step = std::move(step);
    memory_ += entry.bytes;
    steps_.push_back(std::move(entry));
    done_ = steps_.size();
  }
  chainOpen_ = chain;
  trimToLimit();
  notify();
}

bool History::undo() {
  chainOpen_ = false;
  if (done_ == 0) {
    return false;
  }
  --done_;
  steps_[done_].step->undo();
  notify();
  return true;
}

bool History::redo() {
  chainOpen_ = false;
  if (done_ >= steps_.size()) {
    return false;
  }
  steps_[done_].step->redo();
  ++done_;
  notify();
  return true;
}

std::string History::undoName() const {
  return done_ > 0 ? steps_[done_ - 1].step->name() : std::string();
}

std::string History::redoName() const {
  return done_ < steps_.size() ? steps_[done_].step->name() : std::string();
}

void History::setMemoryLimit(std::size_t bytes) {
  limit_ = bytes;
  trimToLimit();
  notify();
}

void History::dropOldest() {
  Entry& oldest = steps_.front();
  for (DataKey key : oldest.step->touches()) {
    dropped_[key] = oldest.serial;
  }
  memory_ -= oldest.bytes;
  steps_.erase(steps_.begin());
  if (done_ > 0) {
    --done_;
  }
}

void History::trimToLimit() {
  while (!steps_.empty() && memory_ > limit_) {
    dropOldest();
  }
  if (steps_.empty()) {
    chainOpen_ = false;
  }
}

void History::clear() {
  std::set<DataKey> keys;
  for (const auto& [key, state] : saved_) keys.insert(key);
  for (const auto& [key, state] : dropped_) keys.insert(key);
  for (const Entry& e : steps_) keys.insert(e.step->touches().begin(), e.step->touches().end());
  std::map<DataKey, uint64_t> stillModified;
  for (DataKey key : keys) {
    if (isModified(key)) {
      stillModified[key] = kNeverSaved;
    }
  }
  steps_.clear();
  done_ = 0;
  memory_ = 0;
  chainOpen_ = false;
  dropped_.clear();
  saved_ = std::move(stillModified);
  epoch_ = ++lastSerial_;
  notify();
}

void History::reset() {
  clear();
  saved_.clear();
  notify();
}

void History::markSaved(DataKey key) {
  saved_[key] = stateOf(key);
  notify();
}

bool History::isModified(DataKey key) const {
  const auto saved = saved_.find(key);
  return stateOf(key) != (saved != saved_.end() ? saved->second : epoch_);
}

uint64_t History::stateOf(DataKey key) const {
  for (std::size_t i = done_; i > 0; --i) {
    const Entry& e = steps_[i - 1];
    for (DataKey touched : e.step->touches()) {
      if (touched == key) {
        return e.serial;
      }
    }
  }
  const auto dropped = dropped_.find(key);
  return dropped != dropped_.end() ? dropped->second : epoch_;
}

void History::notify() {
  if (onChange) {
    onChange();
  }
}
}  // namespace posewright
