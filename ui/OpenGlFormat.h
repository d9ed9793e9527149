// The OpenGL context every viewport gets.
#pragma once

namespace posewright {

/// Makes OpenGL 3.3 core with a depth buffer the default surface format. Must
/// run before the first OpenGL widget exists (best: before QApplication).
void UseViewportSurfaceFormat();
}  // namespace posewright
