#include "importer/RigSkeleton.h"

#include <algorithm>
#include <cmath>

#include "importer/BoneFrame.h"
#include "importer/Quantize.h"
#include "skeleton/BoneDataReader.h"
#include "xfile/XFileHeader.h"

namespace posewright {

namespace {
D3DXVECTOR3 Row(const D3DXMATRIX& m, int r) {
  return D3DXVECTOR3(m.m(r, 0), m.m(r, 1), m.m(r, 2));
}

float Length(const D3DXVECTOR3& v) {
  return D3DXVec3Length(&v);
}

D3DXVECTOR3 Unit(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  D3DXVec3Normalize(&out, &v);
  return out;
}

// The part of v across the unit direction d.
D3DXVECTOR3 Across(const D3DXVECTOR3& v, const D3DXVECTOR3& d) {
  return v - d * D3DXVec3Dot(&v, &d);
}

// Turns +Z onto the unit direction and +X as near as possible onto the
// joint's own x axis (its bind-pose roll about the bone).
D3DXQUATERNION RestRotationAlong(const D3DXVECTOR3& direction, const D3DXMATRIX& bind) {
  const D3DXQUATERNION turn = RestRotationFor(direction);
  D3DXVECTOR3 wanted = Across(Row(bind, 0), direction);
  if (Length(wanted) < 1e-3f * Length(Row(bind, 0))) {
    wanted = Across(Row(bind, 2), direction);
  }
  if (!(Length(wanted) > 1e-12f)) {
    return turn;
  }
  wanted = Unit(wanted);
  const D3DXVECTOR3 x = RotateVectorByQuaternion(D3DXVECTOR3(1, 0, 0), turn);
  D3DXVECTOR3 cross;
  D3DXVec3Cross(&cross, &x, &wanted);
  const float angle = std::atan2(Length(cross), D3DXVec3Dot(&x, &wanted));
  // The sense of a turn about the bone depends on the conventions; try both.
  D3DXQUATERNION best = turn;
  float bestDot = -2.0f;
  for (float sign : {1.0f, -1.0f}) {
    D3DXQUATERNION q;
    const D3DXQUATERNION roll = AxisRotation(direction, sign * angle);
    D3DXQuaternionMultiply(&q, &turn, &roll);
    const D3DXVECTOR3 rolled = RotateVectorByQuaternion(D3DXVECTOR3(1, 0, 0), q);
    const float dot = D3DXVec3Dot(&rolled, &wanted);
    if (dot > bestDot) {
      bestDot = dot;
      best = q;
    }
  }
  return best;
}

void SetRestRotation(Bone& bone, const D3DXQUATERNION& q) {
  bone.restRotation = q;
  bone.orientation = q;
  D3DXQuaternionInverse(&bone.restRotationInverse, &q);
  bone.poseRotation = D3DXQUATERNION();
}

float ModelSize(const std::vector<D3DXVECTOR3>& positions) {
  if (positions.empty()) {
    return 1.0f;
  }
  D3DXVECTOR3 lo = positions.front(), hi = positions.front();
  for (const D3DXVECTOR3& p : positions) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  const float size = Length(hi - lo);
  return size > 0.0f && std::isfinite(size) ? size : 1.0f;
}
}  // namespace

std::string BoneNameFor(const std::string& jointName, int32_t index) {
  std::string name = jointName.substr(0, kMaxImportedNameLength);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) {
      c = '_';
    }
  }
  return name.empty() ? "Bone" + std::to_string(index) : name;
}

Status BuildRigSkeleton(const ImportedRig& rig, const std::vector<D3DXVECTOR3>& positions,
                        const std::string& fileName, RigSkeleton& out) {
  out = RigSkeleton{};
  auto refuse = [&](const std::string& why) {
    return Status::Error(kXFileErrorMessage, fileName + ": " + why);
  };
  const std::size_t jointCount = rig.joints.size();
  if (jointCount == 0) {
    return refuse("the file has no armature that deforms its mesh (no mesh is bound to bones)");
  }
  std::vector<uint8_t> deforms(jointCount, 0);
  for (const RigWeight& w : rig.weights) {
    if (w.weight > 0.0f && w.joint < jointCount && w.vertex < positions.size()) {
      deforms[w.joint] = 1;
    }
  }
  if (std::find(deforms.begin(), deforms.end(), 1) == deforms.end()) {
    return refuse("the armature does not deform the mesh: no vertex has a bone weight above 0");
  }

  const float size = ModelSize(positions);
  const float tiny = 1e-6f * size;
  auto point = [&](std::size_t j) { return Row(rig.joints[j].bindWorld, 3); };

  std::vector<std::vector<std::size_t>> children(jointCount);
  std::vector<std::size_t> tops;
  for (std::size_t j = 0; j < jointCount; ++j) {
    const int32_t parent = rig.joints[j].parent;
    (parent >= 0 ? children[static_cast<std::size_t>(parent)] : tops).push_back(j);
  }
  // Joints below each joint (parents come first, so count from the back).
  std::vector<std::size_t> below(jointCount, 0);
  for (std::size_t j = jointCount; j-- > 0;) {
    for (std::size_t c : children[j]) below[j] += 1 + below[c];
  }

  const bool topIsRoot = tops.size() == 1 && Length(point(tops[0])) <= 1e-4f * size && deforms[tops[0]] == 0;
  out.rootAdded = !topIsRoot;
  const std::size_t boneCount = jointCount + (out.rootAdded ? 1 : 0);
  if (boneCount > static_cast<std::size_t>(kMaxBoneCount)) {
    return refuse("the armature needs " + std::to_string(boneCount) + " bones with the root; at most " +
                  std::to_string(kMaxBoneCount) + " can be used");
  }

  Skeleton& skeleton = out.skeleton;
  skeleton.bones.resize(boneCount);
  skeleton.resizePerBoneArrays();
  out.boneOfJoint.resize(jointCount);
  for (std::size_t j = 0; j < jointCount; ++j) {
    out.boneOfJoint[j] = static_cast<int32_t>(j + (out.rootAdded ? 1 : 0));
  }
  Bone& root = skeleton.bones[0];
  root.name = "Root";
  if (out.rootAdded) {
    root.begin = D3DXVECTOR3(0, 0, 0);
    root.end = Quantize6(D3DXVECTOR3(0, 0.1f * size, 0));
  }

  for (std::size_t j = 0; j < jointCount; ++j) {
    const std::size_t b = static_cast<std::size_t>(out.boneOfJoint[j]);
    Bone& bone = skeleton.bones[b];
    const RigJoint& joint = rig.joints[j];
    const int32_t parentBone =
        joint.parent >= 0 ? out.boneOfJoint[static_cast<std::size_t>(joint.parent)] : 0;
    const bool isRoot = b == 0;
    if (!isRoot) {
      bone.name = BoneNameFor(joint.name, static_cast<int32_t>(b));
      bone.parentId = parentBone;
    }
    bone.symmetricId = static_cast<int32_t>(b);
    const D3DXVECTOR3 begin = point(j);
    D3DXVECTOR3 end = begin;
    if (!children[j].empty()) {
      // The child that carries the most joints (a spine over the legs);
      // the middle of those that carry equally many (the fingers of a palm).
      std::size_t most = 0;
      for (std::size_t c : children[j]) most = std::max(most, below[c]);
      D3DXVECTOR3 sum(0, 0, 0);
      float count = 0.0f;
      for (std::size_t c : children[j]) {
        if (below[c] == most) {
          sum += point(c);
          count += 1.0f;
        }
      }
      end = sum * (1.0f / count);
    }
    if (Length(end - begin) <= tiny) {
      // A leaf: along its parent's direction, as long as its parent.
      const Bone& parent = skeleton.bones[static_cast<std::size_t>(parentBone)];
      const D3DXVECTOR3 parentAxis = parent.end - parent.begin;
      if (!isRoot && Length(parentAxis) > tiny) {
        end = begin + parentAxis;
      } else {
        const D3DXVECTOR3 own = Row(joint.bindWorld, 1);
        end = begin + (Length(own) > 0.0f ? Unit(own) : D3DXVECTOR3(0, 1, 0)) * (0.1f * size);
      }
    }
    bone.begin = Quantize6(begin);
    bone.end = Quantize6(end);
    if (Length(bone.end - bone.begin) <= 0.0f) {
      bone.end = Quantize6(bone.begin + D3DXVECTOR3(0, 0.05f * size, 0));
    }
    if (!isRoot) {
      D3DXQUATERNION q = RestRotationAlong(Unit(bone.end - bone.begin), joint.bindWorld);
      D3DXQuaternionNormalize(&q, &q);
      SetRestRotation(bone, Quantize6(q));
    }
  }
  SetRestRotation(root, D3DXQUATERNION());
  skeleton.blendParams[0] = BlendingParams{1.0f, 1.0f};
  skeleton.bonesLoaded = true;

  // The file's weights per vertex and bone, the four strongest kept.
  std::vector<RigWeight> weights;
  weights.reserve(rig.weights.size());
  for (const RigWeight& w : rig.weights) {
    if (w.weight > 0.0f && std::isfinite(w.weight) && w.joint < jointCount && w.vertex < positions.size()) {
      weights.push_back(RigWeight{w.vertex, static_cast<uint32_t>(out.boneOfJoint[w.joint]), w.weight});
    }
  }
  std::sort(weights.begin(), weights.end(), [](const RigWeight& a, const RigWeight& b) {
    return a.vertex != b.vertex ? a.vertex < b.vertex : a.joint < b.joint;
  });
  out.influences.assign(positions.size(), VertexInfluences{});
  std::vector<std::pair<uint32_t, float>> bones;
  for (std::size_t i = 0; i < weights.size();) {
    const uint32_t vertex = weights[i].vertex;
    bones.clear();
    for (; i < weights.size() && weights[i].vertex == vertex; ++i) {
      if (!bones.empty() && bones.back().first == weights[i].joint) {
        bones.back().second += weights[i].weight;
      } else {
        bones.emplace_back(weights[i].joint, weights[i].weight);
      }
    }
    if (bones.size() > 4) ++out.verticesOverFourBones;
    out.influences[vertex] = StrongestInfluences(bones);
  }
  for (const VertexInfluences& v : out.influences) {
    if (v.count == 0) ++out.verticesWithoutWeights;
  }
  AssignMirrorPartners(skeleton);
  return Status::Ok();
}

void AssignMirrorPartners(Skeleton& skeleton) {
  float size = 0.0f;
  for (const Bone& b : skeleton.bones) {
    size = std::max({size, Length(b.begin), Length(b.end)});
  }
  const float tolerance = 1e-3f * std::max(size, 1e-6f);
  auto mirrored = [](const D3DXVECTOR3& p) { return D3DXVECTOR3(-p.x, p.y, p.z); };
  const int32_t n = skeleton.boneCount();
  for (int32_t i = 1; i < n; ++i) {
    Bone& bone = skeleton.bones[static_cast<std::size_t>(i)];
    bone.symmetricId = i;
    if (std::fabs(bone.begin.x) <= tolerance && std::fabs(bone.end.x) <= tolerance) {
      continue;
    }
    for (int32_t j = 1; j < n; ++j) {
      const Bone& other = skeleton.bones[static_cast<std::size_t>(j)];
      if (j != i && Length(mirrored(bone.begin) - other.begin) <= tolerance &&
          Length(mirrored(bone.end) - other.end) <= tolerance) {
        bone.symmetricId = j;
        break;
      }
    }
  }
}
}  // namespace posewright
