#include <QMessageBox>
#include <QPushButton>

#include "EditorFixture.h"
#include "ModalDriver.h"
#include "ui/QtDialogs.h"

namespace posewright {

namespace {
using UnsavedChangesTest = EditorFixture;

// The close box (and Exit, which closes the window) asks about unsaved work:
// Cancel keeps the window, Discard closes it. The title marks the work.
TEST_F(UnsavedChangesTest, ClosingWithUnsavedWorkAsks) {
  Start();
  OpenCube();
  EXPECT_EQ(window->windowTitle(), "cube.x \u2014 Posewright");
  Trigger(CommandId::AnimationAdd);
  EXPECT_EQ(window->windowTitle(), "*cube.x \u2014 Posewright");

  dialogs.saveAnswers = {SaveChangesAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(dialogs.messages.back(), "Save? Save changes?");
  EXPECT_EQ(dialogs.details.back(), "Animations have unsaved changes.");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(app.running);

  dialogs.saveAnswers = {SaveChangesAnswer::Discard};
  Trigger(CommandId::Exit);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(app.running);
}

// The real question box: its three buttons, Save first, Escape is Cancel.
TEST(SaveChangesBox, OffersSaveDiscardAndCancel) {
  QtDialogs dialogs(nullptr);
  ModalDriver driver;
  QStringList buttons;
  driver.then([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Save));
    box->button(QMessageBox::Discard)->click();
  });
  EXPECT_EQ(dialogs.askSaveChanges("Save changes?", "The model has unsaved changes."),
            SaveChangesAnswer::Discard);
  buttons.sort();
  EXPECT_EQ(buttons.size(), 3);
  driver.then([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.askSaveChanges("Save changes?", ""), SaveChangesAnswer::Cancel);
  EXPECT_TRUE(driver.done());
}
}  // namespace
}  // namespace posewright
