// The editor: one Application, the main window with its panels, and Qt's
// event loop, which runs the frames from a timer.
#include <QApplication>
#include <QIcon>

#include "editor/Application.h"
#include "ui/MainWindow.h"
#include "ui/OpenGlFormat.h"

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

int main(int argc, char** argv) {
  UseViewportSurfaceFormat();
  QApplication qt(argc, argv);
  // Desktops match the running editor with its installed desktop entry by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("posewright"));
  QApplication::setWindowIcon(ApplicationIcon());
  Application app;
  MainWindow window(app);
  window.start();
  return QApplication::exec();
}
