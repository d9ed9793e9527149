// Small rigged test models, made in the editor's space (left-handed, +Y up,
// the model facing −Z, its left side at +X): tubes and a sphere with joints
// and skin weights, each stressing one part of the rigged model import.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "math/Vector3.h"
#include "mesh/SourceMesh.h"
#include "model/SkinnedModel.h"

namespace posewright {

struct RigModelJoint {
  std::string name;
  /// An earlier joint, or −1 for a top joint.
  int32_t parent = -1;
  /// The joint's point at bind pose (joints are not turned at bind pose).
  D3DXVECTOR3 head;
};

struct RigModel {
  std::string name;
  std::vector<MeshVertex> vertices;
  /// Polygons of three or four corners, clockwise seen from outside.
  std::vector<std::vector<uint32_t>> faces;
  std::vector<RigModelJoint> joints;
  /// Per vertex: (joint, weight) pairs, weights summing to 1; empty for a mesh
  /// without a skeleton.
  std::vector<std::vector<std::pair<uint32_t, float>>> weights;
  /// False: the file is written without normals.
  bool hasNormals = true;
  /// The material's texture file name ("" for none).
  std::string texture;
};

/// Three bones in a chain (Lower, Middle, Upper) in a tube bent 45° at the
/// second joint towards +X and again back to +X at the third; weights blend
/// across each joint.
RigModel BentTubeRig();

/// Two legs, each a two-bone tube with its own top joint (LeftThigh at +X,
/// RightThigh at −X, both at hip height): an armature with two roots.
RigModel TwoRootRig();

/// A palm with five three-bone fingers close together: fifteen finger bones,
/// five of them leaves, weights blending at every knuckle.
RigModel LeafHeavyHandRig();

/// A sphere around a hub joint at the origin with six arm joints; every vertex
/// weighs on all six arms.
RigModel ManyInfluencesRig();

/// Two bones in a straight tube, written without normals.
RigModel NoNormalsRig();

/// A box of quads with texture coordinates and a textured material, no skeleton.
RigModel TexturedQuadBox();

/// A bound model as a rig model: its triangles, a joint at every bone's begin
/// (the root too), and each vertex's slots that name a bone as its weights.
RigModel RigModelOf(const SkinnedModel& model, const std::string& name);

/// Every test rig above, in that order.
std::vector<RigModel> AllTestRigs();
}  // namespace posewright
