#include <gtest/gtest.h>

#include <QApplication>

#include "ui/panels/DialogUnits.h"

namespace posewright {

namespace {

TEST(DialogUnits, ConvertsWithRoundingHalfAwayFromZero) {
  const DialogUnits units(7, 13);
  EXPECT_EQ(units.x(4), 7);
  EXPECT_EQ(units.x(3), 5);    // 5.25
  EXPECT_EQ(units.x(2), 4);    // 3.5
  EXPECT_EQ(units.x(-2), -4);  // −3.5
  EXPECT_EQ(units.y(8), 13);
  EXPECT_EQ(units.y(3), 5);  // 4.875
  EXPECT_EQ(units.y(-3), -5);
  EXPECT_EQ(units.rect(16, 12, 202, 27), QRect(28, 20, 354, 44));
  // Each edge is converted on its own, so a width is not the difference of ends.
  EXPECT_EQ(units.size(470, 75), QSize(823, 122));
}

TEST(DialogUnits, GrowWithTheFont) {
  QFont small = QApplication::font();
  small.setPixelSize(10);
  QFont large = small;
  large.setPixelSize(20);
  const DialogUnits a(small);
  const DialogUnits b(large);
  EXPECT_GT(b.baseWidth(), a.baseWidth());
  EXPECT_GT(b.baseHeight(), a.baseHeight());
  EXPECT_GE(a.baseHeight(), 10);
}

}  // namespace
}  // namespace posewright
