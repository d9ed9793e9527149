// Builds the editor's one mesh from the meshes of a .x file.
//
// Per mesh, in file order:
// - Normals: where MeshNormals gives one vertex different normals (compared by
//   value), the vertex keeps the first normal met and every other normal gets a
//   copy of the vertex, appended after all of the mesh's own vertices in the
//   order the (vertex, normal) pairs are first met, face by face and corner by
//   corner. Copies carry the vertex's texture coordinates. Without MeshNormals
//   every normal is zero.
// - Faces: a polygon c0 … cn−1 becomes the fan (c0, c1, c2), (c0, c2, c3), …
// - Position and normal are transformed by the frame transforms above the mesh
//   (the innermost frame's first, as Direct3D composes them).
// - Materials: the mesh's MeshMaterialList, its face indices offset by the
//   number of materials of the meshes before it; a list with fewer indices than
//   faces repeats its last index; a mesh without materials gets one default
//   grey material.
// All meshes are merged into one: vertices and faces appended in mesh order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/Status.h"
#include "mesh/Material.h"
#include "mesh/SourceMesh.h"
#include "xfile/XFileDocument.h"

namespace posewright {

/// Where a built vertex came from: a mesh of the document and a vertex in that
/// mesh's own numbering (for copies made by normal splits, the copied vertex).
struct XVertexOrigin {
  uint32_t mesh = 0;
  uint32_t vertex = 0;
};

struct XBuiltMesh {
  /// The merged mesh, faces in file order.
  SourceMesh mesh;
  /// The loaded material list (ambient 0, 0, 0, 1; specular and emissive alpha 1).
  std::vector<D3DXMATERIAL> materials;
  /// One entry per vertex of mesh.
  std::vector<XVertexOrigin> origins;
};

/// The material a mesh without a material list gets: diffuse grey 0.5 with
/// alpha 1, black ambient, specular and emissive (alpha 1), power 0.
D3DXMATERIAL DefaultXMaterial();

/// Each frame's transform composed with those of all frames above it.
std::vector<D3DXMATRIX> FrameWorldMatrices(const XFileDocument& doc);

/// Builds the merged mesh. Fails (message naming fileName) when the document
/// has no mesh, no face, or more than 65,535 vertices (after normal splits) or
/// faces (after fans) in all.
Status BuildMeshFromXFile(const XFileDocument& doc, const std::string& fileName, XBuiltMesh& out);
}  // namespace posewright
