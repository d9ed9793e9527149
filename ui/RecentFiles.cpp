#include "ui/RecentFiles.h"

#include <QSettings>
#include <QStringList>

namespace posewright {

namespace {
const char kKey[] = "recentFiles";
}  // namespace

QList<RecentFile> ReadRecentFiles(const QSettings& settings) {
  QList<RecentFile> files;
  // Each entry is "type|path".
  for (const QString& entry : settings.value(kKey).toStringList()) {
    const qsizetype bar = entry.indexOf('|');
    bool ok = false;
    const int type = entry.left(bar).toInt(&ok);
    if (bar > 0 && ok && files.size() < kRecentFileCount) {
      files.append({entry.mid(bar + 1), type});
    }
  }
  return files;
}

void RememberRecentFile(QSettings& settings, const RecentFile& file) {
  QList<RecentFile> files = ReadRecentFiles(settings);
  files.removeAll(file);
  files.prepend(file);
  QStringList entries;
  for (const RecentFile& f : files.mid(0, kRecentFileCount)) {
    entries << QString::number(f.type) + '|' + f.path;
  }
  settings.setValue(kKey, entries);
}
}  // namespace posewright
