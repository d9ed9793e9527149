// Shows every panel with the sample character loaded, checks that its controls lie inside
// it without overlapping, and saves a picture of each to
// <temp>/posewright-panels/ for a look by eye.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSlider>
#include <QTreeWidget>

#include "anim/KeyPose.h"
#include "editor/AnimationCommands.h"
#include "editor/Application.h"
#include "editor/panels/BoneTree.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "ui/panels/BoneControlPanel.h"
#include "ui/panels/BonePanelWidget.h"
#include "ui/panels/DialogUnits.h"
#include "ui/panels/KeyframePanelWidget.h"
#include "ui/panels/KeyframeTimeSlider.h"
#include "ui/panels/WeightControlPanelWidget.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {

// Every visible child control lies inside the panel and no two overlap.
void ExpectTidy(const QWidget& panel) {
  std::vector<const QWidget*> controls;
  for (const QObject* child : panel.children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (w != nullptr && !w->isWindow() && w->isVisible()) controls.push_back(w);
  }
  ASSERT_GT(controls.size(), 3u);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QRect a = controls[i]->geometry();
    EXPECT_TRUE(panel.rect().contains(a)) << controls[i]->objectName().toStdString() << " leaves the panel";
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(a.intersects(controls[j]->geometry()))
          << controls[i]->metaObject()->className() << " " << controls[i]->objectName().toStdString() << " / "
          << controls[j]->metaObject()->className() << " " << controls[j]->objectName().toStdString();
    }
  }
}

void Save(QWidget& panel, const char* name) {
  QApplication::processEvents();
  const QString folder = QDir::temp().filePath(QStringLiteral("posewright-panels"));
  QDir().mkpath(folder);
  const QString path = QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
  EXPECT_TRUE(panel.grab().save(path)) << path.toStdString();
}

class PanelLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The sample character, bound and weighted, goes through a SkinnedMesh
    // file into the Bone panel's tree, the way File > Open Data > SkinnedMesh
    // fills it.
    const std::string samples = std::string(POSEWRIGHT_SOURCE_DIR) + "/samples/";
    SkinnedModel sample;
    ASSERT_TRUE(LoadMesh(sample, samples + "character.x").ok);
    ASSERT_TRUE(LoadBoneData(sample, samples + "character.dat").ok);
    ComputeBlendWeights(sample);
    const std::string path =
        QDir::temp().filePath(QStringLiteral("posewright-panels-character.skm")).toStdString();
    ASSERT_TRUE(WriteSkinnedMesh(sample, path).ok);
    const Status read = ReadSkinnedMesh(app.model, path);
    ASSERT_TRUE(read.ok) << read.message << " " << read.detail;
    FillBoneTree(app.model.skeleton, bonePanel.boneTree(), app.boneItems, RootLabel::Named);
    QDir().remove(QString::fromStdString(path));
    ASSERT_TRUE(ReadBlendingParameters(app.model.skeleton, samples + "character.prm").ok);
    QObject::connect(&bonePanel, &BonePanelWidget::selectionChanged, &boneControl,
                     &BoneControlPanel::recentre);
    bonePanel.attach(&app);
    keyframePanel.attach(&app);
    weightPanel.attach(&app);
    boneControl.attach(&app);
  }

  Application app;
  BonePanelWidget bonePanel{nullptr};
  WeightControlPanelWidget weightPanel{nullptr};
  KeyframePanelWidget keyframePanel{nullptr};
  BoneControlPanel boneControl{nullptr};
};

TEST_F(PanelLayoutTest, BonePanel) {
  bonePanel.show();
  bonePanel.selectItem(app.boneItems[5]);
  bonePanel.findChild<QTreeWidget*>(QStringLiteral("boneTree"))->expandAll();
  EXPECT_EQ(bonePanel.size(), DialogUnits(bonePanel.font()).size(140, 246));
  ExpectTidy(bonePanel);
  Save(bonePanel, "bone");
}

TEST_F(PanelLayoutTest, WeightControlPanel) {
  weightPanel.onSkeletonLoaded();
  ASSERT_TRUE(weightPanel.isVisible());
  weightPanel.boneIndexBox(0)->setCurrentIndex(2);
  weightPanel.weightSlider(0)->setValue(15);
  ExpectTidy(weightPanel);
  Save(weightPanel, "weight-control");
}

TEST_F(PanelLayoutTest, KeyframePanel) {
  AddAnimationCommand(*keyframePanel.behaviour(), app.model.skeleton);
  for (int t : {0, 10, 30, 55}) {
    keyframePanel.timeSlider()->setValue(t);
    RecordKey(app.model.skeleton, *app.animation.animations.current(), t);
  }
  app.animation.animations.current()->SelectPreviousKey();
  keyframePanel.refresh();
  keyframePanel.showTime(30);
  keyframePanel.show();
  EXPECT_EQ(keyframePanel.size(), DialogUnits(keyframePanel.font()).size(470, 75));
  EXPECT_EQ(keyframePanel.windowTitle(), QStringLiteral("Keyframe : Unnamed(1)"));
  ExpectTidy(keyframePanel);
  Save(keyframePanel, "keyframe");
}

TEST_F(PanelLayoutTest, BoneControlPanel) {
  boneControl.show();
  boneControl.slider(1)->setValue(240);
  EXPECT_EQ(boneControl.size(), DialogUnits(boneControl.font()).size(279, 85));
  ExpectTidy(boneControl);
  Save(boneControl, "bone-control");
}

}  // namespace
}  // namespace posewright
