#include "ui/panels/KeyframeMarkers.h"

#include <QColor>

namespace posewright {

namespace {
// Edge pixels at the start of each row (1-based rows); the rest of the row is
// face (rows 3 to 19: two edge, seven face, two black) or black.
QImage MakeMarker(QColor edge, QColor face) {
  QImage image(kKeyframeMarkerWidth, kKeyframeMarkerHeight, QImage::Format_RGB32);
  const QRgb black = qRgb(0, 0, 0);
  for (int y = 0; y < kKeyframeMarkerHeight; ++y) {
    const int row = y + 1;
    int edgeCount = 0;
    int faceCount = 0;
    if (row == 1) {
      edgeCount = 10;
    } else if (row == 2) {
      edgeCount = 9;
    } else if (row <= 19) {
      edgeCount = 2;
      faceCount = 7;
    } else if (row == 20) {
      edgeCount = 1;
    }
    for (int x = 0; x < kKeyframeMarkerWidth; ++x) {
      QRgb pixel = black;
      if (x < edgeCount) {
        pixel = edge.rgb();
      } else if (x < edgeCount + faceCount) {
        pixel = face.rgb();
      }
      image.setPixel(x, y, pixel);
    }
  }
  return image;
}
}  // namespace

const QImage& CurrentKeyframeMarkerImage() {
  static const QImage image = MakeMarker(QColor(192, 192, 192), QColor(255, 0, 0));
  return image;
}

const QImage& KeyframeMarkerImage() {
  static const QImage image = MakeMarker(QColor(128, 128, 128), QColor(0, 0, 255));
  return image;
}
}  // namespace posewright
