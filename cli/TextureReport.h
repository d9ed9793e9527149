// Texture loading for the commands that read a model's images (render,
// export): each file is loaded as the editor loads it, and afterwards every
// material whose named image did not load is reported on stderr.
#pragma once

#include <map>
#include <string>

#include "image/TextureLoader.h"
#include "model/SkinnedModel.h"

namespace posewright {

class TextureReport {
 public:
  /// A loader for ReadSkinnedMesh that keeps why each file gave no image. The
  /// report must outlive the read.
  TextureLoader loader();

  /// One warning per material of model (read from modelPath) whose texture did
  /// not load: "COMMAND: warning: texture NAME not found or not loaded beside
  /// MODEL (looked for PATH: WHY); CONSEQUENCE".
  void warn(const std::string& command, const std::string& modelPath, const SkinnedModel& model,
            const std::string& consequence) const;

 private:
  std::map<std::string, std::string> problems_;
};
}  // namespace posewright
