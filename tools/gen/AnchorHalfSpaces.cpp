#include "tools/gen/AnchorHalfSpaces.h"

namespace posewright {

bool AnchorHoldsPoint(const BoneAnchor& anchor, const D3DXVECTOR3& p, double tolerance) {
  const float t = static_cast<float>(tolerance);
  if (p.x < anchor.boxMin.x - t || p.y < anchor.boxMin.y - t || p.z < anchor.boxMin.z - t ||
      p.x > anchor.boxMax.x + t || p.y > anchor.boxMax.y + t || p.z > anchor.boxMax.z + t) {
    return false;
  }
  for (std::size_t f = 0; f < anchor.faces.size(); ++f) {
    const D3DXVECTOR3& v0 = anchor.vertices[static_cast<std::size_t>(anchor.faces[f][0])];
    const D3DXVECTOR3& n = anchor.faceNormals[f];
    const double d = (static_cast<double>(p.x) - v0.x) * n.x + (static_cast<double>(p.y) - v0.y) * n.y +
                     (static_cast<double>(p.z) - v0.z) * n.z;
    if (d > tolerance) {
      return false;
    }
  }
  return true;
}

std::vector<int> CountHoldingAnchors(const Skeleton& skeleton, const std::vector<MeshVertex>& vertices,
                                     double tolerance) {
  std::vector<int> counts(vertices.size(), 0);
  for (std::size_t b = 1; b < skeleton.anchors.size(); ++b) {
    for (std::size_t i = 0; i < vertices.size(); ++i) {
      if (AnchorHoldsPoint(skeleton.anchors[b], vertices[i].position, tolerance)) {
        ++counts[i];
      }
    }
  }
  return counts;
}
}  // namespace posewright
