// The editor's one mesh from the meshes of an Assimp scene: every mesh of
// every node, its vertices moved by the node's transform and those above it
// (mirroring transforms turn the winding round), merged in node order. A mesh
// without normals gets smooth ones: at each position the area-weighted mean
// of the normals of the faces around it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fileio/Status.h"
#include "image/TextureImage.h"
#include "math/Matrix.h"
#include "mesh/Material.h"
#include "mesh/SourceMesh.h"

struct aiNode;
struct aiScene;

namespace posewright {

/// One use of a scene mesh by a node.
struct SceneMeshInstance {
  /// Index into aiScene::mMeshes.
  uint32_t mesh = 0;
  const aiNode* node = nullptr;
  /// The node's transform composed with those above it and the unit scale
  /// (row vectors).
  D3DXMATRIX world;
  /// Merged number of the mesh's vertex 0; its vertex k is firstVertex + k.
  uint32_t firstVertex = 0;
};

struct SceneMesh {
  /// The merged mesh, faces in node order.
  SourceMesh mesh;
  /// One material per scene material that a merged mesh uses, in scene order.
  std::vector<D3DXMATERIAL> materials;
  /// Per material: its texture when the file embeds it (decoded), else nothing.
  std::vector<std::optional<TextureImage>> embeddedTextures;
  std::vector<SceneMeshInstance> instances;
  /// Faces left out because they have fewer than three distinct corners
  /// (points, lines, triangles with two equal corner positions).
  std::size_t droppedFaces = 0;
};

/// Converts an Assimp transform (column vectors) to the editor's row-vector form.
D3DXMATRIX FromAssimpMatrix(const float* rowMajorColumnVectorMatrix);

/// Builds the merged mesh. Refused (message naming fileName) when no face is
/// left, or when the vertices or the faces number more than 65,535 (the
/// message gives both counts and the limit).
Status BuildSceneMesh(const aiScene& scene, float unitScale, const std::string& fileName, SceneMesh& out);
}  // namespace posewright
