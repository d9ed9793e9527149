#include "model/SkinMeshImport.h"

#include "fileio/FileBytes.h"
#include "model/LoadedMesh.h"
#include "model/MeshLoader.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileHeader.h"
#include "xfile/XFileParser.h"

namespace posewright {

namespace {
/// True when bones 1 … n−1 of the skeleton are exactly the named bones.
bool SkeletonMatches(const Skeleton& skeleton, const std::vector<std::string>& names) {
  if (!skeleton.bonesLoaded || skeleton.bones.size() != names.size() + 1) {
    return false;
  }
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (skeleton.bones[k + 1].name != names[k]) {
      return false;
    }
  }
  return true;
}
}  // namespace

Status LoadMeshFromXof(SkinnedModel& model, const std::string& path) {
  XFileDocument doc;
  if (Status s = ReadXFile(path, doc); !s) {
    return s;
  }
  const std::vector<std::string> names = SkinBoneNames(doc);
  if (names.empty()) {
    return Status::Error(kXFileErrorMessage, FileNameOf(path) + ": the file holds no SkinWeights object");
  }
  if (names.size() > kMaxSkinBones) {
    return Status::Error(kXFileErrorMessage, FileNameOf(path) + ": the SkinWeights objects name " +
                                                 std::to_string(names.size()) +
                                                 " bones; at most 255 can be addressed");
  }
  LoadedMesh mesh;
  if (Status s = PrepareLoadedMesh(doc, path, mesh); !s) {
    return s;
  }
  const std::vector<VertexInfluences> influences = ComputeVertexInfluences(doc, mesh.origins);

  // Nothing below can fail: the model changes only now.
  InstallLoadedMesh(model, std::move(mesh));
  BindMesh(model);
  for (std::size_t v = 0; v < influences.size(); ++v) {
    StoreInfluences(influences[v], model.skinnedMesh.vertices[v]);
    StoreInfluences(influences[v], model.pointVertices[v]);
  }
  if (!SkeletonMatches(model.skeleton, names)) {
    model.skeleton.clear();
  }
  return Status::Ok();
}
}  // namespace posewright
