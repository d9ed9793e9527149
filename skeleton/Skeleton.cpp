#include "skeleton/Skeleton.h"

#include <cassert>
#include <cmath>

namespace posewright {

void Skeleton::resizePerBoneArrays() {
  const std::size_t n = bones.size();
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  anchors.resize(n);
  jointPositions.resize(n);
  jointRotations.resize(n);
  skinMatrices.resize(n, identity);
  blendParams.resize(n);
}

void Skeleton::clear() {
  *this = Skeleton{};
}

D3DXVECTOR3 RotateVectorByQuaternion(const D3DXVECTOR3& v, const D3DXQUATERNION& q) {
  const D3DXQUATERNION p(v.x, v.y, v.z, 0.0f);
  D3DXQUATERNION inverse;
  D3DXQuaternionInverse(&inverse, &q);
  D3DXQUATERNION pq;
  D3DXQuaternionMultiply(&pq, &p, &q);
  D3DXQUATERNION r;
  D3DXQuaternionMultiply(&r, &inverse, &pq);
  return D3DXVECTOR3(r.x, r.y, r.z);
}

void ComputePose(Skeleton& skeleton) {
  const std::size_t n = skeleton.bones.size();
  if (skeleton.jointPositions.size() != n || skeleton.jointRotations.size() != n ||
      skeleton.skinMatrices.size() != n) {
    skeleton.resizePerBoneArrays();
  }
  for (std::size_t i = 0; i < n; ++i) {
    const Bone& bone = skeleton.bones[i];
    if (i == 0) {
      skeleton.jointPositions[0] = bone.begin;
      skeleton.jointRotations[0] = bone.poseRotation;
    } else {
      assert(bone.parentId >= 0 && static_cast<std::size_t>(bone.parentId) < i && "parents come first");
      const std::size_t p = static_cast<std::size_t>(bone.parentId);
      const D3DXVECTOR3 d = bone.begin - skeleton.bones[p].begin;
      skeleton.jointPositions[i] =
          RotateVectorByQuaternion(d, skeleton.jointRotations[p]) + skeleton.jointPositions[p];
      D3DXQuaternionMultiply(&skeleton.jointRotations[i], &bone.poseRotation, &skeleton.jointRotations[p]);
    }
    D3DXMATRIX& m = skeleton.skinMatrices[i];
    D3DXMatrixRotationQuaternion(&m, &skeleton.jointRotations[i]);
    const D3DXVECTOR3 t =
        skeleton.jointPositions[i] - RotateVectorByQuaternion(bone.begin, skeleton.jointRotations[i]);
    m._41 = t.x;
    m._42 = t.y;
    m._43 = t.z;
  }
}

void MirrorPose(Skeleton& skeleton) {
  const int32_t n = skeleton.boneCount();
  std::vector<D3DXQUATERNION> mirrored(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    const D3DXQUATERNION& o = skeleton.bones[static_cast<std::size_t>(i)].orientation;
    mirrored[static_cast<std::size_t>(i)] = D3DXQUATERNION(o.x, -o.y, -o.z, o.w);
  }
  for (int32_t i = 0; i < n; ++i) {
    Bone& bone = skeleton.bones[static_cast<std::size_t>(i)];
    const int32_t s = bone.symmetricId;
    const int32_t source = (s >= 0 && s < n) ? s : i;
    SetBoneOrientation(bone, mirrored[static_cast<std::size_t>(source)]);
  }
}

D3DXMATRIX BoneDisplayTransform(const Skeleton& skeleton, int32_t b) {
  const Bone& bone = skeleton.bones[static_cast<std::size_t>(b)];
  const float dx = bone.end.x - bone.begin.x;
  const float dy = bone.end.y - bone.begin.y;
  const float dz = bone.end.z - bone.begin.z;
  const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
  D3DXMATRIX scaling, rotation, translation, m;
  D3DXMatrixScaling(&scaling, length, length, length);
  D3DXMatrixRotationQuaternion(&rotation, &bone.restRotation);
  D3DXMatrixTranslation(&translation, bone.begin.x, bone.begin.y, bone.begin.z);
  D3DXMatrixMultiply(&m, &scaling, &rotation);
  D3DXMatrixMultiply(&m, &m, &translation);
  D3DXMatrixMultiply(&m, &m, &skeleton.skinMatrices[static_cast<std::size_t>(b)]);
  return m;
}
}  // namespace posewright
