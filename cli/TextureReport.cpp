#include "cli/TextureReport.h"

#include <cstdio>

#include "fileio/FileBytes.h"

namespace posewright {

TextureLoader TextureReport::loader() {
  return [this](const std::string& path, std::string* why) {
    std::string problem;
    SharedTexture image = LoadTextureImage(path, &problem);
    if (!image) problems_[path] = problem;
    if (why != nullptr) *why = problem;
    return image;
  };
}

void TextureReport::warn(const std::string& command, const std::string& modelPath, const SkinnedModel& model,
                         const std::string& consequence) const {
  for (std::size_t i = 0; i < model.materialList.size() && i < model.textures.size(); ++i) {
    const std::string& name = model.materialList[i].textureFilename;
    if (name.empty() || model.textures[i]) continue;
    const std::string looked = ResolveRelative(model.meshFolder, name);
    const auto problem = problems_.find(looked);
    std::fprintf(
        stderr,
        "posewright-cli %s: warning: texture %s not found or not loaded beside %s (looked for %s: %s); %s\n",
        command.c_str(), name.c_str(), modelPath.c_str(), looked.c_str(),
        problem == problems_.end() ? "not read" : problem->second.c_str(), consequence.c_str());
  }
}
}  // namespace posewright
