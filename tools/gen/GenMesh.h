// A mesh as the generators build it and the .x writers write it: vertices with
// normals and texture coordinates, polygons of three or more corners, one
// material per polygon, and the named materials.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/Material.h"
#include "mesh/SourceMesh.h"

namespace posewright {

/// A material with the name its .x data object carries.
struct NamedMaterial {
  std::string name;
  /// Diffuse (face colour with alpha), Specular, Emissive and Power are written;
  /// the texture file name, when not empty, is written as a TextureFilename.
  D3DXMATERIAL material;
};

struct GenMesh {
  /// Name of the Frame that holds the mesh and of the Mesh data object.
  std::string frameName = "Model";
  std::string meshName = "Mesh";
  /// Positions, smooth normals (one per position: the normal faces equal the
  /// position faces) and texture coordinates.
  std::vector<MeshVertex> vertices;
  /// Corner count of each polygon (3 or more).
  std::vector<uint32_t> polygonSizes;
  /// The corners of all polygons, one after another.
  std::vector<uint32_t> polygonIndices;
  /// Material index of each polygon.
  std::vector<uint32_t> polygonMaterials;
  std::vector<NamedMaterial> materials;

  std::size_t polygonCount() const { return polygonSizes.size(); }
  /// Number of triangles once every polygon is split into a fan.
  std::size_t triangleCount() const;
};
}  // namespace posewright
