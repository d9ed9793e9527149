// Closed convex anchor volumes around a bone segment, triangulated so that
// every face's vertices run clockwise seen from outside: the normal
// (V1 − V0) × (V2 − V0) points out of the volume. Vertices and normals are
// quantized to what the bone data file carries, and the BorderBox is the
// bounds of the vertices.
#pragma once

#include <utility>
#include <vector>

#include "importer/BoneFrame.h"
#include "skeleton/BoneAnchor.h"

namespace posewright {

/// Angle of ring corner k of n around an axis, from u towards v. The
/// quarter-step offset keeps every side's outward direction away from ±u, the
/// one direction across the axis that is perpendicular to Z: no face around
/// the axis is then parallel to Z.
float RingAngle(int k, int n);

/// A prism with pointed caps around the frame's axis: the convex polygon
/// `ring` (offsets along u and v, counter-clockwise from u towards v) at axial
/// positions s0 < s1, and a cap apex capLength beyond each ring at (cu, cv),
/// which must lie inside the polygon. Faces: 4·ring.size(), plus 2 for each of
/// the first `splitQuads` side quads (split into four triangles about their
/// centre).
struct RingShape {
  std::vector<std::pair<float, float>> ring;
  float s0 = 0.0f;
  float s1 = 1.0f;
  float cu = 0.0f;
  float cv = 0.0f;
  float capLength = 0.05f;
  int splitQuads = 0;
};
BoneAnchor MakeRingAnchor(const BoneFrame& frame, const RingShape& shape);

/// An elliptic prism with pointed caps ("capsule"): two rings of `sides`
/// vertices at axial positions s0 < s1, with semi-axes a (along u) and b (along
/// v) around the point (cu, cv) of the frame's cross-section; a cap apex
/// capLength beyond each ring on the prism's axis. Faces: 4·sides, plus 2 for
/// each of the first `splitQuads` side quads, which are split into four
/// triangles about their centre. Ring vertex k lies at angle 2π(k + ¼)/sides
/// from u, so no face's normal is ±u: with u perpendicular to Z (as a
/// BoneFrame's is) no face is parallel to Z.
struct CapsuleShape {
  int sides = 8;
  float s0 = 0.0f;
  float s1 = 1.0f;
  float cu = 0.0f;
  float cv = 0.0f;
  float a = 0.1f;
  float b = 0.1f;
  float capLength = 0.05f;
  int splitQuads = 0;
};
BoneAnchor MakeCapsuleAnchor(const BoneFrame& frame, const CapsuleShape& shape);

/// A bipyramid: an equator of `sides` (≥ 3) vertices of radius `radius` at
/// axial position sMid (at the capsule's ring angles) and two apexes at
/// sMid ± halfLength. 2·sides faces.
BoneAnchor MakeBipyramidAnchor(const BoneFrame& frame, int sides, float sMid, float halfLength, float radius);

/// A tetrahedron made of two crossed edges of half-width w, one along u + v at
/// axial position s0, one along u − v at s1. Its cross-section between them is
/// a rectangle of half-sides w·(1 − t) and w·t. 4 faces.
BoneAnchor MakeWedgeTetrahedronAnchor(const BoneFrame& frame, float s0, float s1, float w);

/// Face normals of unit length from the (already quantized) vertices, oriented
/// away from interior, quantized; BorderBox from the vertices. Faces whose
/// normal points towards interior are turned around first.
void FinishAnchor(BoneAnchor& anchor, const D3DXVECTOR3& interior);
}  // namespace posewright
