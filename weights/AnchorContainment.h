// Whether a point lies inside a bone's anchor volume: the box test, then the
// view from the face centroids. A face decides when no other face lies between
// its centroid and the point; the point is inside when it is not in front of
// that face. A face blocks the view when the segment from the centroid to the
// point crosses its plane strictly between the two ends at a point inside the
// parallelogram spanned by the face's two edges from its first corner, measured
// in the XY plane. When every face is blocked the point counts as inside.
#pragma once

#include <cstddef>
#include <vector>

#include "math/Vector3.h"
#include "skeleton/BoneAnchor.h"

namespace posewright {

/// True when anchor has at least one face, one normal per face and only face
/// indices inside its vertex array. An anchor that is not usable contains nothing.
bool AnchorIsUsable(const BoneAnchor& anchor);

/// The containment test written out step by step in single precision, computing
/// the face centroids on every call.
bool Contains(const D3DXVECTOR3& p, const BoneAnchor& anchor);

/// What the precomputed test keeps of an anchor's faces (see AnchorContainment).
struct AnchorTables {
  struct Face {
    D3DXVECTOR3 centroid;
    D3DXVECTOR3 normal;
  };
  std::vector<Face> faces;
  /// The face count rounded up to whole lanes of eight.
  std::size_t padded = 0;
  /// Per face, by component, what the blocking test reads (normal x, y, z;
  /// first corner x, y; both edges' x, y; their XY determinant): ten planes of
  /// padded floats, zeros in the padding.
  std::vector<float> planes;
  /// Row f, entry g: (centroid g − centroid f) · normal g; 0 for g = f and the
  /// padding. Empty for anchors of more than AnchorContainment::kMaxTabledFaces.
  std::vector<float> numerators;
};

/// The same test with everything that does not depend on the point computed once:
/// centroids, edges and determinants of every face, and for every pair of faces
/// the numerator of the crossing parameter. Eight faces are examined at a time
/// (in one AVX register where the processor has it), each lane computing what
/// the step-by-step test computes for its face. Gives exactly the result of
/// Contains for every point.
class AnchorContainment {
 public:
  /// Up to this many faces the pair table is kept (1 MiB per anchor); larger
  /// anchors compute a centroid's row of numerators when it is needed.
  static constexpr std::size_t kMaxTabledFaces = 512;

  /// An anchor that contains nothing.
  AnchorContainment() = default;
  explicit AnchorContainment(const BoneAnchor& anchor);

  /// The floats of row scratch containsInBox needs for anchor: 0 when its pair
  /// table is kept.
  static std::size_t RowScratchSize(const BoneAnchor& anchor);

  /// Contains(p, anchor) for the anchor given to the constructor.
  bool contains(const D3DXVECTOR3& p) const;

  /// The border box test alone: boxMin <= p <= boxMax on every axis.
  bool inBox(const D3DXVECTOR3& p) const;

  /// The part of contains after the box test, for a caller that has already
  /// checked the box. rowScratch must hold RowScratchSize(anchor) floats.
  bool containsInBox(const D3DXVECTOR3& p, float* rowScratch) const;

  bool usable() const { return usable_; }
  const D3DXVECTOR3& boxMin() const { return boxMin_; }
  const D3DXVECTOR3& boxMax() const { return boxMax_; }
  std::size_t faceCount() const { return tables_.faces.size(); }

 private:
  bool usable_ = false;
  D3DXVECTOR3 boxMin_;
  D3DXVECTOR3 boxMax_;
  AnchorTables tables_;
};
}  // namespace posewright
