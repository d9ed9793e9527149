#include "ui/QtDialogs.h"

#include <QFileInfo>
#include <QMessageBox>

#include "ui/FileDialogs.h"
#include "ui/OptionDialog.h"
#include "ui/Translations.h"
#include "ui/WeightToolDialog.h"

namespace posewright {

std::optional<FileChoice> QtDialogs::chooseFile(const FileDialogRequest& request) {
  std::optional<FileChoice> choice = RunFileDialog(owner_, request, folder_);
  if (choice) {
    folder_ = QFileInfo(QString::fromStdString(choice->path)).absolutePath();
  }
  return choice;
}

void QtDialogs::showMessage(const std::string& text, const std::string& caption, const std::string& detail) {
  QMessageBox box(QMessageBox::NoIcon, ShownText(caption), ShownText(text), QMessageBox::Ok, owner_);
  if (!detail.empty()) {
    box.setInformativeText(ShownText(detail));
  }
  box.exec();
}

bool QtDialogs::askOkCancel(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::NoIcon, ShownText(caption), ShownText(text),
                  QMessageBox::Ok | QMessageBox::Cancel, owner_);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

SaveChangesAnswer QtDialogs::askSaveChanges(const std::string& text, const std::string& detail) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Posewright"), ShownText(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner_);
  box.setInformativeText(ShownText(detail));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChangesAnswer::Save;
    case QMessageBox::Discard:
      return SaveChangesAnswer::Discard;
    default:
      return SaveChangesAnswer::Cancel;
  }
}

OptionDialogView& QtDialogs::optionDialog() {
  if (optionDialog_ == nullptr) {
    optionDialog_ = new OptionDialog(owner_);  // owned by the main window
  }
  return *optionDialog_;
}

WeightToolDialogView& QtDialogs::weightToolDialog() {
  if (weightToolDialog_ == nullptr) {
    weightToolDialog_ = new WeightToolDialog(owner_);  // owned by the main window
  }
  return *weightToolDialog_;
}
}  // namespace posewright
