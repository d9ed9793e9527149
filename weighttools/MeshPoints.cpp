#include "weighttools/MeshPoints.h"

#include <algorithm>
#include <bit>

#include "weighttools/BoneWeights.h"
#include "weighttools/WeightTool.h"

namespace posewright {

namespace {

// The bits of a coordinate, with −0 taken as +0 so that equal values weld.
uint32_t Bits(float f) {
  return f == 0.0f ? 0u : std::bit_cast<uint32_t>(f);
}

uint64_t Hash(uint32_t x, uint32_t y, uint32_t z) {
  uint64_t h = x * 0x9E3779B97F4A7C15ull;
  h ^= (h >> 29) + y * 0xBF58476D1CE4E5B9ull;
  h ^= (h >> 31) + z * 0x94D049BB133111EBull;
  return h ^ (h >> 32);
}

bool SamePosition(const D3DXVECTOR3& p, uint32_t x, uint32_t y, uint32_t z) {
  return Bits(p.x) == x && Bits(p.y) == y && Bits(p.z) == z;
}

// Welds vertices by position with an open-addressing table of points.
void FindPoints(std::span<const SkinVertex> vertices, MeshPoints& mesh) {
  const std::size_t n = vertices.size();
  std::size_t capacity = 16;
  while (capacity < 2 * n) capacity *= 2;
  std::vector<uint32_t>& table = mesh.positionTable;
  table.assign(capacity, kNoPoint);
  mesh.pointOf.resize(n);
  mesh.firstVertex.clear();
  mesh.firstVertex.reserve(n);
  for (std::size_t v = 0; v < n; ++v) {
    const D3DXVECTOR3& p = vertices[v].position;
    const uint32_t x = Bits(p.x), y = Bits(p.y), z = Bits(p.z);
    std::size_t slot = Hash(x, y, z) & (capacity - 1);
    for (;; slot = (slot + 1) & (capacity - 1)) {
      const uint32_t point = table[slot];
      if (point == kNoPoint) {
        table[slot] = static_cast<uint32_t>(mesh.firstVertex.size());
        mesh.pointOf[v] = table[slot];
        mesh.firstVertex.push_back(static_cast<uint32_t>(v));
        break;
      }
      if (SamePosition(vertices[mesh.firstVertex[point]].position, x, y, z)) {
        mesh.pointOf[v] = point;
        break;
      }
    }
  }
}

// Neighbour lists from the face edges: counted, filled, then each list
// stripped of its repeats (an edge shared by two faces) in place.
void FindNeighbours(std::span<const uint16_t> indices, std::size_t vertexCount, MeshPoints& mesh) {
  const std::size_t points = mesh.pointCount();
  std::vector<uint32_t> count(points + 1, 0);
  auto forEachEdge = [&](auto&& edge) {
    for (std::size_t f = 0; f + 2 < indices.size(); f += 3) {
      if (indices[f] >= vertexCount || indices[f + 1] >= vertexCount || indices[f + 2] >= vertexCount)
        continue;
      for (int e = 0; e < 3; ++e) {
        const uint32_t a = mesh.pointOf[indices[f + static_cast<std::size_t>(e)]];
        const uint32_t b = mesh.pointOf[indices[f + static_cast<std::size_t>((e + 1) % 3)]];
        if (a != b) edge(a, b);
      }
    }
  };
  forEachEdge([&](uint32_t a, uint32_t b) {
    ++count[a + 1];
    ++count[b + 1];
  });
  for (std::size_t p = 0; p < points; ++p) count[p + 1] += count[p];
  std::vector<uint32_t>& all = mesh.neighbours;
  all.assign(count[points], 0);
  std::vector<uint32_t> fill(count.begin(), count.end() - 1);
  forEachEdge([&](uint32_t a, uint32_t b) {
    all[fill[a]++] = b;
    all[fill[b]++] = a;
  });
  // Compacted in place: the kept entries of a list never pass its start.
  std::vector<uint32_t> seenBy(points, kNoPoint);
  mesh.neighbourStart.assign(points + 1, 0);
  uint32_t kept = 0;
  for (std::size_t p = 0; p < points; ++p) {
    for (uint32_t k = count[p]; k < count[p + 1]; ++k) {
      const uint32_t q = all[k];
      if (seenBy[q] == p) continue;
      seenBy[q] = static_cast<uint32_t>(p);
      all[kept++] = q;
    }
    mesh.neighbourStart[p + 1] = kept;
  }
  all.resize(kept);
}
}  // namespace

uint32_t MeshPoints::pointAt(std::span<const SkinVertex> vertices, const D3DXVECTOR3& p) const {
  if (positionTable.empty()) return kNoPoint;
  const uint32_t x = Bits(p.x), y = Bits(p.y), z = Bits(p.z);
  const std::size_t mask = positionTable.size() - 1;
  for (std::size_t slot = Hash(x, y, z) & mask;; slot = (slot + 1) & mask) {
    const uint32_t point = positionTable[slot];
    if (point == kNoPoint || SamePosition(vertices[firstVertex[point]].position, x, y, z)) return point;
  }
}

MeshPoints WeldPositions(std::span<const SkinVertex> vertices) {
  MeshPoints mesh;
  FindPoints(vertices, mesh);
  mesh.neighbourStart.assign(mesh.pointCount() + 1, 0);
  return mesh;
}

MeshPoints BuildMeshPoints(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices) {
  MeshPoints mesh;
  FindPoints(vertices, mesh);
  FindNeighbours(indices, vertices.size(), mesh);
  return mesh;
}

double EdgeWeightDifference(std::span<const SkinVertex> vertices, std::span<const uint16_t> indices) {
  const MeshPoints mesh = BuildMeshPoints(vertices, indices);
  std::vector<BoneWeightSet> weights(mesh.pointCount());
  for (std::size_t p = 0; p < mesh.pointCount(); ++p) {
    weights[p] = ReadBoneWeights(WeightsOf(vertices[mesh.firstVertex[p]]));
  }
  double total = 0.0;
  for (std::size_t p = 0; p < mesh.pointCount(); ++p) {
    const BoneWeightSet& a = weights[p];
    if (a.count == 0) continue;
    for (uint32_t k = mesh.neighbourStart[p]; k < mesh.neighbourStart[p + 1]; ++k) {
      const uint32_t q = mesh.neighbours[k];
      const BoneWeightSet& b = weights[q];
      if (q < p || b.count == 0) continue;  // each edge once
      for (int i = 0; i < a.count; ++i) {
        const BoneWeight& x = a.items[static_cast<std::size_t>(i)];
        const double d = static_cast<double>(x.weight) - static_cast<double>(b.weightOf(x.bone));
        total += d * d;
      }
      for (int i = 0; i < b.count; ++i) {
        const BoneWeight& y = b.items[static_cast<std::size_t>(i)];
        if (a.weightOf(y.bone) == 0.0f)
          total += static_cast<double>(y.weight) * static_cast<double>(y.weight);
      }
    }
  }
  return total;
}
}  // namespace posewright
