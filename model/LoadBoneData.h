// Giving the loaded mesh a skeleton from a bone data file.
#pragma once

#include <string>

#include "fileio/Status.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// The message for a bone data load without a mesh to bind it to.
inline constexpr const char* kNoMeshLoaded = "Mesh has not been loaded yet.";

/// Reads the bone data file at path and makes it the model's skeleton.
///
/// Refused with kNoMeshLoaded when the model has no mesh, and with "File Format
/// Error" (detail: file, line, reason) when the file cannot be read or parsed;
/// a refused load leaves the model exactly as it was (in particular a freshly
/// loaded mesh stays unbound). On success the mesh is bound (BindMesh:
/// converted to skinned vertices if it was not yet, point copy refreshed,
/// nothing selected) and the skeleton replaced, with bonesLoaded set. The
/// weights are not computed here; the caller runs ComputeBlendWeights next
/// (and refills the bone list, FillBoneTree).
Status LoadBoneData(SkinnedModel& model, const std::string& path);
}  // namespace posewright
