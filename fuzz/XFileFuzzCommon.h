// What every .x fuzz target does with a file: parse it and, when it parses,
// build everything the editor builds from it (merged mesh, attribute sort and
// table, adjacency, skin influences, binding), without touching the disk.
#pragma once

#include <cstdlib>
#include <string>

#include "model/LoadedMesh.h"
#include "model/MeshLoader.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileParser.h"

namespace posewright {

/// Parses file and runs the whole load on success; returns whether it parsed.
inline bool LoadXFileForFuzzing(const std::string& file) {
  XFileDocument doc;
  if (!ParseXFile(file, "fuzz.x", doc).ok) {
    return false;
  }
  LoadedMesh mesh;
  if (!PrepareLoadedMesh(doc, "fuzz.x", mesh, TextureLoading::Skip).ok) {
    return true;
  }
  const std::size_t faces = mesh.sourceMesh.faceCount();
  if (mesh.adjacency.size() != 3 * faces || mesh.textures.size() != mesh.materialList.size()) {
    std::abort();
  }
  for (uint16_t v : mesh.sourceMesh.indices) {
    if (v >= mesh.sourceMesh.vertices.size()) std::abort();
  }
  const std::vector<VertexInfluences> influences = SkinBoneNames(doc).size() <= kMaxSkinBones
                                                       ? ComputeVertexInfluences(doc, mesh.origins)
                                                       : std::vector<VertexInfluences>{};
  SkinnedModel model;
  InstallLoadedMesh(model, std::move(mesh));
  if (!BindMesh(model)) {
    std::abort();
  }
  for (std::size_t v = 0; v < influences.size(); ++v) {
    StoreInfluences(influences[v], model.skinnedMesh.vertices[v]);
  }
  return true;
}
}  // namespace posewright
