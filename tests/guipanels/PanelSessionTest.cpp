// A whole editing session driven through the four panels: bind a mesh to a
// skeleton, pose two bones with the Bone Control sliders, record three
// keyframes, play them back, mirror the pose, save the animation and open it
// again.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "anim/AnimationCommands.h"
#include "app/Application.h"
#include "bonedata/BoneDataText.h"
#include "skin/BlendWeights.h"
#include "skin/LoadBoneData.h"
#include "skin/MeshLoader.h"
#include "support/MathMatchers.h"
#include "support/TestData.h"
#include "ui/panels/BoneControlPanel.h"
#include "ui/panels/BonePanel.h"
#include "ui/panels/KeyframePanel.h"
#include "ui/panels/KeyframeTimeSlider.h"
#include "ui/panels/WeightControlPanelWidget.h"

namespace {

namespace fs = std::filesystem;

class PanelSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("posewright-panel-session-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    QObject::connect(&bonePanel, &BonePanelWidget::selectionChanged, &boneControl, &BoneControlPanel::recentre);
    keyframePanel.attach(&app);
    bonePanel.attach(&app);
    weightPanel.attach(&app);
    boneControl.attach(&app);
  }
  void TearDown() override { fs::remove_all(folder); }

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

  fs::path folder;
  Application app;
  BonePanelWidget bonePanel{nullptr};
  KeyframePanelWidget keyframePanel{nullptr};
  WeightControlPanelWidget weightPanel{nullptr};
  BoneControlPanel boneControl{nullptr};
};

TEST_F(PanelSessionTest, BindPoseRecordPlayMirrorSaveAndReopen) {
  // Bind: a cube and a skeleton Root > B1 > B2.
  ASSERT_TRUE(LoadMesh(app.model, SharedTestDataDir() + "/x/test_cube_text.x").ok);
  const std::string bones = (folder / "figure.dat").string();
  { std::ofstream(bones, std::ios::binary) << BoneDataWithParents({0, 1}); }
  const Status loaded = LoadBoneData(app.model, bones, bonePanel.boneTree(), [](SkinnedModel& m) { BindMesh(m); });
  ASSERT_TRUE(loaded.ok) << loaded.message << " " << loaded.detail;
  ComputeBlendWeights(app.model);
  weightPanel.onSkeletonLoaded();
  EXPECT_TRUE(weightPanel.isVisible());
  EXPECT_EQ(weightPanel.boneIndexBox(0)->count(), 3);
  bonePanel.show();
  bonePanel.selectItem(app.model.skeleton.treeItems[0]);

  // Record the rest pose at 0, then pose B1 and B2 and record at 20 and 40.
  AddAnimationCommand(*keyframePanel.behaviour(), app.model.skeleton);
  recordAt(0);
  clickBone(1);
  boneControl.slider(0)->setValue(270);  // B1 +90° about its own X
  clickBone(2);
  EXPECT_EQ(boneControl.slider(0)->value(), 180);  // a new bone starts centred
  boneControl.slider(1)->setValue(135);  // B2 −45° about its own Y
  recordAt(20);
  boneControl.slider(1)->setValue(90);  // B2 on to −90°
  recordAt(40);
  const Animation& recorded = *app.animation.animations.current();
  ASSERT_EQ(recorded.keys().size(), 3u);
  const D3DXQUATERNION b1At20 = recorded.keys()[1].rotations[1];
  const D3DXQUATERNION b2At40 = recorded.keys()[2].rotations[2];
  EXPECT_NEAR(std::abs(b1At20.w), std::cos(0.25f * 3.1415927f), 1e-5f);
  EXPECT_NEAR(std::abs(b2At40.w), std::cos(0.25f * 3.1415927f), 1e-5f);

  // Play: ten frames reach time 10, halfway between the first two keys.
  clickKeyframe("playButton");
  ASSERT_TRUE(app.animation.playing);
  for (int frame = 0; frame <= 10; ++frame) {
    keyframePanel.behaviour()->playbackFrame(app.model.skeleton);
  }
  EXPECT_EQ(keyframePanel.findChild<QLineEdit*>(QStringLiteral("timeEdit"))->text(), QStringLiteral("10"));
  EXPECT_EQ(keyframePanel.timeSlider()->value(), 10);
  EXPECT_NEAR(std::abs(bone(1).poseRotation.w), std::cos(0.125f * 3.1415927f), 1e-4f);
  clickKeyframe("playButton");
  EXPECT_FALSE(app.animation.playing);

  // Mirror: every bone is its own partner, so each pose is reflected in place.
  const D3DXQUATERNION before = bone(1).orientation;
  ASSERT_GT(std::abs(before.y) + std::abs(before.z), 0.1f);
  clickKeyframe("inverseButton");
  EXPECT_NEAR(bone(1).orientation.x, before.x, 1e-6f);
  EXPECT_NEAR(bone(1).orientation.y, -before.y, 1e-6f);
  EXPECT_NEAR(bone(1).orientation.z, -before.z, 1e-6f);

  // Save and open again: the same keys, titled after the file.
  const std::string anm = (folder / "walk.anm").string();
  ASSERT_TRUE(SaveAnimationCommand(app.animation, anm).ok);
  ASSERT_TRUE(OpenAnimationCommand(*keyframePanel.behaviour(), app.model.skeleton, anm).ok);
  EXPECT_EQ(keyframePanel.windowTitle(), QStringLiteral("Keyframe : walk.anm"));
  ASSERT_EQ(app.animation.animations.size(), 2);
  const Animation& reopened = *app.animation.animations.current();
  const Animation& original = app.animation.animations.at(0);
  ASSERT_EQ(reopened.keys().size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(reopened.keys()[k].time, original.keys()[k].time);
    for (std::size_t b = 0; b < 3; ++b) {
      ExpectNear(reopened.keys()[k].rotations[b], original.keys()[k].rotations[b], 1e-4f);
    }
  }
  // Its markers show: three blue, the last key current.
  const auto& markers = keyframePanel.timeSlider()->markers();
  ASSERT_EQ(markers.size(), 4u);
  EXPECT_TRUE(markers[3].current);
  EXPECT_EQ(markers[3].x, markers[2].x);
}

}  // namespace
