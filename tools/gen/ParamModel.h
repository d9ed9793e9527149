// Parameterised test models: a mesh of tubes, one per bone, over a skeleton
// of bone chains, with anchors of a chosen face count and a keyframed
// animation; optionally with adversarial vertices.
//
// Layout: the root runs from the origin up to (0, 0.1, 0). Bones of length
// 0.2 form chains of up to 8 along +X (even chains) and −X (odd chains), in
// rows 0.32 apart in Y, chain 2r and 2r+1 mirroring each other (they are
// left/right partners). Every bone holds a closed tube of radius 0.025 along
// its segment; its anchor reaches a quarter bone length (capsule) or more
// (bipyramid, tetrahedron) beyond both ends, so tube vertices near a joint
// lie in two or three anchors and all others in one. All coordinates stay
// below 16 in magnitude, where the quantized numbers read back exactly.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/Animation.h"
#include "skeleton/Skeleton.h"
#include "tools/gen/GenMesh.h"
#include "tools/gen/ModelOptions.h"

namespace posewright {

/// What a vertex of a generated model was made for.
enum class VertexKind : uint8_t {
  /// A vertex of a bone's tube.
  Tube,
  /// Exactly on a face or edge of bone 1's anchor, or one of its vertices;
  /// some of them also lie exactly on a BorderBox face.
  OnAnchorFace,
  /// A corner of bone 1's BorderBox that is not an anchor vertex: on three
  /// box faces, outside the anchor.
  OnBoxFace,
  /// In no anchor (below the skeleton).
  Outside,
  /// At the hub of the crowded fan, inside every fan bone's anchor.
  Crowded,
};

struct GeneratedModel {
  GenMesh mesh;
  /// Root plus options.bones bones, anchors, partners, R 1.2 and H 0.25.
  Skeleton skeleton;
  Animation animation;
  /// One per mesh vertex.
  std::vector<VertexKind> kinds;
  /// Per vertex, how many anchors hold it (closed volumes, within 1e-6).
  std::vector<int> anchorCounts;
  /// Bones of the crowded fan (empty without that variant).
  std::vector<int> fanBones;
};

/// The smallest vertex count the options can be built with: six per bone
/// (two rings of three) plus the variants' extra vertices.
int MinimumModelVertices(const ModelOptions& options);

/// Builds the model. options must pass ValidateModelOptions.
GeneratedModel BuildModel(const ModelOptions& options);
}  // namespace posewright
