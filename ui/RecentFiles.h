// File > Recent Files: the model files opened or saved last, newest first,
// kept in the editor's settings.
#pragma once

#include <QList>
#include <QString>

class QSettings;

namespace posewright {

/// How many files the list keeps.
inline constexpr int kRecentFileCount = 8;

struct RecentFile {
  QString path;
  /// As Application::modelFileType: 0 a mesh, kRiggedModelFileType a rigged
  /// model, otherwise the SkinnedMesh type.
  int type = 0;
  friend bool operator==(const RecentFile&, const RecentFile&) = default;
};

QList<RecentFile> ReadRecentFiles(const QSettings& settings);
/// Puts file at the front (once), drops the oldest beyond kRecentFileCount.
void RememberRecentFile(QSettings& settings, const RecentFile& file);
}  // namespace posewright
