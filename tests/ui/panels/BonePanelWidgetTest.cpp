#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include "PanelTestSupport.h"
#include "editor/Application.h"
#include "editor/panels/BoneTree.h"
#include "ui/panels/BoneControlPanel.h"
#include "ui/panels/BonePanelWidget.h"

namespace posewright {

namespace {

class BonePanelWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.model = guitest::FigureModel();
    FillBoneTree(app.model.skeleton, bonePanel.boneTree(), app.boneItems);
    QObject::connect(&bonePanel, &BonePanelWidget::selectionChanged, &boneControl,
                     &BoneControlPanel::recentre);
    bonePanel.attach(&app);
    boneControl.attach(&app);
  }
  Skeleton& skeleton() { return app.model.skeleton; }
  QTreeWidget* tree() const { return bonePanel.findChild<QTreeWidget*>(QStringLiteral("boneTree")); }
  QLineEdit* edit(const char* name) const {
    return bonePanel.findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  void type(const char* name, const QString& text) {
    QLineEdit* e = edit(name);
    e->clear();
    QTest::keyClicks(e, text);
  }
  void click(const char* name) {
    QTest::mouseClick(bonePanel.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }

  Application app;
  BonePanelWidget bonePanel{nullptr};
  BoneControlPanel boneControl{nullptr};
};

TEST_F(BonePanelWidgetTest, TreeNestsTheBonesWithTheirLabels) {
  ASSERT_EQ(tree()->topLevelItemCount(), 1);
  const QTreeWidgetItem* root = tree()->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("Root"));
  ASSERT_EQ(root->childCount(), 1);
  const QTreeWidgetItem* hips = root->child(0);
  EXPECT_EQ(hips->text(0), QStringLiteral("Hips ( 1 ) "));
  ASSERT_EQ(hips->childCount(), 3);
  EXPECT_EQ(hips->child(0)->text(0), QStringLiteral("Spine ( 2 ) "));
  EXPECT_EQ(hips->child(2)->text(0), QStringLiteral("RightLeg ( 7 ) "));
  EXPECT_EQ(hips->child(0)->child(1)->text(0), QStringLiteral("LeftArm ( 4 ) "));
}

TEST_F(BonePanelWidgetTest, SelectingABoneShowsItsValuesAndRecentresBoneControl) {
  skeleton().blendParams[4] = BlendingParams{1.5f, 0.123456f};
  boneControl.slider(0)->setValue(250);
  ASSERT_EQ(app.sliderAngles[0], 70);
  QSignalSpy spy(&bonePanel, &BonePanelWidget::selectionChanged);

  bonePanel.selectItem(app.boneItems[4]);
  EXPECT_EQ(bonePanel.selectedItem(), app.boneItems[4]);
  EXPECT_EQ(app.selectedBoneItem, app.boneItems[4]);
  EXPECT_EQ(edit("hEdit")->text(), QStringLiteral("0.1235"));
  EXPECT_EQ(edit("rEdit")->text(), QStringLiteral("1.5000"));
  EXPECT_EQ(edit("symmetricEdit")->text(), QStringLiteral("5"));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).value<BoneTreeItem>(), app.boneItems[4]);
  EXPECT_EQ(boneControl.slider(0)->value(), 180);
  EXPECT_EQ(app.sliderAngles[0], 0);

  // A click in the tree does the same.
  const QTreeWidgetItem* root = tree()->topLevelItem(0);
  bonePanel.show();
  tree()->expandAll();
  const QRect rootRect = tree()->visualItemRect(root);
  QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, rootRect.center());
  EXPECT_EQ(bonePanel.selectedItem(), app.boneItems[0]);
  EXPECT_EQ(edit("hEdit")->text(), QStringLiteral("0.3500"));
  EXPECT_EQ(edit("symmetricEdit")->text(), QStringLiteral("0"));
}

TEST_F(BonePanelWidgetTest, ApplyStoresRAndHWithTheirZeroReplacementsAndRecomputes) {
  app.model.selection.selected[0] = 1;  // a vertex bound to Hips
  RebuildPointList(app.model.selection);
  app.model.skinnedMesh.vertices[0].blendWeights[0] = 0.5f;
  bonePanel.selectItem(app.boneItems[1]);
  type("rEdit", QString());
  type("hEdit", QStringLiteral("0"));
  click("applyBlendingButton");
  EXPECT_EQ(skeleton().blendParams[1].R, 1.0f);
  EXPECT_EQ(skeleton().blendParams[1].H, 0.25f);
  // Recomputed from its one bone: the whole weight.
  EXPECT_EQ(app.model.skinnedMesh.vertices[0].blendWeights[0], 1.0f);

  type("rEdit", QStringLiteral("2.5"));
  type("hEdit", QStringLiteral("0.75"));
  click("applyBlendingButton");
  EXPECT_EQ(skeleton().blendParams[1].R, 2.5f);
  EXPECT_EQ(skeleton().blendParams[1].H, 0.75f);
  // Other bones keep theirs.
  EXPECT_EQ(skeleton().blendParams[2].R, 1.0f);
}

TEST_F(BonePanelWidgetTest, SymmetricApplyPairsBonesOrFallsBackToTheRoot) {
  bonePanel.selectItem(app.boneItems[2]);
  type("symmetricEdit", QStringLiteral("7"));
  click("applySymmetricButton");
  EXPECT_EQ(skeleton().bones[2].symmetricId, 7);
  EXPECT_EQ(skeleton().bones[7].symmetricId, 2);
  EXPECT_EQ(skeleton().bones[6].symmetricId, 7);  // its old partner keeps the value

  bonePanel.selectItem(app.boneItems[3]);
  type("symmetricEdit", QStringLiteral("99"));
  click("applySymmetricButton");
  EXPECT_EQ(skeleton().bones[3].symmetricId, 0);
  EXPECT_EQ(skeleton().bones[0].symmetricId, 3);
}

TEST_F(BonePanelWidgetTest, IgnoresInputWithoutSkeletonOrApplication) {
  bonePanel.selectItem(app.boneItems[2]);
  skeleton().bonesLoaded = false;
  type("rEdit", QStringLiteral("3"));
  type("symmetricEdit", QStringLiteral("4"));
  click("applyBlendingButton");
  click("applySymmetricButton");
  EXPECT_EQ(skeleton().blendParams[2].R, 1.0f);
  EXPECT_EQ(skeleton().bones[2].symmetricId, 2);

  skeleton().bonesLoaded = true;
  bonePanel.attach(nullptr);
  QSignalSpy spy(&bonePanel, &BonePanelWidget::selectionChanged);
  bonePanel.selectItem(app.boneItems[5]);
  click("applyBlendingButton");
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(edit("rEdit")->text(), QStringLiteral("3"));
  EXPECT_EQ(skeleton().blendParams[5].R, 1.0f);
}

TEST_F(BonePanelWidgetTest, RefillingTheTreeNeverReusesAHandle) {
  const std::vector<BoneTreeItem> before = app.boneItems;
  FillBoneTree(skeleton(), bonePanel.boneTree(), app.boneItems);
  for (BoneTreeItem old : before) {
    EXPECT_EQ(std::count(app.boneItems.begin(), app.boneItems.end(), old), 0);
  }
  // A stale handle selects nothing.
  bonePanel.selectItem(before[3]);
  EXPECT_EQ(bonePanel.selectedItem(), 0u);
  bonePanel.selectItem(app.boneItems[3]);
  EXPECT_EQ(bonePanel.selectedItem(), app.boneItems[3]);
  bonePanel.expandItem(app.boneItems[2]);
  EXPECT_TRUE(tree()->currentItem()->parent()->isExpanded());
}

}  // namespace
}  // namespace posewright
