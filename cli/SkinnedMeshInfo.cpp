// `posewright-cli info` for SkinnedMesh files (.skm): the mesh, its materials
// and attribute table, the bone hierarchy and how many vertices no bone holds.
#include <algorithm>
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace {
std::size_t VerticesWithoutBones(const SkinnedModel& model) {
  return static_cast<std::size_t>(std::count_if(model.skinnedMesh.vertices.begin(),
                                                model.skinnedMesh.vertices.end(),
                                                [](const SkinVertex& v) { return v.boneIndices == 0; }));
}

int Depth(const Skeleton& s, std::size_t b) {
  int depth = 0;
  for (std::size_t i = b; i != 0; i = static_cast<std::size_t>(s.bones[i].parentId)) ++depth;
  return depth;
}

void PrintJson(const std::string& path, const SkinnedModel& m) {
  JsonWriter j;
  j.beginObject();
  j.key("file").value(path);
  j.key("vertices").value(m.vertexCount());
  j.key("faces").value(m.skinnedMesh.faceCount());
  j.key("verticesWithoutBones").value(VerticesWithoutBones(m));
  j.key("materials").beginArray();
  for (std::size_t i = 0; i < m.materialList.size(); ++i) {
    const D3DXMATERIAL& x = m.materialList[i];
    j.beginObject().key("diffuse").beginArray();
    j.value(x.MatD3D.Diffuse.r).value(x.MatD3D.Diffuse.g).value(x.MatD3D.Diffuse.b).value(x.MatD3D.Diffuse.a);
    j.endArray().key("power").value(x.MatD3D.Power).key("texture").value(x.textureFilename);
    j.key("textureLoaded").value(m.textures[i] != nullptr).endObject();
  }
  j.endArray();
  j.key("attributes").beginArray();
  for (const D3DXATTRIBUTERANGE& r : m.attributeTable) {
    j.beginObject().key("attribId").value(r.AttribId).key("faceStart").value(r.FaceStart);
    j.key("faceCount").value(r.FaceCount).key("vertexStart").value(r.VertexStart);
    j.key("vertexCount").value(r.VertexCount).endObject();
  }
  j.endArray();
  j.key("bones").beginArray();
  for (const Bone& b : m.skeleton.bones) {
    j.beginObject().key("name").value(b.name).key("parent").value(b.parentId);
    j.key("partner").value(b.symmetricId).endObject();
  }
  j.endArray();
  j.endObject();
  std::printf("%s\n", j.text().c_str());
}

void PrintText(const std::string& path, const SkinnedModel& m) {
  std::printf("%s: SkinnedMesh\n", path.c_str());
  std::printf("  vertices    %zu (%zu without bones)\n", m.vertexCount(), VerticesWithoutBones(m));
  std::printf("  faces       %zu\n", m.skinnedMesh.faceCount());
  std::printf("  materials   %zu\n", m.materialList.size());
  for (std::size_t i = 0; i < m.materialList.size(); ++i) {
    const D3DMATERIAL8& x = m.materialList[i].MatD3D;
    std::printf("    %zu: diffuse %.3f %.3f %.3f %.3f, power %.3f", i, static_cast<double>(x.Diffuse.r),
                static_cast<double>(x.Diffuse.g), static_cast<double>(x.Diffuse.b),
                static_cast<double>(x.Diffuse.a), static_cast<double>(x.Power));
    const std::string& name = m.materialList[i].textureFilename;
    if (!name.empty()) {
      std::printf(", texture \"%s\" (%s)", name.c_str(), m.textures[i] ? "loaded" : "not loaded");
    }
    std::printf("\n");
  }
  std::printf("  attributes  %zu\n", m.attributeTable.size());
  for (const D3DXATTRIBUTERANGE& r : m.attributeTable) {
    std::printf("    material %u: %u faces from %u, %u vertices from %u\n", r.AttribId, r.FaceCount,
                r.FaceStart, r.VertexCount, r.VertexStart);
  }
  const Skeleton& s = m.skeleton;
  std::printf("  bones       %d\n", s.boneCount());
  for (std::size_t b = 0; b < s.bones.size(); ++b) {
    std::printf("    %*s%s (%zu), partner %d\n", 2 * Depth(s, b), "", s.bones[b].name.c_str(), b,
                s.bones[b].symmetricId);
  }
}

int DescribeSkinnedMesh(const std::string& path, bool json) {
  SkinnedModel model;
  if (Status s = ReadSkinnedMesh(model, path); !s) {
    std::fprintf(stderr, "posewright-cli info: %s\n", s.describe().c_str());
    return 1;
  }
  json ? PrintJson(path, model) : PrintText(path, model);
  return 0;
}

const InfoFormatRegistration kSkinnedMesh(InfoFormat{".skm", DescribeSkinnedMesh});
}  // namespace
}  // namespace posewright
