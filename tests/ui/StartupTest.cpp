#include <QDockWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "EditorFixture.h"
#include "ui/PanelDock.h"
#include "ui/PanelSet.h"

namespace posewright {

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
  EXPECT_NE(window->minimumSize(), window->maximumSize()) << "resizable";
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));

  EXPECT_EQ(Describe(window->menuBar()->actions()).toStdString(),
            "&File[New,-,Open Data[Mesh,Rigged Model,SkinnedMesh,Blending Parameters,Animation],"
            "Save Data[SkinnedMesh,Blending Parameters,Animation,Bone Data],Recent Files[],-,Exit],"
            "&Edit[Undo,Redo,-,Weight,Weights[Normalise,Mirror Left → Right,Mirror Right → Left,-,Smooth…,"
            "Prune…,Limit…],Rotate,Animation[Name,-,Previous,Next,-,Add,Remove]],"
            "&View[Grid[XZ*,YZ*,XY*],Rendering[Wireframe,Solid,Point*,Weights*],"
            "Panels[Bone*,Weight Control*,Keyframe*,Bone Control*]]");
  EXPECT_EQ(window->action(CommandId::WeightView)->shortcut(),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
  for (CommandId id :
       {CommandId::GridXZ, CommandId::GridYZ, CommandId::GridXY, CommandId::Point, CommandId::WeightView}) {
    EXPECT_FALSE(window->action(id)->isChecked());
  }

  // The panels are docked: Bone over Weight Control on the left, Keyframe
  // under the viewport; Bone Control stays closed.
  PanelSet& panels = window->panels();
  QWidget* weight = panels.window(PanelId::WeightControl);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_TRUE(panels.window(PanelId::Bone)->isVisible());
  EXPECT_TRUE(panels.window(PanelId::Keyframe)->isVisible());
  EXPECT_TRUE(weight->isVisible());
  EXPECT_FALSE(panels.window(PanelId::BoneControl)->isVisible());
  EXPECT_FALSE(weight->isWindow());
  const struct {
    PanelId panel;
    const char* title;
    Qt::DockWidgetArea area;
  } docks[] = {{PanelId::Bone, "Bone", Qt::LeftDockWidgetArea},
               {PanelId::WeightControl, "Weight Control", Qt::LeftDockWidgetArea},
               {PanelId::Keyframe, "Keyframe", Qt::BottomDockWidgetArea},
               {PanelId::BoneControl, "Bone Control", Qt::BottomDockWidgetArea}};
  const QRect viewport = window->viewport().geometry();
  for (const auto& d : docks) {
    QDockWidget* dock = window->dock(d.panel);
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isAncestorOf(panels.window(d.panel)));
    EXPECT_EQ(dock->windowTitle(), d.title);
    EXPECT_EQ(window->dockWidgetArea(dock), d.area) << d.title;
    EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetFloatable);
    EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetClosable);
    if (dock->isVisible()) {
      EXPECT_FALSE(dock->geometry().intersects(viewport)) << d.title << " covers the viewport";
      QWidget* panel = panels.window(d.panel);
      EXPECT_TRUE(dock->rect().contains(QRect(panel->mapTo(dock, QPoint(0, 0)), panel->size())))
          << d.title << " is cut";
    }
  }
  EXPECT_LT(window->dock(PanelId::Bone)->geometry().bottom(),
            window->dock(PanelId::WeightControl)->geometry().top());
  EXPECT_GT(window->dock(PanelId::Keyframe)->geometry().top(), viewport.bottom());
  EXPECT_EQ(viewport.size(), window->centralWidget()->size());

  // Nothing is drawn while no model is loaded.
  QTest::qWait(100);
  EXPECT_EQ(window->viewport().framesDrawn(), 0);
}

TEST_F(StartupTest, PanelsReopenFromTheirMenusAndExitCloses) {
  Start();
  QWidget* boneControl = window->panels().window(PanelId::BoneControl);
  QWidget* weight = window->panels().window(PanelId::WeightControl);
  weight->findChild<QPushButton*>("hideButton")->click();
  EXPECT_FALSE(window->dock(PanelId::WeightControl)->isVisible()) << "Hide closes the dock";
  Trigger(CommandId::Rotate);
  Trigger(CommandId::Weight);
  EXPECT_TRUE(boneControl->isVisible());
  EXPECT_TRUE(weight->isVisible());
  QApplication::processEvents();
  // Bone Control opens under Keyframe, over nothing else.
  QDockWidget* keyframe = window->dock(PanelId::Keyframe);
  QDockWidget* boneControlDock = window->dock(PanelId::BoneControl);
  EXPECT_GT(boneControlDock->geometry().top(), keyframe->geometry().bottom());
  for (QWidget* other : {static_cast<QWidget*>(&window->viewport()), static_cast<QWidget*>(keyframe),
                         static_cast<QWidget*>(window->dock(PanelId::Bone)),
                         static_cast<QWidget*>(window->dock(PanelId::WeightControl))}) {
    EXPECT_FALSE(boneControlDock->geometry().intersects(other->geometry()))
        << other->objectName().toStdString();
  }
  // A dock closed with its close box comes back from View > Panels.
  QDockWidget* bone = window->dock(PanelId::Bone);
  bone->close();
  EXPECT_FALSE(window->panels().window(PanelId::Bone)->isVisible());
  bone->toggleViewAction()->trigger();
  EXPECT_TRUE(window->panels().window(PanelId::Bone)->isVisible());

  EXPECT_TRUE(app.running);
  Trigger(CommandId::Exit);
  EXPECT_FALSE(app.running);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(weight->isVisible());
}
}  // namespace
}  // namespace posewright
