#include "tools/gen/SampleCharacter.h"

#include <cmath>
#include <stdexcept>

#include "importer/AnchorFitting.h"
#include "importer/BoneFrame.h"
#include "importer/Quantize.h"
#include "tools/gen/ClothesTexture.h"
#include "tools/gen/HumanoidMesh.h"

namespace posewright {

namespace {
struct BoneRow {
  const char* name;
  int parent;
  D3DXVECTOR3 begin;
  D3DXVECTOR3 end;
  int partner;
  float R;
  float H;
};

// H is the overlap at the bone's joints in bone lengths, so that a bone's
// weight reaches 0 where its anchor ends; R keeps the radial term positive
// across the whole limb or trunk.
const BoneRow kBones[kSampleBoneCount] = {
    {"Root", 0, {0.0f, 0.95f, 0.0f}, {0.0f, 1.05f, 0.0f}, kRootBone, 1.0f, 1.0f},
    {"Spine", kRootBone, {0.0f, 0.95f, 0.0f}, {0.0f, 1.22f, 0.0f}, kSpine, 1.5f, 0.22f},
    {"Chest", kSpine, {0.0f, 1.22f, 0.0f}, {0.0f, 1.45f, 0.0f}, kChest, 1.5f, 0.26f},
    {"Neck", kChest, {0.0f, 1.45f, 0.0f}, {0.0f, 1.56f, 0.0f}, kNeck, 1.5f, 0.36f},
    {"Head", kNeck, {0.0f, 1.56f, 0.0f}, {0.0f, 1.78f, 0.0f}, kHead, 1.0f, 0.27f},
    {"LeftUpperArm", kChest, {0.17f, 1.40f, 0.0f}, {0.47f, 1.40f, 0.0f}, kRightUpperArm, 1.0f, 0.27f},
    {"LeftForearm", kLeftUpperArm, {0.47f, 1.40f, 0.0f}, {0.74f, 1.40f, 0.0f}, kRightForearm, 1.0f, 0.22f},
    {"RightUpperArm", kChest, {-0.17f, 1.40f, 0.0f}, {-0.47f, 1.40f, 0.0f}, kLeftUpperArm, 1.0f, 0.27f},
    {"RightForearm", kRightUpperArm, {-0.47f, 1.40f, 0.0f}, {-0.74f, 1.40f, 0.0f}, kLeftForearm, 1.0f, 0.22f},
    {"LeftThigh", kRootBone, {0.10f, 0.92f, 0.0f}, {0.10f, 0.50f, 0.0f}, kRightThigh, 1.0f, 0.19f},
    {"LeftShin", kLeftThigh, {0.10f, 0.50f, 0.0f}, {0.10f, 0.07f, 0.0f}, kRightShin, 1.0f, 0.14f},
    {"RightThigh", kRootBone, {-0.10f, 0.92f, 0.0f}, {-0.10f, 0.50f, 0.0f}, kLeftThigh, 1.0f, 0.19f},
    {"RightShin", kRightThigh, {-0.10f, 0.50f, 0.0f}, {-0.10f, 0.07f, 0.0f}, kLeftShin, 1.0f, 0.14f},
};

bool IsLeft(BodyPart part) {
  return part == BodyPart::LeftArm || part == BodyPart::LeftHand || part == BodyPart::LeftLeg ||
         part == BodyPart::LeftFoot;
}

// Whether bone b should move a vertex at p of the given part. The ranges
// overlap at every joint by the bones' reach H·L, so both bones hold the
// vertices around a joint.
bool ShouldMove(int b, BodyPart part, const D3DXVECTOR3& p) {
  const bool left = IsLeft(part) || (part == BodyPart::Torso && p.x > 0.0f);
  const float side = std::fabs(p.x);
  const int upperArm = left ? kLeftUpperArm : kRightUpperArm;
  const int forearm = left ? kLeftForearm : kRightForearm;
  const int thigh = left ? kLeftThigh : kRightThigh;
  const int shin = left ? kLeftShin : kRightShin;
  switch (part) {
    case BodyPart::Torso:
      return (b == kSpine && p.y <= 1.28f) || (b == kChest && p.y >= 1.16f && p.y <= 1.50f) ||
             (b == kNeck && p.y >= 1.42f && side <= 0.08f) ||
             (b == upperArm && side >= 0.09f && p.y >= 1.28f) ||
             (b == thigh && side >= 0.03f && p.y <= 1.00f);
    case BodyPart::Head:
      return (b == kNeck && p.y <= 1.60f) || b == kHead;
    case BodyPart::LeftArm:
    case BodyPart::RightArm:
      return (b == kChest && side <= 0.21f) || (b == upperArm && side <= 0.55f) ||
             (b == forearm && side >= 0.41f);
    case BodyPart::LeftHand:
    case BodyPart::RightHand:
      return b == forearm;
    case BodyPart::LeftLeg:
    case BodyPart::RightLeg:
      return (b == kSpine && p.y >= 0.90f) || (b == thigh && p.y >= 0.42f) || (b == shin && p.y <= 0.56f);
    case BodyPart::LeftFoot:
    case BodyPart::RightFoot:
      return b == shin;
  }
  return false;
}
}  // namespace

SampleCharacter BuildSampleCharacter() {
  SampleCharacter out;
  HumanoidMesh body = BuildHumanoidMesh(kClothesTextureFile);
  out.mesh = std::move(body.mesh);
  out.texture = MakeClothesTexture();

  Skeleton& s = out.skeleton;
  s.bones.resize(kSampleBoneCount);
  s.anchors.resize(kSampleBoneCount);
  s.resizePerBoneArrays();
  for (int b = 0; b < kSampleBoneCount; ++b) {
    const BoneRow& row = kBones[b];
    Bone& bone = s.bones[static_cast<std::size_t>(b)];
    bone.name = row.name;
    bone.parentId = row.parent;
    bone.symmetricId = row.partner;
    bone.begin = Quantize6(row.begin);
    bone.end = Quantize6(row.end);
    bone.restRotation = b == kRootBone ? D3DXQUATERNION() : Quantize6(RestRotationFor(bone.end - bone.begin));
    D3DXQuaternionInverse(&bone.restRotationInverse, &bone.restRotation);
    bone.orientation = bone.restRotation;
    s.blendParams[static_cast<std::size_t>(b)] = {Quantize4(row.R), Quantize4(row.H)};
    if (b == kRootBone) {
      continue;
    }
    std::vector<D3DXVECTOR3> points;
    for (std::size_t i = 0; i < out.mesh.vertices.size(); ++i) {
      if (ShouldMove(b, body.parts[i], out.mesh.vertices[i].position)) {
        points.push_back(out.mesh.vertices[i].position);
      }
    }
    if (points.empty()) {
      throw std::logic_error(std::string("no vertices for bone ") + row.name);
    }
    s.anchors[static_cast<std::size_t>(b)] =
        FitCapsuleAnchor(MakeBoneFrame(bone.begin, bone.end), points, 8, 0.006f);
  }
  s.bonesLoaded = true;
  return out;
}
}  // namespace posewright
