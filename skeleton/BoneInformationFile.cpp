#include "skeleton/BoneInformationFile.h"

#include "fileio/FileBytes.h"
#include "fileio/TextWriter.h"

namespace posewright {

std::string FormatBoneInformation(const Skeleton& skeleton) {
  TextWriter out;
  const int32_t count = skeleton.boneCount();
  for (int32_t i = 0; i < count; ++i) {
    const Bone& bone = skeleton.bones[static_cast<std::size_t>(i)];
    const int32_t parent = i == 0 ? 0 : bone.parentId;
    out.line("%d %d %.4f %.4f %.4f", i, parent, static_cast<double>(bone.begin.x),
             static_cast<double>(bone.begin.y), static_cast<double>(bone.begin.z));
  }
  return out.take();
}

Status WriteBoneInformation(const Skeleton& skeleton, const std::string& path) {
  return WriteFileAtomically(path, FormatBoneInformation(skeleton));
}
}  // namespace posewright
