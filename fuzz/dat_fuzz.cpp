// Bone data reader on arbitrary bytes: it must never crash or read out of
// bounds, and for every skeleton it accepts the precomputed anchor test must
// agree with the step-by-step one and the weights must stay finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skeleton/BoneDataReader.h"
#include "support/RecordingBoneTree.h"
#include "weights/AnchorContainment.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
// Anchors up to this size get the (quadratic) cross-check.
constexpr int kCheckedFaces = 64;

void CheckAnchors(const Skeleton& skeleton) {
  for (const BoneAnchor& anchor : skeleton.anchors) {
    if (anchor.faceCount() > kCheckedFaces) continue;
    const AnchorContainment fast(anchor);
    const D3DXVECTOR3 centre = (anchor.boxMin + anchor.boxMax) * 0.5f;
    const D3DXVECTOR3 probes[] = {anchor.boxMin, anchor.boxMax, centre,
                                  anchor.vertexCount() > 0 ? anchor.vertices[0] : centre};
    for (const D3DXVECTOR3& p : probes) {
      if (fast.contains(p) != Contains(p, anchor)) std::abort();
    }
  }
}

void CheckWeights(const Skeleton& skeleton) {
  SkinnedModel model;
  model.skeleton = skeleton;
  for (const BoneAnchor& anchor : skeleton.anchors) {
    if (anchor.faceCount() > kCheckedFaces) return;
    SkinVertex v;
    v.position = (anchor.boxMin + anchor.boxMax) * 0.5f;
    model.skinnedMesh.vertices.push_back(v);
  }
  ComputeBlendWeights(model, 1);
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    for (float w : v.blendWeights) {
      if (std::isnan(w)) std::abort();
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  BoneDataResult result = ParseBoneData(text, "fuzz.dat");
  if (!result.status) return 0;
  RecordingBoneTree tree;
  BoneItemMap items;
  FillBoneTree(result.skeleton, tree, items);
  if (tree.entries().size() != result.skeleton.bones.size()) std::abort();
  CheckAnchors(result.skeleton);
  CheckWeights(result.skeleton);
  return 0;
}
}  // namespace posewright
