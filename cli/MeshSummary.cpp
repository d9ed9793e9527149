#include "cli/MeshSummary.h"

#include <cstdio>

namespace posewright {

namespace {
void Colour(JsonWriter& j, const char* name, const D3DCOLORVALUE& c) {
  j.key(name).beginArray().value(c.r).value(c.g).value(c.b).value(c.a).endArray();
}
}  // namespace

void WriteMeshMaterialsJson(JsonWriter& j, const LoadedMesh& mesh) {
  j.key("materials").value(mesh.materialList.size());
  j.key("materialList").beginArray();
  for (const D3DXMATERIAL& m : mesh.materialList) {
    j.beginObject();
    Colour(j, "diffuse", m.MatD3D.Diffuse);
    Colour(j, "ambient", m.MatD3D.Ambient);
    Colour(j, "specular", m.MatD3D.Specular);
    Colour(j, "emissive", m.MatD3D.Emissive);
    j.key("power").value(m.MatD3D.Power);
    j.key("texture").value(m.textureFilename);
    j.endObject();
  }
  j.endArray();
  j.key("attributes").beginArray();
  for (const D3DXATTRIBUTERANGE& r : mesh.attributeTable) {
    j.beginObject();
    j.key("attribId")
        .value(r.AttribId)
        .key("faceStart")
        .value(r.FaceStart)
        .key("faceCount")
        .value(r.FaceCount);
    j.key("vertexStart").value(r.VertexStart).key("vertexCount").value(r.VertexCount);
    j.endObject();
  }
  j.endArray();
  j.key("textures").beginArray();
  for (std::size_t i = 0; i < mesh.materialList.size(); ++i) {
    const auto& t = mesh.textures[i];
    j.beginObject().key("name").value(mesh.materialList[i].textureFilename).key("loaded").value(t != nullptr);
    if (t) {
      j.key("width").value(t->width).key("height").value(t->height);
    }
    j.endObject();
  }
  j.endArray();
}

void PrintMeshMaterials(const LoadedMesh& mesh) {
  std::printf("  materials   %zu\n", mesh.materialList.size());
  for (std::size_t i = 0; i < mesh.materialList.size(); ++i) {
    const D3DMATERIAL8& m = mesh.materialList[i].MatD3D;
    std::printf("    %zu: diffuse %.3f %.3f %.3f %.3f, power %.3f", i, static_cast<double>(m.Diffuse.r),
                static_cast<double>(m.Diffuse.g), static_cast<double>(m.Diffuse.b),
                static_cast<double>(m.Diffuse.a), static_cast<double>(m.Power));
    const std::string& name = mesh.materialList[i].textureFilename;
    if (!name.empty()) {
      const auto& t = mesh.textures[i];
      if (t) {
        std::printf(", texture \"%s\" (%d x %d)", name.c_str(), t->width, t->height);
      } else {
        std::printf(", texture \"%s\" (not loaded)", name.c_str());
      }
    }
    std::printf("\n");
  }
  std::printf("  attributes  %zu\n", mesh.attributeTable.size());
  for (const D3DXATTRIBUTERANGE& r : mesh.attributeTable) {
    std::printf("    material %u: faces %u..%u, vertices %u..%u\n", r.AttribId, r.FaceStart,
                r.FaceStart + r.FaceCount - 1, r.VertexStart, r.VertexStart + r.VertexCount - 1);
  }
}
}  // namespace posewright
