#include "weighttools/MirrorVertices.h"

#include <algorithm>
#include <cmath>
#include <nanoflann.hpp>

#include "weighttools/ParallelRanges.h"

namespace {
// The positions as nanoflann's dataset.
struct PositionCloud {
  std::span<const SkinVertex> vertices;

  std::size_t kdtree_get_point_count() const { return vertices.size(); }
  float kdtree_get_pt(std::size_t i, std::size_t dim) const {
    const D3DXVECTOR3& p = vertices[i].position;
    return dim == 0 ? p.x : dim == 1 ? p.y : p.z;
  }
  template <class Box>
  bool kdtree_get_bbox(Box&) const {
    return false;
  }
};

using PositionTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, PositionCloud>, PositionCloud, 3, uint32_t>;

// Queries are cheap: give each thread a good share or none.
constexpr std::size_t kMinimumQueriesPerThread = 4096;
constexpr std::size_t kLeafSize = 16;
}  // namespace

float BoundingBoxDiagonal(std::span<const SkinVertex> vertices) {
  if (vertices.empty()) return 0.0f;
  D3DXVECTOR3 lo = vertices[0].position;
  D3DXVECTOR3 hi = lo;
  for (const SkinVertex& v : vertices) {
    lo.x = std::min(lo.x, v.position.x);
    lo.y = std::min(lo.y, v.position.y);
    lo.z = std::min(lo.z, v.position.z);
    hi.x = std::max(hi.x, v.position.x);
    hi.y = std::max(hi.y, v.position.y);
    hi.z = std::max(hi.z, v.position.z);
  }
  const double dx = hi.x - lo.x;
  const double dy = hi.y - lo.y;
  const double dz = hi.z - lo.z;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

std::vector<uint32_t> FindMirrorVertices(std::span<const SkinVertex> vertices, float tolerance, unsigned threads) {
  std::vector<uint32_t> mirror(vertices.size(), kNoMirrorVertex);
  if (vertices.empty()) return mirror;
  const PositionCloud cloud{vertices};
  const PositionTree tree(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(kLeafSize));
  const float limit = tolerance * tolerance;
  ParallelRanges(vertices.size(), ThreadsForItems(threads, vertices.size(), kMinimumQueriesPerThread),
                 [&](std::size_t begin, std::size_t end, unsigned) {
                   for (std::size_t v = begin; v < end; ++v) {
                     const D3DXVECTOR3& p = vertices[v].position;
                     if (std::abs(p.x) <= tolerance) {
                       mirror[v] = static_cast<uint32_t>(v);
                       continue;
                     }
                     const float query[3] = {-p.x, p.y, p.z};
                     uint32_t found = 0;
                     float distance = 0.0f;
                     if (tree.knnSearch(query, 1, &found, &distance) == 0 || !(distance <= limit)) continue;
                     const float x = vertices[found].position.x;
                     // Off the plane and on the other side.
                     if (std::abs(x) > tolerance && (x > 0.0f) != (p.x > 0.0f)) mirror[v] = found;
                   }
                 });
  return mirror;
}
