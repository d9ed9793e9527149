#include "image/ImageDecoders.h"

namespace posewright {

bool CheckTextureSize(long long width, long long height, std::string* why) {
  if (IsAcceptableTextureSize(width, height)) {
    return true;
  }
  if (why != nullptr) {
    *why = width <= 0 || height <= 0
               ? "the image has no pixels"
               : "the image is " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels, more than the " + std::to_string(kMaxTextureSide) + " x " +
                     std::to_string(kMaxTextureSide) + " a texture may have";
  }
  return false;
}
}  // namespace posewright
