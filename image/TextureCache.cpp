#include "image/TextureCache.h"

namespace posewright {

SharedTexture TextureCache::get(const std::string& resolvedPath) {
  if (!load_) {
    return nullptr;
  }
  auto found = images_.find(resolvedPath);
  if (found == images_.end()) {
    found = images_.emplace(resolvedPath, load_(resolvedPath, nullptr)).first;
  }
  return found->second;
}
}  // namespace posewright
