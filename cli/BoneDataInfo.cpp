// `posewright-cli info` for bone data files (.dat): the bones as a tree with
// their rest points and the size of every anchor.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "fileio/FileBytes.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace {
void Point(JsonWriter& j, const char* name, const D3DXVECTOR3& v) {
  j.key(name).beginArray().value(v.x).value(v.y).value(v.z).endArray();
}

void PrintJson(const std::string& path, const Skeleton& s) {
  JsonWriter j;
  j.beginObject().key("file").value(path).key("bones").value(s.boneCount());
  j.key("boneList").beginArray();
  for (int32_t i = 0; i < s.boneCount(); ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const Bone& b = s.bones[k];
    j.beginObject().key("index").value(i).key("name").value(b.name).key("parent").value(b.parentId);
    Point(j, "begin", b.begin);
    Point(j, "end", b.end);
    j.key("anchorVertices")
        .value(s.anchors[k].vertexCount())
        .key("anchorFaces")
        .value(s.anchors[k].faceCount());
    j.endObject();
  }
  j.endArray().endObject();
  std::printf("%s\n", j.text().c_str());
}

void PrintText(const std::string& path, const Skeleton& s) {
  std::printf("%s: bone data, %d bones\n", path.c_str(), s.boneCount());
  for (int32_t i = 0; i < s.boneCount(); ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const Bone& b = s.bones[k];
    int depth = 0;
    for (int32_t p = i; p != 0; p = s.bones[static_cast<std::size_t>(p)].parentId) ++depth;
    std::printf("  %*s%d %s: %.4f %.4f %.4f -> %.4f %.4f %.4f", 2 * depth, "", i, b.name.c_str(),
                static_cast<double>(b.begin.x), static_cast<double>(b.begin.y),
                static_cast<double>(b.begin.z), static_cast<double>(b.end.x), static_cast<double>(b.end.y),
                static_cast<double>(b.end.z));
    if (i > 0) {
      std::printf(", anchor %d vertices %d faces", s.anchors[k].vertexCount(), s.anchors[k].faceCount());
    }
    std::printf("\n");
  }
}

int DescribeBoneData(const std::string& path, bool json) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxBoneDataFileBytes, &why);
  const BoneDataResult r =
      bytes ? ParseBoneData(*bytes, FileNameOf(path))
            : BoneDataResult{
                  Status::Error(kBoneDataFormatError, path + ": the file cannot be read (" + why + ")"),
                  Skeleton{}};
  if (!r.status) {
    std::fprintf(stderr, "posewright-cli info: %s\n", r.status.describe().c_str());
    return 1;
  }
  if (json) {
    PrintJson(path, r.skeleton);
  } else {
    PrintText(path, r.skeleton);
  }
  return 0;
}

const InfoFormatRegistration kBoneData(InfoFormat{".dat", DescribeBoneData});
}  // namespace
}  // namespace posewright
