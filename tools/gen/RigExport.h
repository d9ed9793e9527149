// Writing the rigged test models as files other programs write: through
// Assimp's exporters (glTF 2.0, Collada, FBX) from a scene in Assimp's
// right-handed space, and OBJ with its material file.
#pragma once

#include <string>

#include "fileio/Status.h"
#include "tools/gen/RigModels.h"

namespace posewright {

/// Writes model at path in an Assimp export format ("glb2", "gltf2",
/// "collada", "fbx"): mirrored to Assimp's right-handed space (z negated, the
/// faces turned round, texture v from the bottom), the joints as nodes under
/// an "Armature" node, the mesh in a "Body" node with one bone per joint. FBX files get centimetres, as their
/// unit scale states.
Status ExportRigModel(const RigModel& model, const std::string& format, const std::string& path);

/// Writes folder/NAME.obj and folder/NAME.mtl (and the texture as a PNG
/// beside them when the model has one), in OBJ's right-handed space.
Status WriteObjModel(const RigModel& model, const std::string& folder);

/// The rigged models the tests keep: bent_tube.glb, two_roots.dae, hand.fbx,
/// many_influences.dae, no_normals.glb and quads.obj (with
/// quads.mtl and quads.png), written into folder (created when missing).
Status WriteTestRigFiles(const std::string& folder);
}  // namespace posewright
