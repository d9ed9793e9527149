#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace posewright {

namespace {
// "*.x" → "x"; "" for patterns that do not name exactly one extension.
QString ExtensionOf(const QString& pattern) {
  if (!pattern.startsWith("*.")) {
    return {};
  }
  const QString extension = pattern.mid(2);
  for (QChar c : extension) {
    if (c == '*' || c == '?' || c == ';' || c.isSpace()) {
      return {};
    }
  }
  return extension;
}
}  // namespace

QStringList NameFilters(const FileDialogRequest& request) {
  QStringList filters;
  for (const FileFilter& f : request.filters) {
    const QString description = QString::fromStdString(f.description);
    const QString pattern = QString::fromStdString(f.pattern);
    filters << (description.endsWith("(" + pattern + ")") ? description : description + " (" + pattern + ")");
  }
  return filters;
}

std::optional<FileChoice> RunFileDialog(QWidget* owner, const FileDialogRequest& request,
                                        const QString& folder) {
  QFileDialog dialog(owner);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!request.title.empty()) {
    dialog.setWindowTitle(QString::fromStdString(request.title));
  }
  const bool save = request.kind == FileDialogRequest::Kind::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!save && request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askOverwrite);
  if (!folder.isEmpty()) {
    dialog.setDirectory(folder);
  }
  const QStringList filters = NameFilters(request);
  dialog.setNameFilters(filters);
  const int preselected = request.preselectedFilter - 1;
  if (preselected >= 0 && preselected < filters.size()) {
    dialog.selectNameFilter(filters[preselected]);
  }

  const QString defaultExtension = QString::fromStdString(request.defaultExtension);
  auto suffixFor = [&](const QString& filter) {
    const int i = static_cast<int>(filters.indexOf(filter));
    const QString own =
        i >= 0 ? ExtensionOf(QString::fromStdString(request.filters[static_cast<size_t>(i)].pattern))
               : QString();
    return own.isEmpty() ? defaultExtension : own;
  };
  if (!defaultExtension.isEmpty()) {
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
  }

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  FileChoice choice;
  choice.path = dialog.selectedFiles().front().toStdString();
  const int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  choice.filter = chosen >= 0 ? chosen + 1 : 1;
  choice.filter = TypeOfExtension(request, QFileInfo(dialog.selectedFiles().front()).suffix(), choice.filter);
  return choice;
}

int TypeOfExtension(const FileDialogRequest& request, const QString& suffix, int selected) {
  auto names = [&](int filter) {
    const QString own =
        ExtensionOf(QString::fromStdString(request.filters[static_cast<size_t>(filter - 1)].pattern));
    return !own.isEmpty() && own.compare(suffix, Qt::CaseInsensitive) == 0;
  };
  const int count = static_cast<int>(request.filters.size());
  if (suffix.isEmpty() || (selected >= 1 && selected <= count && names(selected))) {
    return selected;
  }
  for (int filter = 1; filter <= count; ++filter) {
    if (names(filter)) {
      return filter;
    }
  }
  return selected;
}
}  // namespace posewright
