// Anchors made for a skeleton that came without them, from the weights the
// mesh's vertices already have, so that the automatic weights reproduce the
// file's: each bone's anchor is a prism around the vertices it dominates
// (and those it weighs heavily at its joints), fitted along the bone; its
// reach R and H just cover its vertices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skeleton/Skeleton.h"
#include "xfile/SkinInfluences.h"

namespace posewright {

struct AnchorFitOptions {
  /// Sides of every prism (4·sides faces).
  int sides = 12;
  /// A vertex also shapes the anchor of every further bone that has at least
  /// this share of its weight, so that the anchors overlap at the joints.
  float overlapWeight = 0.35f;
  /// Distance the prism keeps from its vertices, as a share of the extent of
  /// its vertices (plus a hundred-thousandth of the model's size).
  float margin = 0.01f;
};

/// How many anchors hold each vertex, by the test the automatic weights use.
struct AnchorCoverage {
  std::vector<uint8_t> anchorsPerVertex;
  std::size_t inNoAnchor = 0;
  std::size_t inMoreThanFour = 0;
  int fewest = 0;
  int most = 0;
};

/// The bone each vertex follows most: its heaviest influence, or for a vertex
/// without influences the bone whose segment lies nearest (never the root
/// while there are other bones).
std::vector<int32_t> DominantBones(const Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                                   const std::vector<VertexInfluences>& influences);

/// Gives every bone from 1 on a new anchor. A bone that dominates no vertex
/// gets a thin bipyramid around the middle of its segment. Where a vertex
/// would lie in more than four anchors, the lightest bones' anchors are fitted
/// again around only the vertices they dominate, with twice the sides; where
/// one would lie in none, its bone's anchor is fitted again with a wider
/// margin.
void GenerateAnchors(Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                     const std::vector<VertexInfluences>& influences, const AnchorFitOptions& options = {});

/// Sets every bone's R and H (rounded as a blending parameters file carries
/// them) so that its reach covers the vertices it dominates: R a tenth more
/// than their largest distance from the bone's line, H a tenth more than
/// their largest distance beyond its ends, both in units of the bone's length
/// (at least 0.05).
void FitBlendingParameters(Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions,
                           const std::vector<VertexInfluences>& influences);

AnchorCoverage CountAnchorsPerVertex(const Skeleton& skeleton, const std::vector<D3DXVECTOR3>& positions);
}  // namespace posewright
