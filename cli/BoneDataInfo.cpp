// `posewright-cli info` for bone data files (.dat): the bone hierarchy with
// every bone's joint, tip and anchor size.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "fileio/FileBytes.h"
#include "skeleton/BoneDataReader.h"

namespace {
void Point(JsonWriter& j, const char* name, const D3DXVECTOR3& p) {
  j.key(name).beginArray().value(p.x).value(p.y).value(p.z).endArray();
}

void PrintJson(const std::string& path, const Skeleton& s) {
  JsonWriter j;
  j.beginObject().key("file").value(path).key("bones").beginArray();
  for (std::size_t b = 0; b < s.bones.size(); ++b) {
    const Bone& bone = s.bones[b];
    j.beginObject().key("name").value(bone.name).key("parent").value(bone.parentId);
    Point(j, "begin", bone.begin);
    Point(j, "end", bone.end);
    j.key("anchorVertices").value(s.anchors[b].vertexCount()).key("anchorFaces").value(s.anchors[b].faceCount());
    j.endObject();
  }
  j.endArray().endObject();
  std::printf("%s\n", j.text().c_str());
}

void PrintText(const std::string& path, const Skeleton& s) {
  std::printf("%s: bone data\n", path.c_str());
  std::printf("  bones  %d\n", s.boneCount());
  for (std::size_t b = 0; b < s.bones.size(); ++b) {
    int depth = 0;
    for (std::size_t i = b; i != 0; i = static_cast<std::size_t>(s.bones[i].parentId)) ++depth;
    const Bone& bone = s.bones[b];
    std::printf("    %*s%s (%zu): %.3f %.3f %.3f -> %.3f %.3f %.3f, anchor %d vertices, %d faces\n", 2 * depth, "",
                bone.name.c_str(), b, static_cast<double>(bone.begin.x), static_cast<double>(bone.begin.y),
                static_cast<double>(bone.begin.z), static_cast<double>(bone.end.x), static_cast<double>(bone.end.y),
                static_cast<double>(bone.end.z), s.anchors[b].vertexCount(), s.anchors[b].faceCount());
  }
}

int DescribeBoneData(const std::string& path, bool json) {
  const std::optional<std::string> text = ReadFileBytes(path);
  BoneDataResult result = ParseBoneData(text ? *text : std::string(), FileNameOf(path));
  if (!text || !result.status) {
    std::fprintf(stderr, "posewright-cli info: %s\n",
                 text ? result.status.describe().c_str() : ("cannot read " + path).c_str());
    return 1;
  }
  json ? PrintJson(path, result.skeleton) : PrintText(path, result.skeleton);
  return 0;
}

const InfoFormatRegistration kBoneData(InfoFormat{".dat", DescribeBoneData});
}  // namespace
