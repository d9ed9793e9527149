// Comparing a screenshot with its committed reference: pictures of the same
// size match when only a small share of their pixels differ by more than a
// few levels in some colour channel (fonts and the software rasteriser are
// deterministic on one platform, but a changed library may move an edge by a
// pixel). The share is small enough that a wrong colour on one figure fails.
#pragma once

#include <QImage>

namespace posewright {

struct PictureTolerance {
  /// A pixel differs when some channel differs by more than this.
  int channelLevels = 16;
  /// The pictures match while at most this share of their pixels differ.
  double differingShare = 0.0005;
};

struct PictureDifference {
  bool sameSize = false;
  long long differingPixels = 0;
  long long pixels = 0;
  /// The largest channel difference over all pixels.
  int largestChannelDifference = 0;

  double differingShare() const { return pixels > 0 ? static_cast<double>(differingPixels) / pixels : 1.0; }
  bool within(const PictureTolerance& tolerance) const {
    return sameSize && differingShare() <= tolerance.differingShare;
  }
};

/// Compares the RGB channels of two pictures (alpha is ignored).
PictureDifference ComparePictures(const QImage& actual, const QImage& expected,
                                  const PictureTolerance& tolerance);

/// The expected picture, faded, with every differing pixel in red: for
/// looking at what changed. Empty when the sizes differ.
QImage DifferenceMap(const QImage& actual, const QImage& expected, const PictureTolerance& tolerance);
}  // namespace posewright
