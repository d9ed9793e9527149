// Writing a generated test model to a folder: NAME.x (text or binary),
// NAME.dat, NAME.prm and NAME.anm.
#pragma once

#include <string>

#include "fileio/Status.h"
#include "tools/gen/ModelOptions.h"
#include "tools/gen/ParamModel.h"

namespace posewright {

/// Paths of the files written.
struct ModelFiles {
  std::string x;
  std::string boneData;
  std::string blendingParameters;
  std::string animation;
};

/// Writes the model's four files into folder (created when missing), each
/// through an atomic write, with the options' format and line ends.
Status WriteModelFiles(const GeneratedModel& model, const ModelOptions& options, const std::string& folder,
                       ModelFiles* files = nullptr);

/// Validates the options, builds the model and writes its files; the model
/// and the paths are handed back when asked for.
Status GenerateModelFiles(const ModelOptions& options, const std::string& folder,
                          GeneratedModel* model = nullptr, ModelFiles* files = nullptr);
}  // namespace posewright
