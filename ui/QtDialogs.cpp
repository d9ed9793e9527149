#include "ui/QtDialogs.h"

#include <QFileInfo>
#include <QMessageBox>

#include "ui/FileDialogs.h"
#include "ui/OptionDialog.h"

std::optional<FileChoice> QtDialogs::chooseFile(const FileDialogRequest& request) {
  std::optional<FileChoice> choice = RunFileDialog(owner_, request, folder_);
  if (choice) {
    folder_ = QFileInfo(QString::fromStdString(choice->path)).absolutePath();
  }
  return choice;
}

void QtDialogs::showMessage(const std::string& text, const std::string& caption, const std::string& detail) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, owner_);
  if (!detail.empty()) {
    box.setInformativeText(QString::fromStdString(detail));
  }
  box.exec();
}

bool QtDialogs::askOkCancel(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, owner_);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

OptionDialogView& QtDialogs::optionDialog() {
  if (optionDialog_ == nullptr) {
    optionDialog_ = new OptionDialog(owner_);  // owned by the main window
  }
  return *optionDialog_;
}
