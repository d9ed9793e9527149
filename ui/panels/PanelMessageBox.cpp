#include "ui/panels/PanelMessageBox.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "ui/Translations.h"

namespace posewright {

namespace {
QWidget* OwnerOf(QWidget* panel) {
  QWidget* owner = panel != nullptr ? panel->parentWidget() : nullptr;
  return owner != nullptr ? owner : panel;
}

int Run(QWidget* panel, std::string_view text, std::string_view caption,
        QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, ShownText(caption), ShownText(text), buttons, OwnerOf(panel));
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec();
}
}  // namespace

void ShowPanelMessage(QWidget* panel, std::string_view text, std::string_view caption) {
  Run(panel, text, caption, QMessageBox::Ok);
}

bool AskPanelOkCancel(QWidget* panel, std::string_view text, std::string_view caption) {
  return Run(panel, text, caption, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
}  // namespace posewright
