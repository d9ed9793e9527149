// Binary .x ("xof 0303bin 0032") of a generated mesh, with the same data
// objects as the text form. Tokens are 16-bit little-endian codes; numbers go
// into INTEGER_LIST and FLOAT_LIST tokens (32-bit floats) that run across
// structure boundaries the way common exporters write them: the counts, the
// coordinates and the face arrays of a Mesh are each one list.
#pragma once

#include <string>

#include "tools/gen/GenMesh.h"

/// Binary token codes.
enum XBinaryToken : uint16_t {
  kXTokenName = 1,
  kXTokenString = 2,
  kXTokenInteger = 3,
  kXTokenGuid = 5,
  kXTokenIntegerList = 6,
  kXTokenFloatList = 7,
  kXTokenOpenBrace = 10,
  kXTokenCloseBrace = 11,
  kXTokenComma = 19,
  kXTokenSemicolon = 20,
};

/// The file bytes.
std::string FormatMeshXBinary(const GenMesh& mesh);
