// Binary .x ("xof 0303bin 0032") of a generated mesh, with the same data
// objects as the text form. Tokens are 16-bit little-endian codes; numbers go
// into INTEGER_LIST and FLOAT_LIST tokens (32-bit floats) that run across
// structure boundaries the way common exporters write them: the counts, the
// coordinates and the face arrays of a Mesh are each one list.
#pragma once

#include <string>

#include "tools/gen/GenMesh.h"

namespace posewright {

/// The file bytes.
std::string FormatMeshXBinary(const GenMesh& mesh);
}  // namespace posewright
