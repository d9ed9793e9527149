// The axis conversion and the skeleton's nodes: whatever the editor does to a
// point, glTF's nodes do to the reflected point.
#include <gtest/gtest.h>

#include <limits>

#include "gltf/GltfAxes.h"
#include "gltf/GltfMaterials.h"
#include "gltf/GltfSkeleton.h"
#include "support/GltfReference.h"
#include "support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {
using synthetic::Random;

gltfref::Vec3 AsVec(const gltf::Point& p) {
  return {p.x, p.y, p.z};
}
gltfref::Quat AsQuat(const gltf::Rotation& q) {
  return {q.x, q.y, q.z, q.w};
}

D3DXVECTOR3 RandomPoint(Random& random) {
  return {random.uniform(-4, 4), random.uniform(-4, 4), random.uniform(-4, 4)};
}

void ExpectNear(const gltfref::Vec3& a, const gltfref::Vec3& b, double tolerance) {
  for (int c = 0; c < 3; ++c)
    EXPECT_NEAR(a[static_cast<std::size_t>(c)], b[static_cast<std::size_t>(c)], tolerance)
        << "component " << c;
}

TEST(GltfSpace, ARotationTurnsTheReflectedPointWhereTheEditorTurnsThePoint) {
  Random random(11);
  for (int i = 0; i < 300; ++i) {
    const D3DXQUATERNION q = synthetic::RandomRotation(random);
    const D3DXVECTOR3 p = RandomPoint(random);
    const gltf::Point turned = gltf::Rotate(gltf::Normalized(gltf::ToGltfRotation(q)), gltf::ToGltfPoint(p));
    ExpectNear(AsVec(turned), AsVec(gltf::ToGltfPoint(RotateVectorByQuaternion(p, q))), 1e-5);
  }
}

TEST(GltfSpace, ReversedCornersKeepTheFrontFaceNormalOutward) {
  // The editor's front-face normal (b − a) × (c − a), reflected, must be the
  // normal glTF computes from the reordered corners, (b' − a') × (c' − a').
  Random random(12);
  for (int i = 0; i < 100; ++i) {
    const D3DXVECTOR3 corners[3] = {RandomPoint(random), RandomPoint(random), RandomPoint(random)};
    D3DXVECTOR3 e1 = corners[1] - corners[0], e2 = corners[2] - corners[0], editorNormal;
    D3DXVec3Cross(&editorNormal, &e1, &e2);
    const std::array<uint32_t, 3> order = gltf::ToGltfWinding(0, 1, 2);
    const gltf::Point a = gltf::ToGltfPoint(corners[order[0]]), b = gltf::ToGltfPoint(corners[order[1]]),
                      c = gltf::ToGltfPoint(corners[order[2]]);
    const gltfref::Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
    const gltfref::Vec3 normal{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                               u[0] * v[1] - u[1] * v[0]};
    ExpectNear(normal, AsVec(gltf::ToGltfPoint(editorNormal)), 1e-3);
  }
}

// Property: for random skeletons with random rest rotations and random poses,
// each joint's world matrix times its inverse bind matrix moves a reflected
// point where the editor's skin matrix moves the point.
TEST(GltfSpace, JointMatricesOfAnyPoseMatchTheEditorsSkinMatrices) {
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    Random random(seed);
    synthetic::ModelRecipe recipe;
    recipe.seed = seed;
    recipe.boneCount = static_cast<int32_t>(1 + random.below(40));
    Skeleton skeleton = synthetic::MakeModel(recipe).skeleton;
    for (Bone& bone : skeleton.bones) {
      bone.restRotation = synthetic::RandomRotation(random);
      SetBonePose(bone, seed % 3 == 0 ? D3DXQUATERNION() : synthetic::RandomRotation(random));
    }
    ComputePose(skeleton);

    const std::vector<gltf::BoneNode> nodes = gltf::BuildBoneNodes(skeleton);
    const std::vector<gltf::Rotation> rest = gltf::RestRotations(skeleton);
    std::vector<gltfref::Mat4> world(nodes.size());
    for (std::size_t b = 0; b < nodes.size(); ++b) {
      const gltf::Rotation local =
          gltf::NodeRotationForPose(skeleton, rest, static_cast<int32_t>(b), skeleton.bones[b].poseRotation);
      const gltfref::Mat4 own = gltfref::NodeMatrix(AsVec(nodes[b].translation), AsQuat(local));
      world[b] =
          b == 0 ? own : gltfref::Multiply(world[static_cast<std::size_t>(skeleton.bones[b].parentId)], own);
    }
    for (std::size_t b = 0; b < nodes.size(); ++b) {
      const gltfref::Mat4 joint = gltfref::Multiply(world[b], nodes[b].inverseBindMatrix);
      for (int i = 0; i < 4; ++i) {
        const D3DXVECTOR3 p = RandomPoint(random);
        D3DXVECTOR3 moved;
        D3DXVec3TransformCoord(&moved, &p, &skeleton.skinMatrices[b]);
        SCOPED_TRACE("seed " + std::to_string(seed) + " bone " + std::to_string(b));
        ExpectNear(gltfref::Transform(joint, AsVec(gltf::ToGltfPoint(p))), AsVec(gltf::ToGltfPoint(moved)),
                   2e-4);
      }
    }
  }
}

TEST(GltfSpace, RestNodesAreTheBonesJointsAndRestRotationsRelativeToTheParent) {
  Skeleton skeleton;
  skeleton.bones.resize(2);
  skeleton.bones[0].begin = {1, 2, 3};
  skeleton.bones[1].parentId = 0;
  skeleton.bones[1].begin = {1, 3, 5};
  skeleton.bones[1].restRotation = {0.0f, 0.0f, 0.70710678f, 0.70710678f};  // a quarter turn about z
  skeleton.bones[0].restRotation = {0.0f, 0.0f, 0.0f, 0.0f};                // unusable: the identity
  const std::vector<gltf::BoneNode> nodes = gltf::BuildBoneNodes(skeleton);
  ExpectNear(AsVec(nodes[0].translation), {1, 2, -3}, 1e-12);
  ExpectNear(AsVec(nodes[1].translation), {0, 1, -2}, 1e-12);
  EXPECT_NEAR(nodes[1].rotation.z, 0.70710678, 1e-7);
  EXPECT_NEAR(nodes[1].rotation.w, 0.70710678, 1e-7);
  EXPECT_EQ(nodes[0].rotation.w, 1.0);
  // The inverse bind matrix takes the joint to the origin.
  ExpectNear(gltfref::Transform(nodes[1].inverseBindMatrix, {1, 3, -5}), {0, 0, 0}, 1e-12);
}

TEST(GltfSpace, RoughnessFollowsTheSpecularPower) {
  const struct {
    float power;
    double roughness;
  } cases[] = {{0.0f, 1.0},
               {-5.0f, 1.0},
               {2.0f, 0.840896},
               {6.0f, 0.707107},
               {12.0f, 0.614788},
               {100.0f, 0.374203},
               {std::numeric_limits<float>::infinity(), 1.0}};
  for (const auto& c : cases) EXPECT_NEAR(gltf::RoughnessFromPower(c.power), c.roughness, 1e-6) << c.power;
}

}  // namespace
}  // namespace posewright
