// The viewport's mouse events applied to the editor: the button state
// machine, the orbit and zoom of the camera and the rectangle selection
// request that the next drawn frame carries out.
#pragma once

#include <cstdint>

#include "editor/Application.h"

namespace posewright {

/// A press (down) or release of the left or right button in the viewport.
void ApplyMouseButton(Application& app, MouseButton button, bool down);

/// A move to p (viewport pixels) with the key-state word keys (kKeyShift,
/// kKeyControl and the button flags of MouseStateMachine.h).
void ApplyMouseMove(Application& app, ClientPoint p, uint32_t keys);
}  // namespace posewright
