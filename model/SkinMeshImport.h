// Import of a .x file that already carries skin weights (XSkinMeshHeader and
// SkinWeights objects), as the "Direct3D SkinnedMesh (*.x)" choice of Open
// SkinnedMesh does it.
#pragma once

#include <string>

#include "fileio/Status.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// Reads the skinned .x file at path and leaves the model bound and weighted:
/// the mesh half is built exactly as LoadMesh builds it (every mesh of the
/// file, wherever it sits in the frame hierarchy), then bound as BindMesh
/// binds it, and every vertex gets up to four influences from the file's
/// SkinWeights (the strongest, normalised; bone numbers as SkinInfluences.h
/// describes: the k-th distinct SkinWeights name is bone k + 1). The same
/// influences are in the point vertex buffer; nothing is selected; mesh loaded
/// is set.
///
/// The skeleton is kept when its bones 1 … n−1 carry exactly the file's
/// SkinWeights names in that order (the file was exported from it), so the
/// imported weights drive it at once; otherwise it is released (bones loaded
/// false), because the file's bone numbers would not refer to its bones.
///
/// Refused, leaving the model exactly as it was, when the file cannot be read
/// (as LoadMesh), holds no SkinWeights object, or names more than 255 bones.
Status LoadMeshFromXof(SkinnedModel& model, const std::string& path);
}  // namespace posewright
