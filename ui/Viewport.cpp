// The device header comes first: libepoxy must be included before any other
// OpenGL header.
#include "gl/GlDevice.h"
// clang-format off
#include "ui/Viewport.h"
// clang-format on

#include <QMouseEvent>
#include <QOpenGLContext>
#include <algorithm>

#include "editor/Application.h"
#include "editor/FrameLoop.h"
#include "editor/MouseInput.h"
#include "render/Camera.h"
#include "render/RingMarker.h"
#include "resources/EmbeddedResources.h"

namespace posewright {

namespace {
constexpr uint32_t kBlack = 0xFF000000u;

// The platform's key-state word of a mouse event.
uint32_t KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  uint32_t keys = 0;
  if (buttons & Qt::LeftButton) keys |= kKeyLeftButton;
  if (buttons & Qt::RightButton) keys |= kKeyRightButton;
  if (buttons & Qt::MiddleButton) keys |= kKeyMiddleButton;
  if (modifiers & Qt::ShiftModifier) keys |= kKeyShift;
  if (modifiers & Qt::ControlModifier) keys |= kKeyControl;
  return keys;
}

int16_t ToCoordinate(qreal v) {
  return static_cast<int16_t>(std::clamp<qreal>(std::floor(v), -32768.0, 32767.0));
}
}  // namespace

Viewport::Viewport(Application& app, QWidget* parent) : QOpenGLWidget(parent), app_(app) {
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);  // keep the last picture between frames
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  frameTimer_.setSingleShot(true);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, &Viewport::tick);
  clock_.start();
}

Viewport::~Viewport() {
  makeCurrent();
  releaseDevice();
  doneCurrent();
}

void Viewport::attach(ShellView* shell) {
  shell_ = shell;
  if (shell_ == nullptr) {
    frameTimer_.stop();
    makeCurrent();
    loop_.reset();
    doneCurrent();
    return;
  }
  scheduleTick();
}

void Viewport::requestClear() {
  clearPending_ = true;
  update();
}

void Viewport::requestFrame() {
  frameRequested_ = true;
  scheduleTick();
}

void Viewport::setFrameInterval(uint32_t ms) {
  frameIntervalMs_ = ms;
  if (loop_) loop_->setFrameInterval(ms);
}

void Viewport::setFixedPlaybackSteps(bool fixed) {
  fixedSteps_ = fixed;
  if (loop_) loop_->setFixedSteps(fixed);
}

void Viewport::initializeGL() {
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &Viewport::releaseDevice,
          Qt::DirectConnection);
  const QSurfaceFormat format = context()->format();
  if (format.version() < qMakePair(3, 3) || format.profile() != QSurfaceFormat::CoreProfile) {
    deviceError_ = QString("OpenGL 3.3 core is needed; the context has OpenGL %1.%2%3")
                       .arg(format.majorVersion())
                       .arg(format.minorVersion())
                       .arg(format.profile() == QSurfaceFormat::CoreProfile ? " core" : "");
  } else {
    const qreal ratio = devicePixelRatioF();
    device_ =
        std::make_unique<GlDevice>(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    if (!device_->ok()) {
      deviceError_ = QString::fromStdString(device_->error());
      device_.reset();
    } else {
      if (Status ring = LoadRingGizmo(FindResourceText("ring.x"), resources_.ring); !ring) {
        deviceError_ = QString::fromStdString("ring marker: " + ring.describe());
      }
    }
  }
  if (!deviceError_.isEmpty()) {
    emit deviceFailed(deviceError_);
  }
}

void Viewport::resizeGL(int width, int height) {
  const qreal ratio = devicePixelRatioF();
  const int w = static_cast<int>(width * ratio);
  const int h = static_cast<int>(height * ratio);
  if (device_) {
    device_->resize(w, h);
  }
  // The projection takes the new shape, so the picture is not stretched and
  // picking projects onto the pixels drawn.
  setViewportSize(app_.camera, w, h);
  drawAnyTime_ = true;
  requestFrame();
}

void Viewport::paintGL() {
  if (!device_) {
    return;
  }
  if (!painted_) {
    // The window shows black until the first frame, like its background brush.
    device_->clear(kBlack, 1.0f, 0);
    painted_ = true;
  }
  if (!loop_ && shell_ != nullptr) {
    loop_ = std::make_unique<FrameLoop>(app_, *shell_, *device_, resources_);
    loop_->setFrameInterval(frameIntervalMs_);
    loop_->setFixedSteps(fixedSteps_);
  }
  if (!loop_) {
    return;
  }
  if (clearPending_) {
    loop_->requestClear();
    clearPending_ = false;
  }
  const bool drawn = loop_->frame(now(), drawAnyTime_);
  drawAnyTime_ = false;
  if (drawn) {
    ++framesDrawn_;
    emit frameDrawn();
  }
  // A request the frame interval held back waits for its turn; without a
  // model there is nothing to draw until one is loaded (which asks again).
  frameRequested_ = frameRequested_ && !drawn && app_.canDraw();
  if (frameRequested_ || app_.animation.playing) {
    scheduleTick();
  }
}

void Viewport::tick() {
  update();
}

void Viewport::scheduleTick() {
  if (shell_ == nullptr || frameTimer_.isActive()) {
    return;
  }
  const uint32_t wait = loop_ ? loop_->msUntilNextFrame(now()) : 0;
  frameTimer_.start(static_cast<int>(wait));
}

void Viewport::releaseDevice() {
  frameTimer_.stop();
  loop_.reset();
  if (device_) {
    resources_.release(*device_);
    device_.reset();
  }
}

void Viewport::pressOrRelease(QMouseEvent* event, bool down) {
  if (event->button() == Qt::LeftButton) {
    ApplyMouseButton(app_, MouseButton::Left, down);
  } else if (event->button() == Qt::RightButton) {
    ApplyMouseButton(app_, MouseButton::Right, down);
  }
}

void Viewport::mousePressEvent(QMouseEvent* event) {
  pressOrRelease(event, true);
  requestFrame();
}

// A second click counts as another press: there is no double-click action.
void Viewport::mouseDoubleClickEvent(QMouseEvent* event) {
  pressOrRelease(event, true);
  requestFrame();
}

void Viewport::mouseReleaseEvent(QMouseEvent* event) {
  pressOrRelease(event, false);
  requestFrame();
}

void Viewport::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position() * devicePixelRatioF();
  ApplyMouseMove(app_, ClientPoint{ToCoordinate(p.x()), ToCoordinate(p.y())},
                 KeyState(event->buttons(), event->modifiers()));
  // A move without a button changes the picture only when it carries out a
  // rubber band's selection.
  if (event->buttons() != Qt::NoButton || app_.selectionRequest.pending) {
    requestFrame();
  }
}
}  // namespace posewright
