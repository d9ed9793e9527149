// When the viewport draws: only after a change, and during playback on the
// playback clock however slowly it draws.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>

#include "EditorFixture.h"
#include "ui/PanelSet.h"

namespace posewright {

namespace {
using FrameTimingTest = EditorFixture;

TEST_F(FrameTimingTest, NothingIsDrawnWhileNothingChanges) {
  Start();
  OpenCube();
  ASSERT_TRUE(WaitForFrame());
  QTest::qWait(100);
  const int drawn = window->viewport().framesDrawn();
  QTest::qWait(600);
  // A mouse move without a button changes nothing either.
  QWidget* viewport = &window->viewport();
  QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), QPointF(viewport->mapToGlobal(QPoint(50, 50))),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::qWait(200);
  EXPECT_EQ(window->viewport().framesDrawn(), drawn);
  // A change draws once.
  QTest::keyClick(window.get(), Qt::Key_F9);
  ASSERT_TRUE(WaitForFrame());
  QTest::qWait(300);
  EXPECT_EQ(window->viewport().framesDrawn(), drawn + 1);
}

// A 60-frame animation plays in one second while the viewport draws only
// 30 frames a second: playback skips frames to keep time.
TEST_F(FrameTimingTest, PlaybackKeepsTimeWhenDrawingIsSlow) {
  Start();
  OpenCube();
  window->viewport().setFrameInterval(33);
  Trigger(CommandId::AnimationAdd);
  QWidget* keyframe = window->panels().window(PanelId::Keyframe);
  auto* slider = keyframe->findChild<QSlider*>("timeSlider");
  auto* add = keyframe->findChild<QPushButton*>("addButton");
  auto* time = keyframe->findChild<QLineEdit*>("timeEdit");
  slider->setValue(0);
  add->click();
  SetBonePose(app.model.skeleton.bones[1], D3DXQUATERNION(0.6f, 0, 0, 0.8f));
  slider->setValue(60);
  add->click();

  QElapsedTimer clock;
  qint64 firstFrame = -1;
  qint64 wrapped = -1;
  int last = -1;
  int frames = 0;
  const auto watch = QObject::connect(&window->viewport(), &Viewport::frameDrawn, [&] {
    if (!app.animation.playing || wrapped >= 0) return;
    const int shown = time->text().toInt();
    if (firstFrame < 0 && shown == 0) firstFrame = clock.elapsed();
    if (firstFrame >= 0) ++frames;
    if (firstFrame >= 0 && shown < last) wrapped = clock.elapsed();
    last = shown;
  });
  clock.start();
  keyframe->findChild<QPushButton*>("playButton")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return wrapped >= 0; }, 5000));
  QObject::disconnect(watch);
  const qint64 loop = wrapped - firstFrame;
  EXPECT_GE(loop, 900);
  EXPECT_LE(loop, 1100);
  EXPECT_LE(frames, 33) << "drawn at most 30 times a second";
  EXPECT_GE(frames, 10);
}
}  // namespace
}  // namespace posewright
