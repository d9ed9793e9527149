// What a desktop user expects of the window: standard shortcuts and
// mnemonics, files from the command line, recent files, and a size and dock
// layout that outlast the run.
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "EditorFixture.h"
#include "editor/Commands.h"
#include "ui/PanelDock.h"
#include "ui/PanelSet.h"

namespace posewright {

namespace {
using DesktopTest = EditorFixture;

TEST_F(DesktopTest, StandardKeysAndMnemonics) {
  Start();
  // Ctrl+O is File > Open Data > Mesh: its dialog, then the bone data's.
  dialogs.cancelFile();
  dialogs.cancelFile();
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialogs.fileRequests.size(), 2u);
  EXPECT_EQ(dialogs.fileRequests[0], file_dialogs::OpenMesh());
  // Ctrl+S is Save Data > SkinnedMesh (cancelled: its message).
  dialogs.cancelFile();
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(dialogs.fileRequests.back(), file_dialogs::SaveSkinnedMesh());
  EXPECT_EQ(window->action(CommandId::New)->shortcut(), QKeySequence(QKeySequence::New));
  EXPECT_EQ(window->action(CommandId::Exit)->shortcut(), QKeySequence(QKeySequence::Quit));

  // Alt+E opens the Edit menu.
  QAction* edit = window->menuBar()->actions().at(1);
  QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit->menu()->isVisible(); }, 2000));
  edit->menu()->close();
}

// A weight typed into Weight Control and applied with Enter is undone with
// Ctrl+Z while the edit still has the focus.
TEST_F(DesktopTest, CtrlZInAPanelEditUndoesTheApply) {
  Start();
  OpenCube();
  for (std::size_t v = 0; v < app.model.vertexCount(); ++v) app.model.selection.selected[v] = 1;
  QWidget* panel = window->panels().window(PanelId::WeightControl);
  const uint32_t before = app.model.skinnedMesh.vertices[0].boneIndices;
  panel->findChild<QComboBox*>("boneIndexBox0")->setCurrentIndex(1);
  auto* edit = panel->findChild<QLineEdit*>("weightEdit0");
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "1");
  QTest::keyClick(edit, Qt::Key_Return);
  ASSERT_EQ(app.model.skinnedMesh.vertices[0].boneIndices, 1u);
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(app.model.skinnedMesh.vertices[0].boneIndices, before);
}

TEST_F(DesktopTest, CommandLineFilesOpenAndNameTheWindow) {
  Start();
  ASSERT_TRUE(WriteFileAtomically(Path("cube.prm"), "1 2 2.5000 0.1250\n2 1 1.0000 0.3500\n"));
  window->openFiles({Path("cube.prm"), Path("cube.x"), Path("cube.dat"), Path("notes.txt")});
  ASSERT_TRUE(app.canDraw());
  EXPECT_FLOAT_EQ(app.model.skeleton.blendParams[1].R, 2.5f);
  EXPECT_EQ(window->windowTitle(), "*cube.x \u2014 Posewright") << "the parameters changed the model";
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "Posewright: Some files were not opened.");
  EXPECT_NE(dialogs.details[0].find("notes.txt"), std::string::npos);
  EXPECT_TRUE(dialogs.fileRequests.empty()) << "no dialog for files named on the command line";
}

// With settings the window keeps its size, its docks and the recent files
// for the next run.
TEST_F(DesktopTest, SizeDocksAndRecentFilesOutlastTheRun) {
  QTemporaryDir place;
  QSettings settings(place.filePath("posewright.conf"), QSettings::IniFormat);
  window = std::make_unique<MainWindow>(app, &dialogs, &settings);
  window->start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->openFiles({Path("cube.x"), Path("cube.dat")});
  QMenu* recent = window->menu(MenuSlot::RecentFiles);
  ASSERT_EQ(recent->actions().size(), 1);
  EXPECT_EQ(recent->actions()[0]->text(), "&1 cube.x");
  window->dock(PanelId::Bone)->close();
  window->resize(1000, 900);
  QApplication::processEvents();
  const QSize size = window->size();
  ASSERT_TRUE(window->close());
  window.reset();

  Application next;
  window = std::make_unique<MainWindow>(next, &dialogs, &settings);
  window->start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_EQ(window->size(), size);
  EXPECT_FALSE(window->dock(PanelId::Bone)->isVisible());
  EXPECT_TRUE(window->dock(PanelId::WeightControl)->isVisible());
  // The recent mesh opens as File > Open Data > Mesh does: its bone data is asked for.
  dialogs.answerFile(Path("cube.dat"));
  window->menu(MenuSlot::RecentFiles)->actions()[0]->trigger();
  EXPECT_TRUE(next.canDraw());
  EXPECT_EQ(dialogs.fileRequests.back(), file_dialogs::OpenBoneData());
  EXPECT_EQ(next.modelPath, Path("cube.x"));
  window.reset();
}
}  // namespace
}  // namespace posewright
