// The modal dialogs the main window shows: file dialogs, message boxes and
// the export Option dialog. The editor uses the Qt ones; tests substitute
// scripted answers.
#pragma once

#include <optional>
#include <string>

#include "editor/ShellView.h"
#include "editor/WeightToolDialogView.h"
#include "editor/panels/ExportView.h"

namespace posewright {

class DialogService {
 public:
  virtual ~DialogService() = default;
  /// An open or save dialog; nothing when cancelled.
  virtual std::optional<FileChoice> chooseFile(const FileDialogRequest& request) = 0;
  /// A message box with OK; detail (may be empty) is the reason under the text.
  virtual void showMessage(const std::string& text, const std::string& caption,
                           const std::string& detail) = 0;
  /// A question with OK and Cancel; true only for OK.
  virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
  /// The question before modified data is dropped: Save, Discard or Cancel
  /// (also Escape and the close box); detail says what is modified.
  virtual SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) = 0;
  /// The export's Option dialog.
  virtual OptionDialogView& optionDialog() = 0;
  /// The settings dialog of the weight tools.
  virtual WeightToolDialogView& weightToolDialog() = 0;
};
}  // namespace posewright
