#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "PanelTestSupport.h"
#include "anim/KeyPose.h"
#include "editor/AnimationCommands.h"
#include "editor/Application.h"
#include "support/MathMatchers.h"
#include "ui/panels/KeyframePanelWidget.h"
#include "ui/panels/KeyframeTimeSlider.h"

namespace posewright {

namespace {

class KeyframePanelWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.model = guitest::FigureModel();
    panel.attach(&app);
  }
  Skeleton& skeleton() { return app.model.skeleton; }
  Animation* animation() { return app.animation.animations.current(); }
  void addAnimation() { AddAnimationCommand(*panel.behaviour(), skeleton()); }
  void click(const char* name) {
    QTest::mouseClick(panel.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  QString field(const char* name) const {
    return panel.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
  // The user drags the time slider to t and presses Add.
  void addAt(int t) {
    panel.timeSlider()->setValue(t);
    click("addButton");
  }
  void turnArm(float radians) { SetBonePose(skeleton().bones[4], AxisAngle(1, 0, 0, radians)); }

  Application app;
  KeyframePanelWidget panel{nullptr};
};

TEST_F(KeyframePanelWidgetTest, StartsWithTheFirstWindowAndItsTitle) {
  EXPECT_EQ(panel.windowTitle(), QStringLiteral("Keyframe"));
  EXPECT_EQ(panel.timeSlider()->minimum(), 0);
  EXPECT_EQ(panel.timeSlider()->maximum(), 60);
  EXPECT_EQ(panel.timeSlider()->tickInterval(), 5);
  EXPECT_EQ(field("windowStartField"), QStringLiteral("0"));
  EXPECT_EQ(field("windowMiddleField"), QStringLiteral("30"));
  EXPECT_EQ(field("windowEndField"), QStringLiteral("60"));
  EXPECT_TRUE(app.keyframePanelReady);

  addAnimation();
  EXPECT_EQ(panel.windowTitle(), QStringLiteral("Keyframe : Unnamed(1)"));
  panel.setTitle("Keyframe : ");
  EXPECT_EQ(panel.windowTitle(), QStringLiteral("Keyframe : "));
}

TEST_F(KeyframePanelWidgetTest, EveryControlIdleWithoutAnAnimation) {
  for (const char* name : {"prevButton", "nextButton", "playButton", "inverseButton", "addButton",
                           "removeButton", "windowBackButton", "windowForwardButton"}) {
    click(name);
  }
  panel.timeSlider()->setValue(12);
  EXPECT_EQ(app.animation.timelineStart, 0);
  EXPECT_EQ(field("windowEndField"), QStringLiteral("60"));
  EXPECT_EQ(field("timeEdit"), QString());
  EXPECT_FALSE(app.animation.playing);
  EXPECT_TRUE(panel.timeSlider()->markers().empty());
}

TEST_F(KeyframePanelWidgetTest, SliderMoveShowsTheTimeAndAddRecordsThePose) {
  addAnimation();
  turnArm(0.5f);
  addAt(12);
  EXPECT_EQ(field("timeEdit"), QStringLiteral("12"));
  ASSERT_EQ(animation()->keys().size(), 1u);
  EXPECT_EQ(animation()->keys()[0].time, 12);
  ExpectNear(animation()->keys()[0].rotations[4], AxisAngle(1, 0, 0, 0.5f), 1e-6f);
}

TEST_F(KeyframePanelWidgetTest, AddAtAnExistingTimeAsksAndCancelKeepsTheKeyframe) {
  addAnimation();
  turnArm(0.5f);
  addAt(20);
  turnArm(1.0f);
  {
    guitest::MessageBoxAnswerer answerer(QMessageBox::Cancel);
    addAt(20);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Attention");
    EXPECT_EQ(answerer.seen()[0].text, "There's Already Exist Keyframe,Overwrite?");
    EXPECT_TRUE(answerer.seen()[0].hasCancel);
  }
  ASSERT_EQ(animation()->keys().size(), 1u);
  ExpectNear(animation()->keys()[0].rotations[4], AxisAngle(1, 0, 0, 0.5f), 1e-6f);
  {
    guitest::MessageBoxAnswerer answerer(QMessageBox::Ok);
    addAt(20);
    EXPECT_EQ(answerer.seen().size(), 1u);
  }
  ASSERT_EQ(animation()->keys().size(), 1u);
  ExpectNear(animation()->keys()[0].rotations[4], AxisAngle(1, 0, 0, 1.0f), 1e-6f);
}

TEST_F(KeyframePanelWidgetTest, PrevAndNextRestorePosesButAddAndRemoveNeedASkeleton) {
  addAnimation();
  for (int t : {0, 10, 30}) {
    turnArm(0.1f * static_cast<float>(t));
    RecordKey(skeleton(), *animation(), t);
  }
  skeleton().bonesLoaded = false;
  click("prevButton");
  EXPECT_EQ(animation()->currentKey(), 1);
  EXPECT_EQ(panel.timeSlider()->value(), 10);
  ExpectNear(skeleton().bones[4].poseRotation, AxisAngle(1, 0, 0, 1.0f), 1e-6f);
  EXPECT_EQ(field("timeEdit"), QString());  // Prev does not write the Time field
  click("addButton");
  click("removeButton");
  EXPECT_EQ(animation()->keys().size(), 3u);

  skeleton().bonesLoaded = true;
  click("nextButton");
  EXPECT_EQ(animation()->currentKey(), 2);
  click("nextButton");  // no successor: nothing happens
  EXPECT_EQ(animation()->currentKey(), 2);
  click("removeButton");
  ASSERT_EQ(animation()->keys().size(), 2u);
  EXPECT_EQ(animation()->currentKey(), 1);
  ExpectNear(skeleton().bones[4].poseRotation, AxisAngle(1, 0, 0, 3.0f), 1e-6f);  // pose unchanged
}

TEST_F(KeyframePanelWidgetTest, WindowButtonsShiftTheSliderAndLabels) {
  addAnimation();
  click("windowBackButton");
  EXPECT_EQ(app.animation.timelineStart, 0);
  for (int i = 0; i < 3; ++i) click("windowForwardButton");
  EXPECT_EQ(app.animation.timelineStart, 15);
  EXPECT_EQ(field("windowStartField"), QStringLiteral("15"));
  EXPECT_EQ(field("windowMiddleField"), QStringLiteral("45"));
  EXPECT_EQ(field("windowEndField"), QStringLiteral("75"));
  EXPECT_EQ(panel.timeSlider()->minimum(), 15);
  EXPECT_EQ(panel.timeSlider()->maximum(), 75);
  click("windowBackButton");
  EXPECT_EQ(field("windowStartField"), QStringLiteral("10"));
}

TEST_F(KeyframePanelWidgetTest, PlayNeedsTwoKeyframesAndAlwaysResetsTheTime) {
  addAnimation();
  addAt(10);
  panel.showTime(25);
  click("playButton");
  EXPECT_FALSE(app.animation.playing);
  EXPECT_EQ(field("timeEdit"), QStringLiteral("0"));
  EXPECT_EQ(panel.timeSlider()->value(), 0);

  addAt(20);
  click("playButton");
  EXPECT_TRUE(app.animation.playing);
  app.animation.currentTime = 7;
  click("playButton");
  EXPECT_FALSE(app.animation.playing);
  EXPECT_EQ(app.animation.currentTime, 0);
}

TEST_F(KeyframePanelWidgetTest, ShowTimeWritesTheFieldAndKeepsTheSliderInItsWindow) {
  panel.showTime(42);
  EXPECT_EQ(field("timeEdit"), QStringLiteral("42"));
  EXPECT_EQ(panel.timeSlider()->value(), 42);
  panel.showTime(100);
  EXPECT_EQ(field("timeEdit"), QStringLiteral("100"));
  EXPECT_EQ(panel.timeSlider()->value(), 60);
}

TEST_F(KeyframePanelWidgetTest, InverseMirrorsThePose) {
  addAnimation();
  turnArm(0.5f);
  click("inverseButton");
  // The left arm's turn about X moved to its partner, mirrored.
  ExpectNear(skeleton().bones[4].poseRotation, D3DXQUATERNION(0, 0, 0, 1), 1e-6f);
  EXPECT_GT(std::abs(skeleton().bones[5].poseRotation.x), 0.2f);
}

// The colour at (x, y) of a grab of the slider.
QRgb PixelAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

TEST_F(KeyframePanelWidgetTest, MarkersArePaintedAtTheirTimesWithTheCurrentOneRedOnTop) {
  addAnimation();
  for (int t : {0, 10, 30}) addAt(t);
  click("prevButton");  // the key at 10 becomes current
  const SliderChannel channel = panel.timeSlider()->channel();
  ASSERT_GT(channel.length, 60);

  const QImage image = panel.timeSlider()->grab().toImage();
  auto markerX = [&](int t) { return channel.left + t * channel.length / 60; };
  for (int t : {0, 10, 30}) {
    const int x = markerX(t);
    const bool current = t == 10;
    SCOPED_TRACE(t);
    EXPECT_EQ(PixelAt(image, x + 5, 2 + 10), current ? 0xFF0000u : 0x0000FFu);
    EXPECT_EQ(PixelAt(image, x, 2 + 10), current ? 0xC0C0C0u : 0x808080u);
    EXPECT_EQ(PixelAt(image, x + 9, 2), current ? 0xC0C0C0u : 0x808080u);  // top row: edge
    EXPECT_EQ(PixelAt(image, x + 10, 2 + 10), 0x000000u);
    EXPECT_EQ(PixelAt(image, x + 5, 2 + 20), 0x000000u);
  }
  // Removing the current key repaints: its marker is gone and the red one moved on.
  click("removeButton");
  const QImage after = panel.timeSlider()->grab().toImage();
  EXPECT_NE(PixelAt(after, markerX(10) + 5, 2 + 10), 0xFF0000u);
  EXPECT_NE(PixelAt(after, markerX(10) + 5, 2 + 10), 0x0000FFu);
  EXPECT_EQ(PixelAt(after, markerX(30) + 5, 2 + 10), 0xFF0000u);
  EXPECT_EQ(PixelAt(after, markerX(0) + 5, 2 + 10), 0x0000FFu);

  // A later window moves the markers left by the shift.
  click("windowForwardButton");
  const QImage shifted = panel.timeSlider()->grab().toImage();
  EXPECT_EQ(PixelAt(shifted, channel.left + 25 * channel.length / 60 + 5, 12), 0xFF0000u);
}

TEST_F(KeyframePanelWidgetTest, MarkerAtTheWindowsEndIsWhole) {
  addAnimation();
  addAt(60);
  const SliderChannel channel = panel.timeSlider()->channel();
  EXPECT_GE(channel.left, 0);
  EXPECT_LE(channel.left + channel.length + 11, panel.timeSlider()->width());
  const QImage image = panel.timeSlider()->grab().toImage();
  EXPECT_EQ(PixelAt(image, channel.left + channel.length + 5, 12), 0xFF0000u);
  EXPECT_EQ(PixelAt(image, channel.left + channel.length + 10, 12), 0x000000u);
}

}  // namespace
}  // namespace posewright
