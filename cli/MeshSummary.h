// The parts of `posewright-cli info` that describe a loaded mesh, whatever
// file it came from: materials, attribute ranges and textures.
#pragma once

#include "cli/JsonWriter.h"
#include "model/LoadedMesh.h"

namespace posewright {

/// "materials", "materialList", "attributes" and "textures" members.
void WriteMeshMaterialsJson(JsonWriter& j, const LoadedMesh& mesh);

/// The "materials" and "attributes" lines with one line per material and range.
void PrintMeshMaterials(const LoadedMesh& mesh);
}  // namespace posewright
