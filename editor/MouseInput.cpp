#include "editor/MouseInput.h"

namespace posewright {

void ApplyMouseButton(Application& app, MouseButton button, bool down) {
  app.mouse = OnMouseButton(app.mouse, button, down);
}

void ApplyMouseMove(Application& app, ClientPoint p, uint32_t keys) {
  const MouseMoveResult result = OnMouseMove(app.mouse, p, keys, app.vertexMode);
  app.mouse = result.state;
  if (result.moveCamera) {
    refreshCamera(app.camera, result.dPitch, result.dYaw, result.dDistance);
  }
  if (result.selection) {
    app.selectionRequest = *result.selection;
  }
}
}  // namespace posewright
