#include "editor/MouseStateMachine.h"

namespace posewright {

namespace {
constexpr ButtonPair kNone{0, 0};
constexpr ButtonPair kLeft{1, 0};
constexpr ButtonPair kRight{0, 1};
constexpr float kRadiansPerPixel = 3.14159265f / 360.0f;
constexpr float kZoomPerPixel = 0.05f;

// First move of a right or both-button drag: remember the spot, hide the band.
void StartCameraDrag(MouseState& s, ClientPoint p) {
  s.lastMouse = p;
  s.dragRectVisible = false;
  s.last = s.current;
}
}  // namespace

MouseState OnMouseButton(MouseState state, MouseButton button, bool down) {
  const uint8_t value = down ? 1 : 0;
  if (button == MouseButton::Left) {
    state.current.left = value;
  } else {
    state.current.right = value;
  }
  return state;
}

MouseMoveResult OnMouseMove(const MouseState& state, ClientPoint p, uint32_t keys, bool vertexMode) {
  MouseMoveResult r;
  r.state = state;
  MouseState& s = r.state;
  const ButtonPair now = s.current;
  const int dx = p.x - s.lastMouse.x;
  const int dy = p.y - s.lastMouse.y;

  if (now == kLeft) {
    if (s.last == kNone) {
      s.dragRectVisible = true;
      s.dragStart = p;
      s.dragEnd = p;
      s.last = now;
    } else if (s.last == now) {
      s.dragEnd = p;
    }
  } else if (now == kRight) {
    if (s.last == kLeft) {
      // a left drag keeps the mouse until every button is up
    } else if (s.last == now) {
      r.moveCamera = true;
      r.dPitch = static_cast<float>(-dy) * kRadiansPerPixel;
      r.dYaw = static_cast<float>(-dx) * kRadiansPerPixel;
      s.lastMouse = p;
    } else {
      StartCameraDrag(s, p);
    }
  } else if (now.left == 1 && now.right == 1) {
    if (s.last == kLeft) {
    } else if (s.last == now) {
      r.moveCamera = true;
      r.dDistance = static_cast<float>(dy) * kZoomPerPixel;
      s.lastMouse = p;
    } else {
      StartCameraDrag(s, p);
    }
  } else {
    if (s.last == kLeft && vertexMode) {
      RectSelectionRequest request;
      request.pending = true;
      request.corner1 = s.dragStart;
      request.corner2 = s.dragEnd;
      request.subtract = keys == kKeyControl;
      request.add = !request.subtract && keys == kKeyShift;
      r.selection = request;
    }
    s.dragRectVisible = false;
    s.last = now;
  }
  return r;
}
}  // namespace posewright
