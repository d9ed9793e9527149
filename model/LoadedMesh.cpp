#include "model/LoadedMesh.h"

#include "fileio/FileBytes.h"
#include "mesh/AttributeSort.h"
#include "mesh/MeshAdjacency.h"
#include "image/TextureCache.h"

Status PrepareLoadedMesh(const XFileDocument& doc, const std::string& path, LoadedMesh& out,
                         TextureLoading textures, const TextureLoader& loadTexture) {
  XBuiltMesh built;
  if (Status s = BuildMeshFromXFile(doc, FileNameOf(path), built); !s) {
    return s;
  }
  out = LoadedMesh{};
  out.origins = std::move(built.origins);
  ArrangeLoadedMesh(std::move(built.mesh), std::move(built.materials), FolderOf(path), out, textures, loadTexture);
  return Status::Ok();
}

void ArrangeLoadedMesh(SourceMesh&& mesh, std::vector<D3DXMATERIAL>&& materials, const std::string& folder,
                       LoadedMesh& out, TextureLoading textures, const TextureLoader& loadTexture) {
  out.sourceMesh = std::move(mesh);
  out.materialList = std::move(materials);
  out.folder = folder;

  SortFacesByAttribute(out.sourceMesh.indices, out.sourceMesh.faceAttributes);
  out.attributeTable = BuildAttributeTable(out.sourceMesh.indices, out.sourceMesh.faceAttributes);
  std::vector<D3DXVECTOR3> positions(out.sourceMesh.vertices.size());
  for (std::size_t v = 0; v < positions.size(); ++v) {
    positions[v] = out.sourceMesh.vertices[v].position;
  }
  out.adjacency = ComputeAdjacency(positions, out.sourceMesh.indices);

  TextureCache cache(textures == TextureLoading::Skip ? TextureLoader{} : loadTexture);
  for (const D3DXMATERIAL& m : out.materialList) {
    D3DMATERIAL8 copy = m.MatD3D;
    copy.Ambient.r = copy.Ambient.g = copy.Ambient.b = 0.5f;
    out.materials.push_back(copy);
    out.textures.push_back(
        m.textureFilename.empty() ? nullptr : cache.get(ResolveRelative(out.folder, m.textureFilename)));
  }
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
