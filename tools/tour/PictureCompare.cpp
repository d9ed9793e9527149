#include "tools/tour/PictureCompare.h"

#include <algorithm>
#include <cstdlib>

namespace posewright {

namespace {
int ChannelDifference(QRgb a, QRgb b) {
  return std::max(
      {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QImage Rgb(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}
}  // namespace

PictureDifference ComparePictures(const QImage& actual, const QImage& expected,
                                  const PictureTolerance& tolerance) {
  PictureDifference d;
  d.sameSize = !actual.isNull() && actual.size() == expected.size();
  if (!d.sameSize) {
    return d;
  }
  const QImage a = Rgb(actual);
  const QImage e = Rgb(expected);
  d.pixels = static_cast<long long>(a.width()) * a.height();
  for (int y = 0; y < a.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowE = reinterpret_cast<const QRgb*>(e.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int diff = ChannelDifference(rowA[x], rowE[x]);
      d.largestChannelDifference = std::max(d.largestChannelDifference, diff);
      if (diff > tolerance.channelLevels) {
        ++d.differingPixels;
      }
    }
  }
  return d;
}

QImage DifferenceMap(const QImage& actual, const QImage& expected, const PictureTolerance& tolerance) {
  if (actual.isNull() || actual.size() != expected.size()) {
    return {};
  }
  const QImage a = Rgb(actual);
  QImage map = Rgb(expected);
  for (int y = 0; y < map.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    auto* row = reinterpret_cast<QRgb*>(map.scanLine(y));
    for (int x = 0; x < map.width(); ++x) {
      if (ChannelDifference(rowA[x], row[x]) > tolerance.channelLevels) {
        row[x] = qRgb(255, 0, 0);
      } else {
        const int grey = 128 + qGray(row[x]) / 2;
        row[x] = qRgb(grey, grey, grey);
      }
    }
  }
  return map;
}
}  // namespace posewright
