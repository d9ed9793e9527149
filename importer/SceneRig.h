// The skeleton and skin weights of an Assimp scene.
//
// Joints are the nodes that a mesh's bones name, and every node between two
// of them; each joint's bind-pose frame is the mesh node's frame times the
// inverse of the bone's offset matrix (the same for any mesh that names it),
// and for a node between bones it follows from the nearest bone above through
// the node transforms. A mesh without bones whose node sits under a joint
// moves rigidly with that joint: its vertices get weight 1 on it.
#pragma once

#include "importer/ImportedRig.h"
#include "importer/SceneMesh.h"

namespace posewright {

/// The rig of scene, vertices numbered as in mesh. Empty (no joints) when no
/// mesh of the scene has bones.
ImportedRig ExtractSceneRig(const aiScene& scene, const SceneMesh& mesh);
}  // namespace posewright
