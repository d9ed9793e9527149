// The editor: one Application, the main window with its panels, and Qt's
// event loop, which runs the frames from a timer.
#include <QApplication>

#include "app/Application.h"
#include "ui/MainWindow.h"
#include "ui/OpenGlFormat.h"

int main(int argc, char** argv) {
  UseViewportSurfaceFormat();
  QApplication qt(argc, argv);
  Application app;
  MainWindow window(app);
  window.start();
  return QApplication::exec();
}
