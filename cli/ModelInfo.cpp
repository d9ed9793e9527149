// `posewright-cli info` for every mesh format read through Assimp (.obj,
// .gltf, .glb, .fbx, .dae, …): the mesh as the editor opens it and, for a
// rigged model, the bones it brings.
#include <cstdio>

#include "cli/InfoFormat.h"
#include "cli/JsonWriter.h"
#include "cli/MeshSummary.h"
#include "fileio/FileBytes.h"
#include "importer/MeshFormats.h"
#include "importer/ModelImport.h"

namespace posewright {

namespace {
void PrintJson(const std::string& path, const ModelFile& file, const RigSkeleton* rig) {
  JsonWriter j;
  j.beginObject().key("file").value(path);
  j.key("vertices").value(file.mesh.sourceMesh.vertices.size());
  j.key("faces").value(file.mesh.sourceMesh.faceCount());
  j.key("droppedFaces").value(file.notes.droppedFaces);
  WriteMeshMaterialsJson(j, file.mesh);
  j.key("bones").beginArray();
  if (rig != nullptr) {
    for (const Bone& b : rig->skeleton.bones) {
      j.beginObject().key("name").value(b.name).key("parent").value(b.parentId).endObject();
    }
  }
  j.endArray();
  j.key("rootAdded").value(rig != nullptr && rig->rootAdded);
  j.endObject();
  std::printf("%s\n", j.text().c_str());
}

void PrintText(const std::string& path, const ModelFile& file, const RigSkeleton* rig) {
  std::printf("%s: %s mesh\n", path.c_str(), LowerExtension(path).c_str() + 1);
  std::printf("  vertices    %zu\n", file.mesh.sourceMesh.vertices.size());
  std::printf("  faces       %zu\n", file.mesh.sourceMesh.faceCount());
  if (file.notes.droppedFaces > 0) {
    std::printf("  left out    %zu faces with fewer than three distinct corners\n", file.notes.droppedFaces);
  }
  PrintMeshMaterials(file.mesh);
  if (rig == nullptr) {
    std::printf("  bones       none\n");
    return;
  }
  const Skeleton& s = rig->skeleton;
  std::printf("  bones       %d%s\n", s.boneCount(), rig->rootAdded ? " (a root bone added)" : "");
  for (int32_t i = 0; i < s.boneCount(); ++i) {
    int depth = 0;
    for (int32_t p = i; p != 0; p = s.bones[static_cast<std::size_t>(p)].parentId) ++depth;
    std::printf("    %*s%d %s\n", 2 * depth, "", i, s.bones[static_cast<std::size_t>(i)].name.c_str());
  }
  std::printf("  weights     %zu vertices with more than four bones, %zu without a bone\n",
              rig->verticesOverFourBones, rig->verticesWithoutWeights);
}

int DescribeModel(const std::string& path, bool json) {
  ModelFile file;
  RigSkeleton rig;
  Status s = ReadModelFile(path, file);
  const bool rigged = s && !file.rig.joints.empty();
  if (rigged) {
    s = BuildRigSkeleton(file.rig, PositionsOf(file.mesh.sourceMesh), FileNameOf(path), rig);
  }
  if (!s) {
    std::fprintf(stderr, "posewright-cli info: %s\n", s.describe().c_str());
    return 1;
  }
  if (json) {
    PrintJson(path, file, rigged ? &rig : nullptr);
  } else {
    PrintText(path, file, rigged ? &rig : nullptr);
  }
  return 0;
}

// One describer per extension Assimp reads; .x keeps its own.
const bool kRegistered = [] {
  for (const std::string& ext : MeshFileExtensions()) {
    if (ext != ".x") InfoFormats().push_back(InfoFormat{ext, DescribeModel});
  }
  return true;
}();
}  // namespace
}  // namespace posewright
