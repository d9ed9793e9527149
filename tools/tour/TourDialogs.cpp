#include "tools/tour/TourDialogs.h"

#include "ui/OptionDialog.h"
#include "ui/WeightToolDialog.h"

namespace posewright {

void TourDialogs::pick(const std::string& path, int filter) {
  picks_.push_back(FileChoice{path, filter});
}

std::optional<FileChoice> TourDialogs::chooseFile(const FileDialogRequest&) {
  if (picks_.empty()) {
    ++unanswered_;
    return std::nullopt;
  }
  FileChoice choice = picks_.front();
  picks_.pop_front();
  return choice;
}

void TourDialogs::showMessage(const std::string& text, const std::string& caption,
                              const std::string& detail) {
  messages_.push_back(caption + ": " + text + (detail.empty() ? "" : " (" + detail + ")"));
}

bool TourDialogs::askOkCancel(const std::string& text, const std::string& caption) {
  messages_.push_back(caption + "? " + text);
  return true;
}

SaveChangesAnswer TourDialogs::askSaveChanges(const std::string& text, const std::string& detail) {
  messages_.push_back("Save? " + text + " (" + detail + ")");
  return SaveChangesAnswer::Discard;
}

OptionDialogView& TourDialogs::optionDialog() {
  if (options_ == nullptr) {
    options_ = new OptionDialog(owner_);
  }
  return *options_;
}

WeightToolDialogView& TourDialogs::weightToolDialog() {
  if (weightTool_ == nullptr) {
    weightTool_ = new WeightToolDialog(owner_);
  }
  return *weightTool_;
}
}  // namespace posewright
