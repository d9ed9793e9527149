#include <QMenuBar>
#include <QScreen>

#include "EditorFixture.h"
#include "ui/PanelSet.h"

namespace {
// The menu as text: "File[New,-,Open Data[...],...]"; checkable items end in "*".
QString Describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (QAction* a : actions) {
    if (a->isSeparator()) {
      parts << "-";
    } else if (a->menu() != nullptr) {
      parts << a->text() + "[" + Describe(a->menu()->actions()) + "]";
    } else {
      parts << a->text() + (a->isCheckable() ? "*" : "");
    }
  }
  return parts.join(",");
}

using StartupTest = EditorFixture;

TEST_F(StartupTest, WindowMenuAndPanelsAreWhereTheyBelong) {
  Start();
  EXPECT_EQ(window->windowTitle(), "Posewright");
  const QRect screen = window->screen()->geometry();
  const QRect m = window->frameGeometry();
  EXPECT_EQ(m.size(), QSize(800, 600));
  EXPECT_EQ(m.topLeft(), QPoint(screen.x() + screen.width() - 800, screen.y()));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_EQ(Describe(window->menuBar()->actions()).toStdString(),
            "File[New,-,Open Data[Mesh,SkinnedMesh,Blending Parameters,Animation],"
            "Save Data[SkinnedMesh,Blending Parameters,Animation,Bone Data],-,Exit],"
            "Edit[Weight,Rotate,Animation[Name,-,Previous,Next,-,Add,Remove]],"
            "View[Grid[XZ*,YZ*,XY*],Rendering[Wireframe,Solid,Point*]]");
  for (CommandId id : {CommandId::GridXZ, CommandId::GridYZ, CommandId::GridXY, CommandId::Point}) {
    EXPECT_FALSE(window->action(id)->isChecked());
  }

  // The viewport fills the client area under the menu bar.
  const Viewport& viewport = window->viewport();
  EXPECT_EQ(viewport.width(), window->width());
  EXPECT_EQ(viewport.geometry().bottom(), window->rect().bottom());
  EXPECT_EQ(viewport.geometry().top(), window->menuBar()->geometry().bottom() + 1);

  PanelSet& panels = window->panels();
  QWidget* bone = panels.window(PanelId::Bone);
  QWidget* keyframe = panels.window(PanelId::Keyframe);
  QWidget* weight = panels.window(PanelId::WeightControl);
  QWidget* boneControl = panels.window(PanelId::BoneControl);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(weight));
  EXPECT_TRUE(bone->isVisible());
  EXPECT_TRUE(keyframe->isVisible());
  EXPECT_TRUE(weight->isVisible());
  EXPECT_FALSE(boneControl->isVisible());
  EXPECT_TRUE(bone->windowFlags() & Qt::Tool);
  EXPECT_EQ(bone->parentWidget(), window.get());
  EXPECT_EQ(bone->windowTitle(), "Bone");
  EXPECT_TRUE(keyframe->windowTitle().startsWith("Keyframe"));
  EXPECT_EQ(weight->windowTitle(), "Weight Control");
  EXPECT_EQ(boneControl->windowTitle(), "Bone Control");

  EXPECT_EQ(bone->frameGeometry().topLeft(), screen.topLeft());
  EXPECT_EQ(weight->frameGeometry().topLeft(),
            QPoint(screen.x(), screen.y() + bone->frameGeometry().height()));
  EXPECT_EQ(keyframe->frameGeometry().topLeft(), QPoint(m.left(), m.bottom() + 1));
  EXPECT_EQ(keyframe->frameGeometry().width(), m.width());

  // Nothing is drawn while no model is loaded.
  QTest::qWait(100);
  EXPECT_EQ(window->viewport().framesDrawn(), 0);
}

TEST_F(StartupTest, EditMenuShowsTheHiddenPanelsAndExitCloses) {
  Start();
  QWidget* boneControl = window->panels().window(PanelId::BoneControl);
  QWidget* weight = window->panels().window(PanelId::WeightControl);
  weight->hide();
  Trigger(CommandId::Rotate);
  Trigger(CommandId::Weight);
  EXPECT_TRUE(boneControl->isVisible());
  EXPECT_TRUE(weight->isVisible());
  // Bone Control shows under the Keyframe panel, clear of the main window and
  // of the other panels.
  QWidget* keyframe = window->panels().window(PanelId::Keyframe);
  EXPECT_EQ(boneControl->frameGeometry().topLeft(),
            QPoint(window->frameGeometry().left(), keyframe->frameGeometry().bottom() + 1));
  for (QWidget* other : {static_cast<QWidget*>(window.get()), window->panels().window(PanelId::Bone),
                         keyframe, weight}) {
    EXPECT_FALSE(boneControl->frameGeometry().intersects(other->frameGeometry())) << other->windowTitle().toStdString();
  }
  EXPECT_TRUE(app.running);
  Trigger(CommandId::Exit);
  EXPECT_FALSE(app.running);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(weight->isVisible());
}
}  // namespace
