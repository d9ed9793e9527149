// screengrab OUT.png: saves the whole screen of the current X display.
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: screengrab OUT.png\n");
    return 2;
  }
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "screengrab: cannot grab or save the screen\n");
    return 1;
  }
  return 0;
}
