#include "model/LoadedMesh.h"

#include "fileio/FileBytes.h"
#include "image/TextureCache.h"
#include "mesh/AttributeSort.h"
#include "mesh/MeshAdjacency.h"

namespace posewright {

Status PrepareLoadedMesh(const XFileDocument& doc, const std::string& path, LoadedMesh& out,
                         TextureLoading textures, const TextureLoader& loadTexture) {
  XBuiltMesh built;
  if (Status s = BuildMeshFromXFile(doc, FileNameOf(path), built); !s) {
    return s;
  }
  out = LoadedMesh{};
  out.origins = std::move(built.origins);
  ArrangeLoadedMesh(std::move(built.mesh), std::move(built.materials), FolderOf(path), out, textures,
                    loadTexture);
  return Status::Ok();
}

void ArrangeLoadedMesh(SourceMesh&& mesh, std::vector<D3DXMATERIAL>&& materials, const std::string& folder,
                       LoadedMesh& out, TextureLoading textures, const TextureLoader& loadTexture) {
  out.sourceMesh = std::move(mesh);
  out.materialList = std::move(materials);
  out.meshFolder = folder;

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
        m.textureFilename.empty() ? nullptr : cache.get(ResolveRelative(out.meshFolder, m.textureFilename)));
  }
}

void InstallLoadedMesh(SkinnedModel& model, LoadedMesh&& mesh) {
  model.textureNames.clear();
  for (const D3DXMATERIAL& m : mesh.materialList) {
    model.textureNames.push_back(m.textureFilename);
  }
  static_cast<MeshPart&>(model) = std::move(static_cast<MeshPart&>(mesh));
  model.skinnedMesh = SkinnedMesh{};
  model.pointVertices.clear();
  model.selection.reset(0);
  model.meshLoaded = true;
}
}  // namespace posewright
