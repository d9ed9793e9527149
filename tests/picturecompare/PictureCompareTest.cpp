#include <gtest/gtest.h>

#include "tools/tour/PictureCompare.h"

namespace posewright {

namespace {

QImage Plain(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(PictureCompareTest, CountsPixelsBeyondTheChannelToleranceInAnyChannel) {
  const QImage expected = Plain(100, 50, qRgb(40, 80, 120));
  QImage actual = expected;
  actual.setPixel(0, 0, qRgb(40 + 16, 80, 120));  // at the tolerance: equal
  actual.setPixel(1, 0, qRgb(40, 80 - 17, 120));  // one level beyond, green
  actual.setPixel(2, 0, qRgb(40, 80, 255));       // blue only
  actual.setPixel(99, 49, qRgb(0, 0, 0));         // the last pixel counts too
  const PictureDifference d = ComparePictures(actual, expected, PictureTolerance{});
  EXPECT_TRUE(d.sameSize);
  EXPECT_EQ(d.pixels, 5000);
  EXPECT_EQ(d.differingPixels, 3);
  EXPECT_EQ(d.largestChannelDifference, 135);
}

TEST(PictureCompareTest, MatchesWhileTheDifferingShareStaysWithinTheAllowance) {
  const QImage expected = Plain(100, 100, qRgb(200, 200, 200));
  QImage actual = expected;
  PictureTolerance tolerance;
  tolerance.differingShare = 0.005;  // 50 of 10,000 pixels
  for (int x = 0; x < 50; ++x) actual.setPixel(x, 7, qRgb(0, 0, 0));
  EXPECT_TRUE(ComparePictures(actual, expected, tolerance).within(tolerance));
  actual.setPixel(50, 7, qRgb(0, 0, 0));
  EXPECT_FALSE(ComparePictures(actual, expected, tolerance).within(tolerance));
}

TEST(PictureCompareTest, AlphaAndPixelFormatDoNotCount) {
  QImage expected(8, 8, QImage::Format_ARGB32);
  expected.fill(qRgba(10, 20, 30, 255));
  QImage actual = expected.convertToFormat(QImage::Format_RGB888);
  const PictureDifference d = ComparePictures(actual, expected, PictureTolerance{});
  EXPECT_TRUE(d.within(PictureTolerance{}));
  EXPECT_EQ(d.largestChannelDifference, 0);
}

TEST(PictureCompareTest, PicturesOfAnotherSizeOrNoPictureNeverMatch) {
  const QImage expected = Plain(10, 10, qRgb(1, 2, 3));
  EXPECT_FALSE(
      ComparePictures(Plain(10, 11, qRgb(1, 2, 3)), expected, PictureTolerance{}).within(PictureTolerance{}));
  EXPECT_FALSE(ComparePictures(QImage(), QImage(), PictureTolerance{}).within(PictureTolerance{}));
  EXPECT_TRUE(DifferenceMap(Plain(9, 10, 0), expected, PictureTolerance{}).isNull());
}

TEST(PictureCompareTest, DifferenceMapMarksDifferingPixelsRedOnAFadedReference) {
  const QImage expected = Plain(4, 4, qRgb(0, 0, 0));
  QImage actual = expected;
  actual.setPixel(2, 3, qRgb(255, 255, 255));
  const QImage map = DifferenceMap(actual, expected, PictureTolerance{});
  ASSERT_EQ(map.size(), expected.size());
  EXPECT_EQ(map.pixel(2, 3), qRgb(255, 0, 0));
  EXPECT_EQ(map.pixel(0, 0), qRgb(128, 128, 128));
}

}  // namespace
}  // namespace posewright
