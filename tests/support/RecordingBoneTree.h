// A bone tree held in memory, for tests and fuzz targets: it records the
// entries it is given so they can be checked.
#pragma once

#include <string>
#include <vector>

#include "editor/panels/BoneTree.h"

namespace posewright {

class RecordingBoneTree : public BoneTree {
 public:
  struct Entry {
    BoneTreeItem parent = 0;
    std::string label;
  };

  void clear() override {
    entries_.clear();
    ++clearCount_;
  }

  /// Handles are 1, 2, 3, … in order of appending since the last clear.
  BoneTreeItem append(BoneTreeItem parent, const std::string& label) override {
    entries_.push_back(Entry{parent, label});
    return static_cast<BoneTreeItem>(entries_.size());
  }

  const std::vector<Entry>& entries() const { return entries_; }
  /// The entry of a handle returned by append.
  const Entry& entry(BoneTreeItem item) const { return entries_.at(static_cast<std::size_t>(item) - 1); }
  int clearCount() const { return clearCount_; }

 private:
  std::vector<Entry> entries_;
  int clearCount_ = 0;
};
}  // namespace posewright
