// What the viewport does with mouse buttons and movement: a left drag draws
// the rubber band and, in vertex mode, asks for a rectangle selection on the
// first move after the release; a right drag orbits the camera; both buttons
// zoom. Written as pure functions of the state so every row of the behaviour
// can be tested without a window.
#pragma once

#include <cstdint>
#include <optional>

#include "render/ClientPoint.h"
#include "render/RectangleSelection.h"

namespace posewright {

/// Key-state flags that come with a mouse move (the bits of the platform's
/// key-state word this code looks at).
inline constexpr uint32_t kKeyLeftButton = 0x0001;
inline constexpr uint32_t kKeyRightButton = 0x0002;
inline constexpr uint32_t kKeyShift = 0x0004;
inline constexpr uint32_t kKeyControl = 0x0008;
inline constexpr uint32_t kKeyMiddleButton = 0x0010;

struct ButtonPair {
  uint8_t left = 0;
  uint8_t right = 0;
  friend bool operator==(const ButtonPair&, const ButtonPair&) = default;
};

enum class MouseButton { Left, Right };

struct MouseState {
  /// Buttons as the press and release events set them.
  ButtonPair current;
  /// Buttons as the last mouse move acted on them.
  ButtonPair last;
  ClientPoint dragStart;
  ClientPoint dragEnd;
  /// Position of the last orbit or zoom step.
  ClientPoint lastMouse;
  bool dragRectVisible = false;
};

/// What one mouse move asks of the editor besides its new state.
struct MouseMoveResult {
  MouseState state;
  /// True when the camera must be refreshed with the three deltas.
  bool moveCamera = false;
  float dPitch = 0.0f;
  float dYaw = 0.0f;
  float dDistance = 0.0f;
  /// A rectangle selection to carry out at the next drawn frame.
  std::optional<RectSelectionRequest> selection;
};

/// A press or release: sets the button in current (capturing the mouse is the
/// window's business).
MouseState OnMouseButton(MouseState state, MouseButton button, bool down);

/// A move to p with the key-state word keys. Orbit: one pixel is half a
/// degree (right decreases yaw, down decreases pitch). Zoom: one pixel down
/// adds 0.05 to the distance. The selection is subtract with exactly
/// kKeyControl, add with exactly kKeyShift, replace otherwise.
MouseMoveResult OnMouseMove(const MouseState& state, ClientPoint p, uint32_t keys, bool vertexMode);
}  // namespace posewright
