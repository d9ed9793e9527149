// The editor: one Application, the main window with its panels, and Qt's
// event loop. Files named on the command line open at once:
//   posewright [MODEL.skm | MESH [BONES.dat] | RIGGED.glb] [PARAMS.prm] [ANIM.anm...]
// (the forms are in editor/StartupFiles.h).
#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QTimer>

#include "editor/Application.h"
#include "ui/MainWindow.h"
#include "ui/OpenGlFormat.h"
#include "ui/Translations.h"

namespace posewright {

namespace {
// The application icon compiled into the program (resources/posewright.qrc),
// in every size it is drawn in, for the window frames and the task bar.
QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/posewright-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  UseViewportSurfaceFormat();
  QApplication qt(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Posewright"));
  QCoreApplication::setApplicationName(QStringLiteral("posewright"));
  // Desktops match the running editor with its installed desktop entry by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("posewright"));
  QApplication::setWindowIcon(ApplicationIcon());
  InstallTranslations(qt);
  std::vector<std::string> files;
  for (const QString& argument : QCoreApplication::arguments().mid(1)) {
    files.push_back(argument.toStdString());
  }
  QSettings settings;
  Application app;
  MainWindow window(app, nullptr, &settings);
  window.start();
  if (!files.empty()) {
    // Once the window shows, so the dialogs a file may need have their owner.
    QTimer::singleShot(0, &window, [&window, &files] { window.openFiles(files); });
  }
  return QApplication::exec();
}
