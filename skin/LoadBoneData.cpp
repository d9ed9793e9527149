#include "skin/LoadBoneData.h"

#include <utility>

#include "skeleton/BoneDataReader.h"

namespace {
bool HasUnboundMesh(const SkinnedModel& model) {
  return !model.sourceMesh.vertices.empty();
}
bool HasBoundMesh(const SkinnedModel& model) {
  return !model.skinnedMesh.vertices.empty();
}
}  // namespace

Status LoadBoneData(SkinnedModel& model, const std::string& path, BoneTree& tree, const BindMeshStep& bind) {
  const bool bindable = HasUnboundMesh(model) && bind;
  if (!model.meshLoaded || (!bindable && !HasBoundMesh(model))) {
    return Status::Error(kNoMeshLoaded, "load a .x mesh before its bone data (" + path + ")");
  }
  BoneDataResult result = ReadBoneData(path, tree);
  if (!result.status) {
    return result.status;
  }
  if (bindable) {
    bind(model);
  }
  model.skeleton = std::move(result.skeleton);
  return Status::Ok();
}
