#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "PanelTestSupport.h"
#include "editor/Application.h"
#include "support/MathMatchers.h"
#include "ui/panels/BoneControlPanel.h"

namespace posewright {

namespace {

QPushButton* Button(const BoneControlPanel& panel, const char* name) {
  return panel.findChild<QPushButton*>(QString::fromLatin1(name));
}

const D3DXQUATERNION kIdentity(0, 0, 0, 1);

class BoneControlPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.model = guitest::FigureModel();
    for (std::size_t i = 0; i < app.model.skeleton.bones.size(); ++i) {
      app.boneItems.push_back(500 + i);
    }
    app.selectedBoneItem = 500 + 4;  // LeftArm
    panel.attach(&app);
  }
  const Bone& arm() const { return app.model.skeleton.bones[4]; }

  Application app;
  BoneControlPanel panel{nullptr};
};

TEST_F(BoneControlPanelTest, SlidersHaveTheirRangesAndOnlyXShowsTicks) {
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(panel.slider(k)->minimum(), 0);
    EXPECT_EQ(panel.slider(k)->maximum(), 360);
    EXPECT_EQ(panel.slider(k)->value(), 180);
    EXPECT_EQ(panel.slider(k)->tickInterval(), 90);
  }
  EXPECT_EQ(panel.slider(0)->tickPosition(), QSlider::TicksBothSides);
  EXPECT_EQ(panel.slider(1)->tickPosition(), QSlider::NoTicks);
  EXPECT_EQ(panel.slider(2)->tickPosition(), QSlider::NoTicks);
  EXPECT_EQ(panel.windowTitle(), QStringLiteral("Bone Control"));
}

TEST_F(BoneControlPanelTest, YSliderThereAndBackReturnsToRest) {
  panel.slider(1)->setValue(270);
  ExpectNear(arm().poseRotation, AxisAngle(0, 1, 0, kHalfPi), 1e-5f);
  EXPECT_EQ(app.sliderAngles[1], 90);
  panel.slider(1)->setValue(180);
  ExpectNear(arm().poseRotation, kIdentity, 1e-5f);
  EXPECT_EQ(app.sliderAngles[1], 0);
  // Keyboard moves reach the bone as well.
  panel.slider(1)->setFocus();
  QTest::keyClick(panel.slider(1), Qt::Key_PageUp);
  EXPECT_NE(panel.slider(1)->value(), 180);
  EXPECT_EQ(app.sliderAngles[1], panel.slider(1)->value() - 180);
}

TEST_F(BoneControlPanelTest, OkRecentresKeepingThePoseSoTurnsAddUp) {
  panel.slider(0)->setValue(270);
  QTest::mouseClick(Button(panel, "okButton"), Qt::LeftButton);
  EXPECT_EQ(panel.slider(0)->value(), 180);
  EXPECT_EQ(app.sliderAngles[0], 0);
  panel.slider(0)->setValue(270);
  ExpectNear(arm().poseRotation, AxisAngle(1, 0, 0, 2 * kHalfPi), 1e-5f);
}

TEST_F(BoneControlPanelTest, ResetKeepsSlidersSoMovingBackTurnsTheOtherWay) {
  panel.slider(2)->setValue(270);
  QTest::mouseClick(Button(panel, "resetButton"), Qt::LeftButton);
  ExpectNear(arm().poseRotation, kIdentity, 1e-6f);
  EXPECT_EQ(panel.slider(2)->value(), 270);
  panel.slider(2)->setValue(180);
  ExpectNear(arm().poseRotation, AxisAngle(0, 0, 1, -kHalfPi), 1e-5f);
}

TEST_F(BoneControlPanelTest, RecentreFromTheBoneSelectionClearsTheAngles) {
  panel.slider(0)->setValue(200);
  panel.slider(1)->setValue(100);
  const D3DXQUATERNION posed = arm().poseRotation;
  panel.recentre();
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(panel.slider(k)->value(), 180);
    EXPECT_EQ(app.sliderAngles[static_cast<std::size_t>(k)], 0);
  }
  ExpectNear(arm().poseRotation, posed, 1e-7f);
}

TEST_F(BoneControlPanelTest, HideHidesAndKeepsTheSliders) {
  panel.show();
  panel.slider(0)->setValue(200);
  QTest::mouseClick(Button(panel, "hideButton"), Qt::LeftButton);
  EXPECT_FALSE(panel.isVisible());
  EXPECT_EQ(panel.slider(0)->value(), 200);
  EXPECT_EQ(app.sliderAngles[0], 20);
}

TEST_F(BoneControlPanelTest, EverythingIgnoredWithoutSkeletonOrApplication) {
  app.model.skeleton.bonesLoaded = false;
  panel.show();
  panel.slider(1)->setValue(270);
  QTest::mouseClick(Button(panel, "resetButton"), Qt::LeftButton);
  QTest::mouseClick(Button(panel, "okButton"), Qt::LeftButton);
  EXPECT_TRUE(panel.isVisible());
  EXPECT_EQ(panel.slider(1)->value(), 270);
  EXPECT_EQ(app.sliderAngles[1], 0);
  ExpectNear(arm().poseRotation, kIdentity, 1e-7f);

  app.model.skeleton.bonesLoaded = true;
  panel.attach(nullptr);
  panel.slider(0)->setValue(300);
  EXPECT_EQ(app.sliderAngles[0], 0);
  ExpectNear(arm().poseRotation, kIdentity, 1e-7f);
}

// HIDE, Escape and the close box put the panel away whether or not a
// skeleton or an Application is there; the sliders keep their positions.
TEST_F(BoneControlPanelTest, HideEscapeAndCloseBoxWorkWithoutASkeleton) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"HIDE", [&] { QTest::mouseClick(Button(panel, "hideButton"), Qt::LeftButton); }},
      {"Escape", [&] { QTest::keyClick(&panel, Qt::Key_Escape); }},
      {"close box", [&] { panel.close(); }},
  };
  for (const bool attached : {true, false}) {
    panel.attach(attached ? &app : nullptr);
    app.model.skeleton.bonesLoaded = false;
    for (const auto& [name, hideIt] : ways) {
      SCOPED_TRACE(std::string(name) + (attached ? ", no skeleton" : ", no Application"));
      panel.show();
      panel.slider(0)->setValue(attached ? 240 : 120);
      hideIt();
      EXPECT_FALSE(panel.isVisible());
      EXPECT_EQ(panel.slider(0)->value(), attached ? 240 : 120);
    }
  }
}

TEST_F(BoneControlPanelTest, WithNothingSelectedTheSlidersTurnTheLastBone) {
  app.selectedBoneItem = 0;
  panel.slider(1)->setValue(270);
  ExpectNear(app.model.skeleton.bones[7].poseRotation, AxisAngle(0, 1, 0, kHalfPi), 1e-5f);
  ExpectNear(arm().poseRotation, kIdentity, 1e-7f);
}

}  // namespace
}  // namespace posewright
