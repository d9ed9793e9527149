// The open and save dialogs of the file commands, on QFileDialog.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "editor/ShellView.h"

class QWidget;

namespace posewright {

/// The dialog's type list: each filter's description, followed by its
/// pattern in parentheses unless the description already ends with it.
QStringList NameFilters(const FileDialogRequest& request);

/// Shows the modal dialog owned by owner, starting in folder (when not empty),
/// and returns the chosen file with its folder and the 1-based number of its
/// type (TypeOfExtension of the selected filter). With a default extension, a
/// typed name without one gets the extension of the selected filter (the
/// default extension while that filter has no single extension).
std::optional<FileChoice> RunFileDialog(QWidget* owner, const FileDialogRequest& request,
                                        const QString& folder);

/// The 1-based filter a chosen name belongs to: selected while the name has no
/// extension, or the extension is selected's own or names no filter; otherwise
/// the first filter whose pattern is "*." + that extension (letter case
/// ignored). So "model.skm" typed while the .x type is selected is saved as a
/// SkinnedMesh file, not exported into a file named .skm.
int TypeOfExtension(const FileDialogRequest& request, const QString& suffix, int selected);
}  // namespace posewright
