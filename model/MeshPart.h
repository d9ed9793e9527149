// The mesh half shared by the model and a freshly loaded mesh: the mesh as
// loaded with its materials, textures, subsets and adjacency, and the folder
// its texture names resolve against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/TextureImage.h"
#include "mesh/Material.h"
#include "mesh/SourceMesh.h"

namespace posewright {

struct MeshPart {
  /// The mesh as loaded, its faces stably sorted by material; the model
  /// releases (empties) it when it binds the mesh.
  SourceMesh sourceMesh;
  /// Materials as loaded (the .skm writer writes these).
  std::vector<D3DXMATERIAL> materialList;
  /// Three neighbouring faces per face (0xFFFFFFFF for none), for the faces as
  /// sorted by material (the order of the mesh's faces), not the file's order.
  std::vector<uint32_t> adjacency;
  /// Drawing copies of the materials: Ambient r, g, b forced to 0.5, ambient
  /// alpha kept.
  std::vector<D3DMATERIAL8> materials;
  /// Subsets, one per material in use.
  std::vector<D3DXATTRIBUTERANGE> attributeTable;
  /// One decoded texture per material; null when the material has none or its
  /// file is missing or undecodable. Materials naming the same file share one
  /// image.
  std::vector<SharedTexture> textures;
  /// Folder of the file the mesh came from; texture names resolve against it.
  std::string meshFolder;
};
}  // namespace posewright
