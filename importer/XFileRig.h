// The skeleton and skin weights of a skinned .x file, read by the editor's own
// .x reader: joints are the frames that SkinWeights objects name and every
// frame between two of them; a bone's bind-pose frame is the inverse of its
// offset matrix times the world transform of the mesh's frame.
#pragma once

#include <vector>

#include "importer/ImportedRig.h"
#include "xfile/XFileDocument.h"
#include "xfile/XFileMeshBuilder.h"

namespace posewright {

/// The rig of doc, vertices numbered as the built mesh numbers them (origins
/// from XBuiltMesh). Empty when no SkinWeights names a frame of the file.
ImportedRig ExtractXFileRig(const XFileDocument& doc, const std::vector<XVertexOrigin>& origins);
}  // namespace posewright
