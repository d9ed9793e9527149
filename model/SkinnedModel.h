// The editor's model: the mesh (as loaded and as bound), its materials and
// textures, the skeleton with its blending parameters, and the vertex selection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skeleton/Skeleton.h"
#include "mesh/Material.h"
#include "mesh/SkinnedMesh.h"
#include "mesh/SourceMesh.h"
#include "image/TextureImage.h"
#include "mesh/VertexSelection.h"

struct SkinnedModel {
  /// The bound mesh; empty until bound.
  SkinnedMesh skinnedMesh;
  /// The mesh as loaded; released (emptied) when bound.
  SourceMesh sourceMesh;
  /// Materials as loaded (the .skm writer writes these).
  std::vector<D3DXMATERIAL> materialList;
  /// Three neighbouring faces per face (0xFFFFFFFF for none), for the faces as
  /// sorted by material (the order of the mesh's faces), not the file's order.
  std::vector<uint32_t> adjacency;
  /// Drawing copies of the materials: Ambient r, g, b forced to 0.5.
  std::vector<D3DMATERIAL8> materials;
  /// Subsets, one per material in use.
  std::vector<D3DXATTRIBUTERANGE> attributeTable;
  /// One decoded texture per material; null when it has none or it failed to
  /// load. Materials naming the same file share one image.
  std::vector<SharedTexture> textures;
  /// A copy of all vertices, drawn as points.
  std::vector<SkinVertex> pointVertices;
  /// Texture file names read from a .skm file, one per material.
  std::vector<std::string> textureNames;
  /// Folder of the file the mesh came from; texture names resolve against it.
  std::string meshFolder;

  Skeleton skeleton;
  VertexSelection selection;

  bool meshLoaded = false;

  bool bonesLoaded() const { return skeleton.bonesLoaded; }
  uint32_t materialCount() const { return static_cast<uint32_t>(materialList.size()); }
  std::size_t vertexCount() const { return skinnedMesh.vertices.size(); }
};
