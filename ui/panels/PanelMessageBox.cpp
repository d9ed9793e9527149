#include "ui/panels/PanelMessageBox.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace {
QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QWidget* OwnerOf(QWidget* panel) {
  QWidget* owner = panel != nullptr ? panel->parentWidget() : nullptr;
  return owner != nullptr ? owner : panel;
}

int Run(QWidget* panel, std::string_view text, std::string_view caption, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), buttons, OwnerOf(panel));
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
