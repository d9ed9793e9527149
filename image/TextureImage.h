// A decoded texture: RGBA8 pixels, row 0 the image's top row.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace posewright {

struct TextureImage {
  int width = 0;
  int height = 0;
  /// width × height × 4 bytes, R, G, B, A.
  std::vector<uint8_t> rgba;
};

/// A decoded texture as the model holds it: one image shared by every material
/// that names its file; null for a material without one.
using SharedTexture = std::shared_ptr<const TextureImage>;
}  // namespace posewright
