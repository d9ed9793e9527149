// The real modal dialogs: QFileDialog and QMessageBox, owned by the main
// window. The file dialogs start in the folder of the last chosen file, as
// the process's current folder did for the original dialogs.
#pragma once

#include <QString>

#include "ui/DialogService.h"

class QWidget;

namespace posewright {

class OptionDialog;
class WeightToolDialog;

class QtDialogs final : public DialogService {
 public:
  explicit QtDialogs(QWidget* owner) : owner_(owner) {}

  std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override;
  bool askOkCancel(const std::string& text, const std::string& caption) override;
  SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) override;
  OptionDialogView& optionDialog() override;
  WeightToolDialogView& weightToolDialog() override;

 private:
  QWidget* owner_;
  OptionDialog* optionDialog_ = nullptr;
  WeightToolDialog* weightToolDialog_ = nullptr;
  QString folder_;
};
}  // namespace posewright
