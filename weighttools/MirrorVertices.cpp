#include "weighttools/MirrorVertices.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <nanoflann.hpp>
#include <optional>

#include "weighttools/MeshPoints.h"
#include "weighttools/ParallelRanges.h"

namespace posewright {

namespace {
// The distinct positions (each point's first vertex) as nanoflann's dataset.
struct PointCloud {
  std::span<const SkinVertex> vertices;
  const std::vector<uint32_t>& firstVertex;

  std::size_t kdtree_get_point_count() const { return firstVertex.size(); }
  float kdtree_get_pt(std::size_t i, std::size_t dim) const {
    const D3DXVECTOR3& p = vertices[firstVertex[i]].position;
    return dim == 0 ? p.x : dim == 1 ? p.y : p.z;
  }
  template <class Box>
  bool kdtree_get_bbox(Box&) const {
    return false;
  }
};

using PointTree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, PointCloud>,
                                                      PointCloud, 3, uint32_t>;

// Queries are cheap: give each thread a good share or none.
constexpr std::size_t kMinimumQueriesPerThread = 4096;
constexpr std::size_t kLeafSize = 16;
// Up to this many points without an exact mirror are searched without a tree.
constexpr std::size_t kMostScannedPoints = 64;
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

std::vector<uint32_t> FindMirrorVertices(std::span<const SkinVertex> vertices, float tolerance,
                                         unsigned threads) {
  std::vector<uint32_t> mirror(vertices.size(), kNoMirrorVertex);
  if (vertices.empty()) return mirror;
  const MeshPoints points = WeldPositions(vertices);
  const std::size_t pointCount = points.pointCount();
  // The mirror point of every point off the plane: the point at exactly the
  // mirror position when there is one (symmetric models are built so), else
  // the nearest point within the tolerance.
  const float limit = tolerance * tolerance;
  std::vector<uint32_t> mirrorPoint(pointCount, kNoPoint);
  auto acceptable = [&](std::size_t p, uint32_t found) {
    const float x = vertices[points.firstVertex[found]].position.x;
    const float own = vertices[points.firstVertex[p]].position.x;
    return std::abs(x) > tolerance && (x > 0.0f) != (own > 0.0f);  // off the plane, on the other side
  };
  const unsigned lookupThreads = ThreadsForItems(threads, pointCount, kMinimumQueriesPerThread);
  std::vector<std::vector<uint32_t>> unmatchedOf(lookupThreads);
  ParallelRanges(pointCount, lookupThreads, [&](std::size_t begin, std::size_t end, unsigned part) {
    for (std::size_t p = begin; p < end; ++p) {
      const D3DXVECTOR3& at = vertices[points.firstVertex[p]].position;
      if (std::abs(at.x) <= tolerance) continue;
      const uint32_t exact = points.pointAt(vertices, D3DXVECTOR3(-at.x, at.y, at.z));
      if (exact != kNoPoint && acceptable(p, exact)) {
        mirrorPoint[p] = exact;
      } else {
        unmatchedOf[part].push_back(static_cast<uint32_t>(p));
      }
    }
  });
  std::vector<uint32_t> unmatched;
  for (const std::vector<uint32_t>& part : unmatchedOf)
    unmatched.insert(unmatched.end(), part.begin(), part.end());

  // The point nearest to a position, or kNoPoint when it lies beyond the tolerance.
  std::function<uint32_t(const float*)> nearest;
  std::optional<PointTree> tree;
  const PointCloud cloud{vertices, points.firstVertex};
  if (unmatched.size() <= kMostScannedPoints) {
    // A few points without an exact mirror (the model's unpaired edges) are
    // cheaper to look for one by one than a tree is to build.
    nearest = [&](const float* q) {
      uint32_t best = kNoPoint;
      float bestDistance = std::numeric_limits<float>::infinity();
      for (uint32_t k = 0; k < pointCount; ++k) {
        const D3DXVECTOR3& at = vertices[points.firstVertex[k]].position;
        const float dx = at.x - q[0], dy = at.y - q[1], dz = at.z - q[2];
        const float distance = dx * dx + dy * dy + dz * dz;
        if (distance < bestDistance) {
          bestDistance = distance;
          best = k;
        }
      }
      return bestDistance <= limit ? best : kNoPoint;
    };
  } else {
    tree.emplace(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(kLeafSize));
    nearest = [&](const float* q) {
      uint32_t found = 0;
      float distance = 0.0f;
      return tree->knnSearch(q, 1, &found, &distance) == 1 && distance <= limit ? found : kNoPoint;
    };
  }
  ParallelRanges(unmatched.size(), ThreadsForItems(threads, unmatched.size(), kMinimumQueriesPerThread),
                 [&](std::size_t begin, std::size_t end, unsigned) {
                   for (std::size_t i = begin; i < end; ++i) {
                     const uint32_t p = unmatched[i];
                     const D3DXVECTOR3& at = vertices[points.firstVertex[p]].position;
                     const float query[3] = {-at.x, at.y, at.z};
                     const uint32_t found = nearest(query);
                     if (found != kNoPoint && acceptable(p, found)) mirrorPoint[p] = found;
                   }
                 });

  // The vertices of every point in vertex order, then paired rank by rank.
  std::vector<uint32_t> start(pointCount + 1, 0);
  for (uint32_t p : points.pointOf) ++start[p + 1];
  for (std::size_t p = 0; p < pointCount; ++p) start[p + 1] += start[p];
  std::vector<uint32_t> members(vertices.size());
  std::vector<uint32_t> fill(start.begin(), start.end() - 1);
  for (std::size_t v = 0; v < vertices.size(); ++v)
    members[fill[points.pointOf[v]]++] = static_cast<uint32_t>(v);
  for (std::size_t v = 0; v < vertices.size(); ++v) {
    const uint32_t p = points.pointOf[v];
    if (std::abs(vertices[v].position.x) <= tolerance) {
      mirror[v] = static_cast<uint32_t>(v);
      continue;
    }
    const uint32_t q = mirrorPoint[p];
    if (q == kNoPoint) continue;
    // v's rank among its point's vertices (they are few), the same rank at q.
    uint32_t rank = 0;
    while (members[start[p] + rank] != v) ++rank;
    mirror[v] = start[q] + rank < start[q + 1] ? members[start[q] + rank] : members[start[q]];
  }
  return mirror;
}
}  // namespace posewright
