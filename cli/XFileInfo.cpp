// `posewright-cli info` for .x files: the mesh as the editor would load it
// (vertex and face counts after splits and fans, materials, attribute table,
// textures), the frame hierarchy and the skin's bones.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "cli/MeshSummary.h"
#include "model/LoadedMesh.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileParser.h"

namespace posewright {

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

void PrintJson(const std::string& path, const XFileDocument& doc, const LoadedMesh& mesh) {
  JsonWriter j;
  j.beginObject();
  j.key("file").value(path);
  j.key("encoding").value(EncodingName(doc.encoding));
  j.key("floatBits").value(doc.floatBits);
  j.key("vertices").value(mesh.sourceMesh.vertices.size());
  j.key("faces").value(mesh.sourceMesh.faceCount());
  WriteMeshMaterialsJson(j, mesh);
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
  PrintMeshMaterials(mesh);
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
}  // namespace posewright
