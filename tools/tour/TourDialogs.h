// The tour's answers to the editor's modal dialogs: the file names a user
// would pick come from a queue, every message box is recorded (the tour
// expects none) and the export's Option dialog is the real one.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/DialogService.h"

class QWidget;

namespace posewright {

class OptionDialog;
class WeightToolDialog;

class TourDialogs final : public DialogService {
 public:
  /// The window that owns the Option dialog (the main window); set it before the first export.
  void setOwner(QWidget* owner) { owner_ = owner; }
  /// The next file dialog picks path with the 1-based type filter.
  void pick(const std::string& path, int filter = 1);
  /// "caption: text (detail)" of every message box shown, and of every question.
  const std::vector<std::string>& messages() const { return messages_; }
  /// File dialogs that found no answer queued.
  int unansweredFileDialogs() const { return unanswered_; }

  std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override;
  bool askOkCancel(const std::string& text, const std::string& caption) override;
  /// Recorded; answered with Discard.
  SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) override;
  OptionDialogView& optionDialog() override;
  WeightToolDialogView& weightToolDialog() override;

 private:
  QWidget* owner_ = nullptr;
  std::deque<FileChoice> picks_;
  std::vector<std::string> messages_;
  int unanswered_ = 0;
  // Owned by owner_.
  OptionDialog* options_ = nullptr;
  WeightToolDialog* weightTool_ = nullptr;
};
}  // namespace posewright
