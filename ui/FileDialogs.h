// The open and save dialogs of the file commands, on QFileDialog.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/ShellView.h"

class QWidget;

/// The dialog's type list: each filter's description, followed by its
/// pattern in parentheses unless the description already ends with it.
QStringList NameFilters(const FileDialogRequest& request);

/// Shows the modal dialog owned by owner, starting in folder (when not empty),
/// and returns the chosen file with its folder and the 1-based number of the
/// filter selected. With a default extension, a typed name without one gets
/// the extension of the selected filter (the default extension while that
/// filter has no single extension).
std::optional<FileChoice> RunFileDialog(QWidget* owner, const FileDialogRequest& request,
                                        const QString& folder);
