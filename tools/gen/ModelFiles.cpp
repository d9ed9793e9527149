#include "tools/gen/ModelFiles.h"

#include <filesystem>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "importer/BoneDataWriter.h"
#include "skeleton/BlendingParametersFile.h"
#include "tools/gen/MakeFolder.h"
#include "tools/gen/XBinaryWriter.h"
#include "tools/gen/XTextWriter.h"

namespace posewright {

Status WriteModelFiles(const GeneratedModel& model, const ModelOptions& options, const std::string& folder,
                       ModelFiles* files) {
  if (Status s = MakeFolder(folder); !s) {
    return s;
  }
  const std::string base = (std::filesystem::path(folder) / options.name).string();
  ModelFiles paths{base + ".x", base + ".dat", base + ".prm", base + ".anm"};
  const LineEnd style = options.lineEnd;
  const std::string x =
      options.binary ? FormatMeshXBinary(model.mesh) : WithLineEnds(FormatMeshXText(model.mesh), style);
  const std::pair<const std::string*, std::string> outputs[] = {
      {&paths.x, x},
      {&paths.boneData, WithLineEnds(FormatBoneData(model.skeleton), style)},
      {&paths.blendingParameters, WithLineEnds(FormatBlendingParameters(model.skeleton), style)},
      {&paths.animation, WithLineEnds(FormatAnimationFile(model.animation), style)},
  };
  for (const auto& [path, bytes] : outputs) {
    if (Status s = WriteFileAtomically(*path, bytes); !s) {
      return s;
    }
  }
  if (files != nullptr) {
    *files = paths;
  }
  return Status::Ok();
}

Status GenerateModelFiles(const ModelOptions& options, const std::string& folder, GeneratedModel* model,
                          ModelFiles* files) {
  if (Status s = ValidateModelOptions(options); !s) {
    return s;
  }
  GeneratedModel built = BuildModel(options);
  if (Status s = WriteModelFiles(built, options, folder, files); !s) {
    return s;
  }
  if (model != nullptr) {
    *model = std::move(built);
  }
  return Status::Ok();
}
}  // namespace posewright
