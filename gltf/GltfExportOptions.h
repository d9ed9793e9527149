// What a glTF export is given besides the model.
#pragma once

#include <string>

#include "anim/Animation.h"

namespace posewright {

namespace gltf {

/// An animation to export under a name.
struct NamedAnimation {
  std::string name;
  const Animation* animation = nullptr;
};

struct ExportOptions {
  /// One sample per editor frame from 0 to the last keyframe instead of one
  /// per keyframe (the motion is the same either way).
  bool sampleEveryFrame = false;
};

/// .glb: one binary file with everything in it; .gltf: JSON with the
/// buffer (NAME.bin) and the textures beside it.
enum class Container { Binary, Text };

}  // namespace gltf
}  // namespace posewright
