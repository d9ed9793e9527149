#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "EditorFixture.h"
#include "ModalDriver.h"
#include "editor/Commands.h"
#include "editor/panels/ExportOptionDialog.h"
#include "importer/MeshFormats.h"
#include "model/SkinnedMeshFile.h"
#include "ui/FileDialogs.h"

namespace posewright {

namespace {
using RealDialogsTest = EditorFixture;

// The file dialogs and message boxes the editor shows without a script.
TEST_F(RealDialogsTest, OpenSaveAndNewThroughTheQtDialogs) {
  Start(/*realDialogs=*/true);
  ModalDriver driver;
  QStringList openFilters;
  driver.then([&](QWidget* w) {
    openFilters = qobject_cast<QFileDialog*>(w)->nameFilters();
    ModalDriver::ChooseFile(QString::fromStdString(Path("cube.x")))(w);
  });
  driver.then(ModalDriver::ChooseFile(QString::fromStdString(Path("cube.dat"))));
  Trigger(CommandId::OpenMesh);
  ASSERT_TRUE(driver.done());
  EXPECT_EQ(openFilters, (QStringList{"Direct3D(*.x)",
                                      "All meshes (" + QString::fromStdString(MeshFilePatterns()) + ")"}));
  ASSERT_TRUE(app.canDraw());
  ASSERT_TRUE(WaitForFrame());

  // Save: the dialog opens on the .x filter; choosing the .skm filter and
  // typing a bare name saves "saved.skm" beside the mesh.
  QString preselected;
  driver.then([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    preselected = dialog->selectedNameFilter();
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Up);  // as a user picks the first type
    ModalDriver::ChooseFile("saved")(w);
  });
  Trigger(CommandId::SaveSkinnedMesh);
  ASSERT_TRUE(driver.done());
  EXPECT_EQ(preselected, "Direct3D SkinnedMesh(*.x)");
  SkinnedModel saved;
  EXPECT_TRUE(ReadSkinnedMesh(saved, Path("saved.skm")));

  // New: the question box, answered with OK.
  QString question;
  driver.then([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    question = box->windowTitle() + ": " + box->text();
    box->button(QMessageBox::Ok)->click();
  });
  Trigger(CommandId::New);
  ASSERT_TRUE(driver.done());
  EXPECT_EQ(question.toStdString(), "Attention: All Data will be erased.Proceed?");
  EXPECT_FALSE(app.canDraw());
}

// A typed extension decides the type: a .skm name is saved as a SkinnedMesh
// file even though the dialog opens on the .x type.
TEST(RunFileDialog, TheTypedExtensionChoosesItsType) {
  QTemporaryDir folder;
  const QString dir = folder.path();
  const FileDialogRequest save = file_dialogs::SaveSkinnedMesh();
  ModalDriver driver;
  driver.then(ModalDriver::ChooseFile(dir + "/typed.skm"));
  std::optional<FileChoice> choice = RunFileDialog(nullptr, save, dir);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->filter, kSkinnedMeshFilter);
  EXPECT_EQ(choice->path, (dir + "/typed.skm").toStdString());

  driver.then(ModalDriver::ChooseFile(dir + "/bare"));
  choice = RunFileDialog(nullptr, save, dir);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->filter, kDirectXFilter) << "no extension: the selected type, whose extension is added";
  EXPECT_EQ(choice->path, (dir + "/bare.x").toStdString());
  EXPECT_TRUE(driver.done());

  EXPECT_EQ(TypeOfExtension(save, "SKM", kDirectXFilter), kSkinnedMeshFilter) << "letter case ignored";
  EXPECT_EQ(TypeOfExtension(save, "txt", kDirectXFilter), kDirectXFilter) << "an extension of no type";
  EXPECT_EQ(TypeOfExtension(save, "glb", kDirectXFilter), kGlbFilter);
  EXPECT_EQ(TypeOfExtension(save, "GLTF", kGlbFilter), kGltfFilter);
  EXPECT_EQ(TypeOfExtension(file_dialogs::OpenSkinnedMesh(), "x", kSkinnedMeshFilter), kDirectXFilter);
}

TEST(NameFilters, KeepTheDescriptionAndFilterByThePattern) {
  FileDialogRequest request;
  request.filters = {{"SkinnedMesh(*.skm)", "*.skm"}, {"Images", "*.png"}};
  EXPECT_EQ(NameFilters(request), (QStringList{"SkinnedMesh(*.skm)", "Images (*.png)"}));
}

// The Option dialog: texts, start values and the result rule with the widget.
TEST(OptionDialogWidget, ProposesTheRememberedRateAndReturnsTheSignedResult) {
  OptionDialog dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Option");
  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  texts.sort();
  EXPECT_EQ(texts, (QStringList{"(4800 for DirectX8SDK SkinnedMesh Sample)",
                                "(for DirectX8SDK SkinnedMesh Sample)", "Frame Per Second = "}));
  // The GUI tests run under a German locale, which shows the English
  // translation of the Japanese texts (tests/translations checks the others).
  EXPECT_EQ(dialog.writeAllFramesBox()->text(), "Write all interpolated frames between keyframes");
  EXPECT_EQ(dialog.okButton()->text(), "OK");
  EXPECT_TRUE(dialog.okButton()->isDefault());
  EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");

  EXPECT_EQ(dialog.meshInFrameBox()->text(), "Mesh inside the root frame (for Assimp-based tools)");

  uint32_t remembered = kDefaultFramesPerSecond;
  bool meshInFrame = false;
  ModalDriver driver;
  driver.then([](QWidget* w) {
    auto* d = qobject_cast<OptionDialog*>(w);
    EXPECT_EQ(d->framesPerSecondEdit()->text(), "60");
    EXPECT_FALSE(d->meshInFrameBox()->isChecked());
    d->framesPerSecondEdit()->setText("4800");
    d->writeAllFramesBox()->setChecked(true);
    d->meshInFrameBox()->setChecked(true);
    QTest::keyClick(d->framesPerSecondEdit(), Qt::Key_Return);  // Enter presses the default OK
  });
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), -4800);
  EXPECT_EQ(remembered, 4800u);
  EXPECT_TRUE(meshInFrame);

  driver.then([](QWidget* w) {
    auto* d = qobject_cast<OptionDialog*>(w);
    EXPECT_EQ(d->framesPerSecondEdit()->text(), "4800");
    EXPECT_FALSE(d->writeAllFramesBox()->isChecked());
    EXPECT_TRUE(d->meshInFrameBox()->isChecked());
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_EQ(remembered, 4800u);

  driver.then([](QWidget* w) {
    auto* d = qobject_cast<OptionDialog*>(w);
    d->framesPerSecondEdit()->setText("-30");
    d->okButton()->click();
  });
  EXPECT_EQ(RunOptionDialog(dialog, remembered, meshInFrame), 0);
  EXPECT_EQ(remembered, 0u);
  EXPECT_TRUE(driver.done());
}
}  // namespace
}  // namespace posewright
