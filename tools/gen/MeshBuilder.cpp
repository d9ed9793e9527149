#include "tools/gen/MeshBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

#include "importer/Quantize.h"

namespace posewright {

namespace {
constexpr float kPi = 3.14159265358979323846f;

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 r;
  D3DXVec3Cross(&r, &a, &b);
  return r;
}

// Sum of the fan triangles' cross products: twice the area, along the normal.
D3DXVECTOR3 PolygonNormal(const GenMesh& mesh, std::size_t start, uint32_t size) {
  D3DXVECTOR3 n;
  const D3DXVECTOR3& p0 = mesh.vertices[mesh.polygonIndices[start]].position;
  for (uint32_t k = 1; k + 1 < size; ++k) {
    const D3DXVECTOR3& p1 = mesh.vertices[mesh.polygonIndices[start + k]].position;
    const D3DXVECTOR3& p2 = mesh.vertices[mesh.polygonIndices[start + k + 1]].position;
    n += Cross(p1 - p0, p2 - p0);
  }
  return n;
}

std::array<uint32_t, 3> PositionKey(const D3DXVECTOR3& p) {
  std::array<uint32_t, 3> bits;
  std::memcpy(bits.data(), &p, sizeof bits);
  return bits;
}
}  // namespace

uint32_t MeshBuilder::addVertex(const D3DXVECTOR3& position, float u, float v) {
  MeshVertex vertex;
  vertex.position = Quantize6(position);
  vertex.u = Quantize6(u);
  vertex.v = Quantize6(v);
  mesh_.vertices.push_back(vertex);
  return static_cast<uint32_t>(mesh_.vertices.size() - 1);
}

void MeshBuilder::addPolygon(std::initializer_list<uint32_t> corners, const D3DXVECTOR3& interior,
                             const MaterialFunction& material) {
  const std::size_t start = mesh_.polygonIndices.size();
  mesh_.polygonIndices.insert(mesh_.polygonIndices.end(), corners.begin(), corners.end());
  const uint32_t size = static_cast<uint32_t>(corners.size());
  D3DXVECTOR3 centroid;
  for (uint32_t c : corners) {
    centroid += mesh_.vertices[c].position;
  }
  centroid *= 1.0f / static_cast<float>(size);
  const D3DXVECTOR3 n = PolygonNormal(mesh_, start, size);
  const D3DXVECTOR3 out = centroid - interior;
  if (D3DXVec3Dot(&n, &out) < 0.0f) {
    std::reverse(mesh_.polygonIndices.begin() + static_cast<std::ptrdiff_t>(start),
                 mesh_.polygonIndices.end());
  }
  mesh_.polygonSizes.push_back(size);
  mesh_.polygonMaterials.push_back(material(centroid));
}

void MeshBuilder::addTube(const TubeSpec& tube, const TexVFunction& texV, const MaterialFunction& material) {
  const int sides = tube.sides;
  const std::size_t ringCount = tube.rings.size();
  const uint32_t first = vertexCount();
  for (const TubeRing& ring : tube.rings) {
    for (int k = 0; k <= sides; ++k) {
      const float angle = 2.0f * kPi * static_cast<float>(k % sides) / static_cast<float>(sides);
      const D3DXVECTOR3 p =
          ring.centre + tube.u * (ring.ru * std::cos(angle)) + tube.v * (ring.rv * std::sin(angle));
      addVertex(p, static_cast<float>(k) / static_cast<float>(sides), texV(p));
    }
  }
  const uint32_t stride = static_cast<uint32_t>(sides + 1);
  auto at = [&](std::size_t ring, int k) {
    return first + static_cast<uint32_t>(ring) * stride + static_cast<uint32_t>(k);
  };
  for (std::size_t r = 0; r + 1 < ringCount; ++r) {
    const D3DXVECTOR3 interior = (tube.rings[r].centre + tube.rings[r + 1].centre) * 0.5f;
    for (int k = 0; k < sides; ++k) {
      addPolygon({at(r, k), at(r, k + 1), at(r + 1, k + 1), at(r + 1, k)}, interior, material);
    }
  }
  const uint32_t back = addVertex(tube.poleBack, 0.5f, texV(tube.poleBack));
  const uint32_t front = addVertex(tube.poleFront, 0.5f, texV(tube.poleFront));
  const D3DXVECTOR3 backInterior = (tube.rings.front().centre + tube.poleBack) * 0.5f;
  const D3DXVECTOR3 frontInterior = (tube.rings.back().centre + tube.poleFront) * 0.5f;
  for (int k = 0; k < sides; ++k) {
    addPolygon({back, at(0, k), at(0, k + 1)}, backInterior, material);
    addPolygon({front, at(ringCount - 1, k + 1), at(ringCount - 1, k)}, frontInterior, material);
  }
}

void MeshBuilder::addEllipsoid(const D3DXVECTOR3& centre, const D3DXVECTOR3& radii, int slices, int stacks,
                               const TexVFunction& texV, const MaterialFunction& material) {
  TubeSpec tube;
  tube.u = D3DXVECTOR3(1, 0, 0);
  tube.v = D3DXVECTOR3(0, 0, 1);
  tube.sides = slices;
  for (int j = 1; j < stacks; ++j) {
    const float latitude = -0.5f * kPi + kPi * static_cast<float>(j) / static_cast<float>(stacks);
    TubeRing ring;
    ring.centre = centre + D3DXVECTOR3(0.0f, radii.y * std::sin(latitude), 0.0f);
    ring.ru = radii.x * std::cos(latitude);
    ring.rv = radii.z * std::cos(latitude);
    tube.rings.push_back(ring);
  }
  tube.poleBack = centre - D3DXVECTOR3(0.0f, radii.y, 0.0f);
  tube.poleFront = centre + D3DXVECTOR3(0.0f, radii.y, 0.0f);
  addTube(tube, texV, material);
}

void MeshBuilder::mirrorX(uint32_t firstVertex, std::size_t firstPolygon) {
  const uint32_t vertexEnd = vertexCount();
  const uint32_t offset = vertexEnd - firstVertex;
  for (uint32_t i = firstVertex; i < vertexEnd; ++i) {
    MeshVertex v = mesh_.vertices[i];
    v.position.x = v.position.x == 0.0f ? 0.0f : -v.position.x;
    mesh_.vertices.push_back(v);
  }
  std::size_t start = 0;
  for (std::size_t f = 0; f < firstPolygon; ++f) {
    start += mesh_.polygonSizes[f];
  }
  const std::size_t polygonEnd = mesh_.polygonSizes.size();
  for (std::size_t f = firstPolygon; f < polygonEnd; ++f) {
    const uint32_t size = mesh_.polygonSizes[f];
    for (uint32_t k = size; k-- > 0;) {
      mesh_.polygonIndices.push_back(mesh_.polygonIndices[start + k] + offset);
    }
    mesh_.polygonSizes.push_back(size);
    mesh_.polygonMaterials.push_back(mesh_.polygonMaterials[f]);
    start += size;
  }
}

void MeshBuilder::computeSmoothNormals() {
  std::vector<D3DXVECTOR3> sums(mesh_.vertices.size());
  std::size_t start = 0;
  for (uint32_t size : mesh_.polygonSizes) {
    const D3DXVECTOR3 n = PolygonNormal(mesh_, start, size);
    for (uint32_t k = 0; k < size; ++k) {
      sums[mesh_.polygonIndices[start + k]] += n;
    }
    start += size;
  }
  // Vertices at one position (texture seams) share one normal.
  std::map<std::array<uint32_t, 3>, D3DXVECTOR3> byPosition;
  for (std::size_t i = 0; i < mesh_.vertices.size(); ++i) {
    byPosition[PositionKey(mesh_.vertices[i].position)] += sums[i];
  }
  for (MeshVertex& v : mesh_.vertices) {
    D3DXVECTOR3 n;
    const D3DXVECTOR3 sum = byPosition[PositionKey(v.position)];
    D3DXVec3Normalize(&n, &sum);
    v.normal = Quantize6(n);
  }
}
}  // namespace posewright
