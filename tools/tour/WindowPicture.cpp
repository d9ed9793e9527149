#include "tools/tour/WindowPicture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace posewright {

namespace {
const QColor kBackground(0xE4, 0xE7, 0xEB);
}  // namespace

QImage PictureOfWindows(const std::vector<QWidget*>& windows, int margin) {
  QRect bounds;
  for (QWidget* w : windows) {
    if (w != nullptr && w->isVisible()) {
      bounds = bounds.united(w->frameGeometry());
    }
  }
  if (bounds.isEmpty()) {
    return {};
  }
  // Let every pending repaint reach the X server before reading the screen.
  QApplication::processEvents();
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  bounds.adjust(-margin, -margin, margin, margin);
  QImage picture(bounds.size(), QImage::Format_RGB32);
  picture.fill(kBackground);
  QPainter painter(&picture);
  for (QWidget* w : windows) {
    if (w != nullptr && w->isVisible()) {
      const QRect r = w->frameGeometry();
      painter.drawImage(r.topLeft() - bounds.topLeft(), screen.copy(r));
    }
  }
  return picture;
}

std::vector<QWidget*> VisibleWindows(const std::vector<QWidget*>& first) {
  std::vector<QWidget*> ordered;
  for (QWidget* w : first) {
    if (w != nullptr && w->isVisible()) {
      ordered.push_back(w);
    }
  }
  std::vector<QWidget*> rest;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && std::find(first.begin(), first.end(), w) == first.end() &&
        !w->windowFlags().testFlag(Qt::ToolTip)) {
      rest.push_back(w);
    }
  }
  // Menus open later over the windows they belong to; a submenu stands right of its menu.
  std::sort(rest.begin(), rest.end(), [](const QWidget* a, const QWidget* b) {
    const QPoint pa = a->geometry().topLeft();
    const QPoint pb = b->geometry().topLeft();
    return pa.x() != pb.x() ? pa.x() < pb.x() : pa.y() < pb.y();
  });
  ordered.insert(ordered.end(), rest.begin(), rest.end());
  return ordered;
}
}  // namespace posewright
