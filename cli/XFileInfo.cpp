// `posewright-cli info` for .x files: the mesh as the editor would load it
// (vertex and face counts after splits and fans, materials, attribute table,
// textures), the frame hierarchy and the skin's bones.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "model/LoadedMesh.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileParser.h"

namespace {
const char* EncodingName(XFileEncoding e) {
  switch (e) {
    case XFileEncoding::Text:
      return "text";
    case XFileEncoding::Binary:
      return "binary";
    case XFileEncoding::CompressedText:
      return "compressed text";
    case XFileEncoding::CompressedBinary:
      return "compressed binary";
  }
  return "";
}

void Colour(JsonWriter& j, const char* name, const D3DCOLORVALUE& c) {
  j.key(name).beginArray().value(c.r).value(c.g).value(c.b).value(c.a).endArray();
}

void PrintJson(const std::string& path, const XFileDocument& doc, const LoadedMesh& mesh) {
  JsonWriter j;
  j.beginObject();
  j.key("file").value(path);
  j.key("encoding").value(EncodingName(doc.encoding));
  j.key("floatBits").value(doc.floatBits);
  j.key("vertices").value(mesh.sourceMesh.vertices.size());
  j.key("faces").value(mesh.sourceMesh.faceCount());
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
    j.key("attribId").value(r.AttribId).key("faceStart").value(r.FaceStart).key("faceCount").value(r.FaceCount);
    j.key("vertexStart").value(r.VertexStart).key("vertexCount").value(r.VertexCount);
    j.endObject();
  }
  j.endArray();
  j.key("textures").beginArray();
  for (std::size_t i = 0; i < mesh.materialList.size(); ++i) {
    const auto& t = mesh.textures[i];
    j.beginObject().key("name").value(mesh.materialList[i].textureFilename).key("loaded").value(t.has_value());
    if (t) {
      j.key("width").value(t->width).key("height").value(t->height);
    }
    j.endObject();
  }
  j.endArray();
  j.key("frames").beginArray();
  for (const XFrame& f : doc.frames) {
    j.beginObject().key("name").value(f.name).key("parent").value(f.parent).endObject();
  }
  j.endArray();
  j.key("skinBones").beginArray();
  for (const std::string& name : SkinBoneNames(doc)) {
    j.value(name);
  }
  j.endArray();
  j.key("animationSets").value(doc.animationSets.size());
  j.endObject();
  std::printf("%s\n", j.text().c_str());
}

void PrintText(const std::string& path, const XFileDocument& doc, const LoadedMesh& mesh) {
  std::printf("%s: %s .x, %d-bit floats\n", path.c_str(), EncodingName(doc.encoding), doc.floatBits);
  std::printf("  vertices    %zu\n", mesh.sourceMesh.vertices.size());
  std::printf("  faces       %zu\n", mesh.sourceMesh.faceCount());
  std::printf("  materials   %zu\n", mesh.materialList.size());
  for (std::size_t i = 0; i < mesh.materialList.size(); ++i) {
    const D3DMATERIAL8& m = mesh.materialList[i].MatD3D;
    std::printf("    %zu: diffuse %.3f %.3f %.3f %.3f, power %.3f", i, static_cast<double>(m.Diffuse.r),
                static_cast<double>(m.Diffuse.g), static_cast<double>(m.Diffuse.b), static_cast<double>(m.Diffuse.a),
                static_cast<double>(m.Power));
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
  std::printf("  frames      %zu\n", doc.frames.size());
  for (const XFrame& f : doc.frames) {
    int depth = 0;
    for (int32_t p = f.parent; p >= 0; p = doc.frames[static_cast<std::size_t>(p)].parent) {
      ++depth;
    }
    std::printf("    %*s%s\n", 2 * depth, "", f.name.empty() ? "(unnamed)" : f.name.c_str());
  }
  const std::vector<std::string> bones = SkinBoneNames(doc);
  std::printf("  skin bones  %zu\n", bones.size());
  for (std::size_t k = 0; k < bones.size(); ++k) {
    std::printf("    %zu: %s\n", k + 1, bones[k].c_str());
  }
}

int DescribeXFile(const std::string& path, bool json) {
  XFileDocument doc;
  LoadedMesh mesh;
  Status s = ReadXFile(path, doc);
  if (s) {
    s = PrepareLoadedMesh(doc, path, mesh);
  }
  if (!s) {
    std::fprintf(stderr, "posewright-cli info: %s\n", s.describe().c_str());
    return 1;
  }
  if (json) {
    PrintJson(path, doc, mesh);
  } else {
    PrintText(path, doc, mesh);
  }
  return 0;
}

const InfoFormatRegistration kXFile(InfoFormat{".x", DescribeXFile});
}  // namespace
