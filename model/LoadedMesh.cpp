#include "model/LoadedMesh.h"

#include <map>

#include "fileio/FileBytes.h"
#include "mesh/AttributeSort.h"
#include "mesh/MeshAdjacency.h"
#include "image/TextureLoader.h"

Status PrepareLoadedMesh(const XFileDocument& doc, const std::string& path, LoadedMesh& out,
                         TextureLoading textures) {
  XBuiltMesh built;
  if (Status s = BuildMeshFromXFile(doc, FileNameOf(path), built); !s) {
    return s;
  }
  out = LoadedMesh{};
  out.sourceMesh = std::move(built.mesh);
  out.materialList = std::move(built.materials);
  out.origins = std::move(built.origins);
  out.folder = FolderOf(path);

  SortFacesByAttribute(out.sourceMesh.indices, out.sourceMesh.faceAttributes);
  out.attributeTable = BuildAttributeTable(out.sourceMesh.indices, out.sourceMesh.faceAttributes);
  std::vector<D3DXVECTOR3> positions(out.sourceMesh.vertices.size());
  for (std::size_t v = 0; v < positions.size(); ++v) {
    positions[v] = out.sourceMesh.vertices[v].position;
  }
  out.adjacency = ComputeAdjacency(positions, out.sourceMesh.indices);

  std::map<std::string, std::optional<TextureImage>> decoded;  // each file is decoded once
  for (const D3DXMATERIAL& m : out.materialList) {
    D3DMATERIAL8 copy = m.MatD3D;
    copy.Ambient.r = copy.Ambient.g = copy.Ambient.b = 0.5f;
    out.materials.push_back(copy);
    if (m.textureFilename.empty() || textures == TextureLoading::Skip) {
      out.textures.emplace_back();
      continue;
    }
    const std::string file = ResolveRelative(out.folder, m.textureFilename);
    auto found = decoded.find(file);
    if (found == decoded.end()) {
      found = decoded.emplace(file, LoadTextureImage(file)).first;
    }
    out.textures.push_back(found->second);
  }
  return Status::Ok();
}

void InstallLoadedMesh(SkinnedModel& model, LoadedMesh&& mesh) {
  model.textureNames.clear();
  for (const D3DXMATERIAL& m : mesh.materialList) {
    model.textureNames.push_back(m.textureFilename);
  }
  model.sourceMesh = std::move(mesh.sourceMesh);
  model.materialList = std::move(mesh.materialList);
  model.materials = std::move(mesh.materials);
  model.adjacency = std::move(mesh.adjacency);
  model.attributeTable = std::move(mesh.attributeTable);
  model.textures = std::move(mesh.textures);
  model.meshFolder = std::move(mesh.folder);
  model.skinnedMesh = SkinnedMesh{};
  model.pointVertices.clear();
  model.selection.reset(0);
  model.meshLoaded = true;
}
