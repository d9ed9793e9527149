// Loading a .x mesh into the model and binding it for skinning.
#pragma once

#include <string>

#include "fileio/Status.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// Reads the .x file at path (any encoding) and replaces the model's mesh
/// half: the source mesh (all meshes of the file merged, faces sorted by
/// material), the material list, the drawing copies (ambient 0.5), textures
/// (a missing or undecodable image leaves an empty texture and the load goes
/// on), the attribute table and the adjacency; sets mesh loaded. Any previous
/// bound mesh, point buffer and selection are released. On failure the model
/// is left exactly as it was and the status names the file and the line or
/// byte where reading stopped.
Status LoadMesh(SkinnedModel& model, const std::string& path);

/// Converts the source mesh to SkinVertex records (weights and bone indices
/// zero, point size 10) in the skinned mesh and releases the source mesh;
/// copies all vertices into the point vertex buffer; resets the selection to
/// n vertices, none selected (point list n−1 … 0, unselected count n). A model
/// that is already bound (no source mesh) is bound again from its skinned
/// mesh, keeping the vertices. Returns false, changing nothing, when there is
/// no mesh at all.
bool BindMesh(SkinnedModel& model);
}  // namespace posewright
