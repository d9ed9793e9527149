#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "EditorFixture.h"
#include "ModalDriver.h"
#include "PredictedPixels.h"
#include "model/SkinnedMeshFile.h"
#include "render/VertexProcessor.h"
#include "ui/PanelSet.h"

namespace posewright {

namespace {
void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, modifiers);
  QApplication::sendEvent(w, &event);
}

using SessionTest = EditorFixture;

TEST_F(SessionTest, OpenViewSelectSaveExportAndStartAgain) {
  Start();
  OpenCube();
  ASSERT_TRUE(WaitForFrame());
  EXPECT_EQ(dialogs.fileRequests.size(), 2u);
  EXPECT_EQ(app.model.skeleton.boneCount(), 3);

  // The first picture: the clear colour around the lit, textured cube.
  const QImage front = Picture();
  EXPECT_EQ(front.size(), window->viewport().size());
  EXPECT_EQ(front.pixel(3, 3), kClearColour);
  EXPECT_NE(front.pixel(front.width() / 2 - 20, front.height() / 2 - 20), kClearColour);

  // F1 looks from above, F2 from the side, F3 from the front again.
  QTest::keyClick(window.get(), Qt::Key_F1);
  EXPECT_FLOAT_EQ(app.camera.pitch, -1.5707964f);
  ASSERT_TRUE(WaitForFrame());
  EXPECT_NE(Picture(), front);
  QTest::keyClick(window.get(), Qt::Key_F2);
  EXPECT_FLOAT_EQ(app.camera.yaw, -1.5707964f);
  QTest::keyClick(window.get(), Qt::Key_F3);
  EXPECT_FLOAT_EQ(app.camera.pitch, 0.0f);
  EXPECT_FLOAT_EQ(app.camera.yaw, 0.0f);
  ASSERT_TRUE(WaitForFrame());
  EXPECT_EQ(Picture(), front);

  // Point mode, then a rubber band over the upper left of the cube.
  QTest::keyClick(window.get(), Qt::Key_F8);
  EXPECT_TRUE(app.vertexMode);
  EXPECT_TRUE(window->action(CommandId::Point)->isChecked());
  QWidget* viewport = &window->viewport();
  const QPoint a(viewport->width() / 2 - 120, viewport->height() / 2 - 120);
  const QPoint b(viewport->width() / 2 + 10, viewport->height() / 2 + 10);
  SendMouse(viewport, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, a, Qt::NoButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
  ASSERT_TRUE(WaitForFrame());
  EXPECT_NE(Picture().pixel(a.x(), (a.y() + b.y()) / 2), Picture().pixel(a.x() - 3, (a.y() + b.y()) / 2))
      << "the rubber band is drawn";
  SendMouse(viewport, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
  SendMouse(viewport, QEvent::MouseMove, b + QPoint(1, 1), Qt::NoButton, Qt::NoButton);
  ASSERT_TRUE(WaitForFrame());
  const std::vector<ScreenPosition> pixels =
      PredictedPixels(app, viewport->size() * viewport->devicePixelRatio());
  std::vector<uint8_t> expected;
  for (const ScreenPosition& p : pixels) {
    expected.push_back(a.x() < p.x && p.x < b.x() && a.y() < p.y && p.y < b.y() ? 1 : 0);
  }
  EXPECT_EQ(app.model.selection.selected, expected);
  EXPECT_GT(app.model.selection.selectedCount(), 0u);
  EXPECT_LT(app.model.selection.selectedCount(), app.model.vertexCount());

  // Save the SkinnedMesh file; it reads back whole.
  dialogs.answerFile(Path("cube.skm"), 1);
  Trigger(CommandId::SaveSkinnedMesh);
  SkinnedModel saved;
  ASSERT_TRUE(ReadSkinnedMesh(saved, Path("cube.skm")));
  EXPECT_EQ(saved.vertexCount(), app.model.vertexCount());

  // Export .x through the real Option dialog: 4800, all frames.
  ModalDriver driver;
  QString shownRate;
  driver.then([&](QWidget* w) {
    auto* options = qobject_cast<OptionDialog*>(w);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->windowTitle(), "Option");
    shownRate = options->framesPerSecondEdit()->text();
    EXPECT_FALSE(options->writeAllFramesBox()->isChecked());
    options->framesPerSecondEdit()->setText("4800");
    options->writeAllFramesBox()->setChecked(true);
    options->okButton()->click();
  });
  dialogs.answerFile(Path("cube_export.x"), 2);
  Trigger(CommandId::SaveSkinnedMesh);
  EXPECT_TRUE(driver.done());
  EXPECT_EQ(shownRate, "60");
  const std::string exported = ReadFileBytes(Path("cube_export.x")).value_or("");
  EXPECT_EQ(exported.rfind("xof 0303txt 0032", 0), 0u);
  EXPECT_NE(exported.find("SkinWeights"), std::string::npos);
  EXPECT_TRUE(dialogs.messages.empty());

  // New asks, then the viewport shows only the clear colour.
  dialogs.answers = {true};
  Trigger(CommandId::New);
  EXPECT_EQ(dialogs.messages.back(), "Attention? All Data will be erased.Proceed?");
  EXPECT_FALSE(app.canDraw());
  ASSERT_TRUE(WaitForFrame());
  const QImage cleared = Picture();
  QImage expectedClear(cleared.size(), QImage::Format_RGB32);
  expectedClear.fill(kClearColour);
  EXPECT_EQ(cleared, expectedClear);
}

TEST_F(SessionTest, ErrorPathsTellTheUserAndChangeNothing) {
  Start();
  // A bad bone data file.
  ASSERT_TRUE(WriteFileAtomically(Path("bad.dat"), "numBones: 0\n"));
  dialogs.answerFile(Path("cube.x"));
  dialogs.answerFile(Path("bad.dat"));
  Trigger(CommandId::OpenMesh);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "Error: File Format Error");
  EXPECT_NE(dialogs.details[0].find("bad.dat"), std::string::npos);
  EXPECT_FALSE(app.canDraw());

  // A cancelled save dialog.
  dialogs.messages.clear();
  dialogs.cancelFile();
  Trigger(CommandId::SaveSkinnedMesh);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Error: Mesh Save Error"});

  // A cancelled Option dialog writes nothing and says so.
  OpenCube();
  ModalDriver driver;
  driver.then(ModalDriver::Reject());
  dialogs.answerFile(Path("never.x"), 2);
  Trigger(CommandId::SaveSkinnedMesh);
  EXPECT_TRUE(driver.done());
  EXPECT_FALSE(std::filesystem::exists(Path("never.x")));
  EXPECT_EQ(dialogs.messages.back(), "Save *.x: ファイルの保存をキャンセルしました");
}
}  // namespace

namespace {
TEST_F(SessionTest, ReadingParametersShowsTheSelectedBonesNewValues) {
  Start();
  OpenCube();
  window->panels().selectBoneItem(app.boneItems[1]);
  auto* hEdit = window->panels().window(PanelId::Bone)->findChild<QLineEdit*>(QStringLiteral("hEdit"));
  auto* rEdit = window->panels().window(PanelId::Bone)->findChild<QLineEdit*>(QStringLiteral("rEdit"));
  ASSERT_NE(hEdit, nullptr);
  ASSERT_EQ(hEdit->text(), QStringLiteral("0.3500"));

  // The selection stays on bone 1 while its values change under it.
  ASSERT_TRUE(WriteFileAtomically(Path("cube.prm"), "1 2 2.5000 0.1250\n2 1 1.0000 0.3500\n"));
  dialogs.answerFile(Path("cube.prm"));
  Trigger(CommandId::OpenBlendingParameters);
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.back();
  EXPECT_EQ(window->panels().selectedBoneItem(), app.boneItems[1]);
  EXPECT_EQ(hEdit->text(), QStringLiteral("0.1250"));
  EXPECT_EQ(rEdit->text(), QStringLiteral("2.5000"));
}
}  // namespace
}  // namespace posewright
