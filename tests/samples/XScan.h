// Reads back the .x files the generators write (text and binary), for tests:
// the file is turned into a flat token stream (names, numbers, strings,
// braces; separators dropped) and the known layout of one Frame with one Mesh
// is read from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

struct ScannedMaterial {
  std::string name;
  /// Face colour RGBA, power, specular RGB, emissive RGB.
  std::array<float, 11> values{};
  std::string texture;
};

struct ScannedXMesh {
  std::string frameName;
  std::string meshName;
  std::array<float, 16> frameMatrix{};
  std::vector<D3DXVECTOR3> positions;
  std::vector<std::vector<uint32_t>> faces;
  std::vector<D3DXVECTOR3> normals;
  std::vector<std::vector<uint32_t>> normalFaces;
  std::vector<std::array<float, 2>> uvs;
  std::vector<uint32_t> faceMaterials;
  std::vector<ScannedMaterial> materials;
};

/// Nothing, with the reason in *error, when the bytes do not hold that layout.
std::optional<ScannedXMesh> ScanXFile(const std::string& bytes, std::string* error);
}  // namespace posewright
