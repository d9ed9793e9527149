// A whole editing session driven through the four panels: bind the sample
// character to its skeleton, pose two bones with the Bone Control sliders, record three
// keyframes, play them back, mirror the pose, save the animation and open it
// again.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "editor/AnimationCommands.h"
#include "editor/Application.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "skeleton/BlendingParametersFile.h"
#include "support/MathMatchers.h"
#include "support/TempDir.h"
#include "support/TestData.h"
#include "ui/panels/BoneControlPanel.h"
#include "ui/panels/BonePanelWidget.h"
#include "ui/panels/KeyframePanelWidget.h"
#include "ui/panels/KeyframeTimeSlider.h"
#include "ui/panels/WeightControlPanelWidget.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {

namespace fs = std::filesystem;

class PanelSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QObject::connect(&bonePanel, &BonePanelWidget::selectionChanged, &boneControl,
                     &BoneControlPanel::recentre);
    keyframePanel.attach(&app);
    bonePanel.attach(&app);
    weightPanel.attach(&app);
    boneControl.attach(&app);
  }

  void clickKeyframe(const char* name) {
    QTest::mouseClick(keyframePanel.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  // The user clicks bone's entry in the tree.
  void clickBone(int bone) {
    auto* tree = bonePanel.findChild<QTreeWidget*>(QStringLiteral("boneTree"));
    tree->expandAll();
    QTreeWidgetItem* item = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
      if ((*it)->text(0).endsWith(QStringLiteral("( %1 ) ").arg(bone))) item = *it;
    }
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  void recordAt(int t) {
    keyframePanel.timeSlider()->setValue(t);
    clickKeyframe("addButton");
  }
  const Bone& bone(int i) const { return app.model.skeleton.bones[static_cast<std::size_t>(i)]; }

  TempDir folder{"panel_session"};
  Application app;
  BonePanelWidget bonePanel{nullptr};
  KeyframePanelWidget keyframePanel{nullptr};
  WeightControlPanelWidget weightPanel{nullptr};
  BoneControlPanel boneControl{nullptr};
};

std::string Sample(const char* name) {
  return std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/" + name;
}

TEST_F(PanelSessionTest, BindPoseRecordPlayMirrorSaveAndReopen) {
  // Bind the sample character with its tuned blending parameters.
  ASSERT_TRUE(LoadMesh(app.model, Sample("character.x")).ok);
  const Status loaded = LoadBoneData(app.model, Sample("character.dat"));
  ASSERT_TRUE(loaded.ok) << loaded.message << " " << loaded.detail;
  FillBoneTree(app.model.skeleton, bonePanel.boneTree(), app.boneItems);
  ASSERT_TRUE(ReadBlendingParameters(app.model.skeleton, Sample("character.prm")).ok);
  ComputeBlendWeights(app.model);
  weightPanel.onSkeletonLoaded();
  EXPECT_TRUE(weightPanel.isVisible());
  EXPECT_EQ(weightPanel.boneIndexBox(0)->count(), 13);
  bonePanel.show();
  bonePanel.selectItem(app.boneItems[0]);

  // Record the rest pose at 0, then pose the left upper arm (5) and forearm
  // (6) and record at 20 and 40.
  AddAnimationCommand(*keyframePanel.behaviour(), app.model.skeleton);
  recordAt(0);
  clickBone(5);
  EXPECT_EQ(bonePanel.findChild<QLineEdit*>(QStringLiteral("hEdit"))->text(), QStringLiteral("0.2700"));
  EXPECT_EQ(bonePanel.findChild<QLineEdit*>(QStringLiteral("symmetricEdit"))->text(), QStringLiteral("7"));
  boneControl.slider(0)->setValue(270);  // +90° about its own X
  clickBone(6);
  EXPECT_EQ(boneControl.slider(0)->value(), 180);  // a new bone starts centred
  boneControl.slider(1)->setValue(135);            // −45° about its own Y
  recordAt(20);
  boneControl.slider(1)->setValue(90);  // on to −90°
  recordAt(40);
  const Animation& recorded = *app.animation.animations.current();
  ASSERT_EQ(recorded.keys().size(), 3u);
  const float quarterTurnW = std::cos(0.25f * 3.1415927f);
  EXPECT_NEAR(std::abs(recorded.keys()[1].rotations[5].w), quarterTurnW, 1e-5f);
  EXPECT_NEAR(std::abs(recorded.keys()[1].rotations[6].w), std::cos(0.125f * 3.1415927f), 1e-5f);
  EXPECT_NEAR(std::abs(recorded.keys()[2].rotations[6].w), quarterTurnW, 1e-5f);

  // Play: ten frames reach time 10, halfway between the first two keys.
  clickKeyframe("playButton");
  ASSERT_TRUE(app.animation.playing);
  for (int frame = 0; frame <= 10; ++frame) {
    keyframePanel.behaviour()->playbackFrame(app.model.skeleton);
  }
  EXPECT_EQ(keyframePanel.findChild<QLineEdit*>(QStringLiteral("timeEdit"))->text(), QStringLiteral("10"));
  EXPECT_EQ(keyframePanel.timeSlider()->value(), 10);
  EXPECT_NEAR(std::abs(bone(5).poseRotation.w), std::cos(0.125f * 3.1415927f), 1e-4f);
  clickKeyframe("playButton");
  EXPECT_FALSE(app.animation.playing);

  // Mirror: the left arm's orientation, reflected, goes to the right arm.
  const D3DXQUATERNION left = bone(5).orientation;
  clickKeyframe("inverseButton");
  ExpectNear(bone(7).orientation, D3DXQUATERNION(left.x, -left.y, -left.z, left.w), 1e-6f);

  // Save and open again: the same keys, titled after the file.
  const std::string anm = folder.path("raise.anm");
  ASSERT_TRUE(SaveAnimationCommand(app.animation, anm).ok);
  ASSERT_TRUE(OpenAnimationCommand(*keyframePanel.behaviour(), app.model.skeleton, anm).ok);
  EXPECT_EQ(keyframePanel.windowTitle(), QStringLiteral("Keyframe : raise.anm"));
  ASSERT_EQ(app.animation.animations.size(), 2);
  const Animation& reopened = *app.animation.animations.current();
  const Animation& original = app.animation.animations.at(0);
  ASSERT_EQ(reopened.keys().size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(reopened.keys()[k].time, original.keys()[k].time);
    for (std::size_t b = 0; b < 13; ++b) {
      ExpectNear(reopened.keys()[k].rotations[b], original.keys()[k].rotations[b], 1e-4f);
    }
  }
  // Its markers show: three blue, and red on the last key, which is current.
  const auto& markers = keyframePanel.timeSlider()->markers();
  ASSERT_EQ(markers.size(), 4u);
  EXPECT_TRUE(markers[3].current);
  EXPECT_EQ(markers[3].x, markers[2].x);
}

}  // namespace
}  // namespace posewright
