// The textures of one model load: every file is read and decoded once,
// however many materials name it, and they all share the one image.
#pragma once

#include <map>
#include <string>

#include "image/TextureLoader.h"

namespace posewright {

class TextureCache {
 public:
  /// Loads with load; an empty loader loads nothing.
  explicit TextureCache(TextureLoader load) : load_(std::move(load)) {}

  /// The image of the file at resolvedPath, loaded on the first request for
  /// that path (spelled the same) and shared from then on; null when it gave no
  /// image or there is no loader.
  SharedTexture get(const std::string& resolvedPath);

 private:
  TextureLoader load_;
  std::map<std::string, SharedTexture> images_;
};
}  // namespace posewright
