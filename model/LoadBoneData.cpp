#include "model/LoadBoneData.h"

#include <utility>

#include "model/MeshLoader.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

Status LoadBoneData(SkinnedModel& model, const std::string& path) {
  const bool hasMesh = !model.sourceMesh.vertices.empty() || !model.skinnedMesh.vertices.empty();
  if (!model.meshLoaded || !hasMesh) {
    return Status::Error(kNoMeshLoaded, "load a .x mesh before its bone data (" + path + ")");
  }
  BoneDataResult result = ReadBoneData(path);
  if (!result.status) {
    return result.status;
  }
  BindMesh(model);
  model.skeleton = std::move(result.skeleton);
  return Status::Ok();
}
}  // namespace posewright
