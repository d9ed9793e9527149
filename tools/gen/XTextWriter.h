// Text .x ("xof 0303txt 0032") of a generated mesh: one Frame with an identity
// FrameTransformMatrix holding one Mesh with MeshNormals (same faces as the
// positions), MeshTextureCoords and a MeshMaterialList with inline Materials.
#pragma once

#include <string>

#include "tools/gen/GenMesh.h"

namespace posewright {

/// The file text, with CR LF line ends. Numbers are printed with "%.6f".
std::string FormatMeshXText(const GenMesh& mesh);
}  // namespace posewright
