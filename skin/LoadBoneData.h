// Giving the loaded mesh a skeleton from a bone data file.
#pragma once

#include <functional>
#include <string>

#include "fileio/Status.h"
#include "skeleton/BoneTree.h"
#include "skin/SkinnedModel.h"

/// The message for a bone data load without a mesh to bind it to.
inline constexpr const char* kNoMeshLoaded = "Mesh has not been loaded yet.";

/// Binds the model's loaded (not yet bound) mesh for skinning.
using BindMeshStep = std::function<void(SkinnedModel&)>;

/// Reads the bone data file at path and makes it the model's skeleton.
///
/// Refused with kNoMeshLoaded when the model has no mesh (or only an unbound
/// one and no bind step), and with "File Format
/// Error" (detail: file, line, reason) when the file cannot be read or parsed;
/// a refused load leaves the model and tree exactly as they were. On success the
/// mesh is bound first when it has not been bound yet (bind is called with the
/// model; a mesh bound before, e.g. by an earlier bone load, is kept as it is),
/// the tree is refilled and the skeleton replaced, with bonesLoaded set. The
/// weights are not computed here; the caller runs ComputeBlendWeights next.
Status LoadBoneData(SkinnedModel& model, const std::string& path, BoneTree& tree, const BindMeshStep& bind);
