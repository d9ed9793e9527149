// The viewport's light record. It never reaches a fixed-function pipeline: its
// direction feeds c5 and its colours scale the materials in c8 and c9.
#pragma once

#include "math/Vector3.h"
#include "mesh/Material.h"

namespace posewright {

struct DirectionalLight {
  D3DCOLORVALUE diffuse{1.0f, 1.0f, 1.0f, 0.0f};
  D3DCOLORVALUE specular{0.0f, 0.0f, 0.0f, 0.0f};
  D3DCOLORVALUE ambient{1.0f, 1.0f, 1.0f, 0.0f};
  /// Unit direction the light shines along; kept equal to the camera's viewing direction.
  D3DXVECTOR3 direction{0.0f, 0.0f, 1.0f};
  /// The record's field after the direction; 0 for a directional light (it ends up in c5.w).
  float range = 0.0f;
};
}  // namespace posewright
