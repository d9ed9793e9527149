// The main window's client area: an OpenGL widget hosting the graphics
// device, the render resources and the frame loop. Its size in device pixels
// is the back buffer's. Mouse buttons and moves go to the editor's mouse
// handling; the widget holds the mouse while a button is down. It draws only
// when something changed (requestFrame: input, a command, a panel's action, a
// resize) and, while playback runs, when the next animation frame is due;
// otherwise it sleeps.
#pragma once

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <memory>

#include "editor/FramePacer.h"
#include "render/RenderResources.h"

namespace posewright {

struct Application;
class FrameLoop;
class GlDevice;
class ShellView;

class Viewport final : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit Viewport(Application& app, QWidget* parent = nullptr);
  ~Viewport() override;

  /// Starts the frame loop with shell (once the device exists); null stops it.
  void attach(ShellView* shell);
  /// The next frame shows only the clear colour.
  void requestClear();
  /// Something the picture shows changed: a frame is drawn as soon as the
  /// frame interval allows.
  void requestFrame();
  /// Frames drawn so far.
  int framesDrawn() const { return framesDrawn_; }
  /// The least time between frames, 16 ms unless set (a longer one stands
  /// for a machine that draws slowly).
  void setFrameInterval(uint32_t ms);
  /// Playback moves on by one frame per drawn frame instead of following the
  /// clock (the tour's pictures are then the same on every machine).
  void setFixedPlaybackSteps(bool fixed);
  /// The classic client area, 800 × 581 pixels: the size a first start gives.
  QSize sizeHint() const override { return {800, 581}; }
  /// Why the device could not be set up; empty while it works.
  const QString& deviceError() const { return deviceError_; }

 signals:
  /// A frame was drawn (scene or clear colour).
  void frameDrawn();
  /// The OpenGL device could not be set up; the editor cannot draw.
  void deviceFailed(const QString& reason);

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeGL(int width, int height) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void tick();
  void scheduleTick();
  void releaseDevice();
  void pressOrRelease(QMouseEvent* event, bool down);
  uint32_t now() const { return static_cast<uint32_t>(clock_.elapsed()); }

  Application& app_;
  ShellView* shell_ = nullptr;
  std::unique_ptr<GlDevice> device_;
  RenderResources resources_;
  std::unique_ptr<FrameLoop> loop_;
  QTimer frameTimer_;
  QElapsedTimer clock_;
  QString deviceError_;
  uint32_t frameIntervalMs_ = kFrameIntervalMs;
  bool fixedSteps_ = false;
  bool frameRequested_ = false;
  // The next paint must draw even before the frame interval has passed (the
  // back buffer was made anew).
  bool drawAnyTime_ = false;
  bool clearPending_ = false;
  bool painted_ = false;
  int framesDrawn_ = 0;
};
}  // namespace posewright
