#include "weights/AnchorContainment.h"

#include "weights/FloatLanes.h"

namespace posewright {

namespace {
// 1/3 rounded to single precision (0.33333334).
constexpr float kOneThird = 1.0f / 3.0f;

bool InBox(const D3DXVECTOR3& p, const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) {
  return p.x >= boxMin.x && p.x <= boxMax.x && p.y >= boxMin.y && p.y <= boxMax.y && p.z >= boxMin.z &&
         p.z <= boxMax.z;
}

D3DXVECTOR3 Corner(const BoneAnchor& anchor, std::size_t face, std::size_t corner) {
  return anchor.vertices[static_cast<std::size_t>(anchor.faces[face][corner])];
}

D3DXVECTOR3 Centroid(const BoneAnchor& anchor, std::size_t face) {
  return (Corner(anchor, face, 0) + Corner(anchor, face, 1) + Corner(anchor, face, 2)) * kOneThird;
}

// Area of the parallelogram of a and b in the XY plane (z is not used).
float DeterminantXY(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a.x * b.y - a.y * b.x;
}

// Whether a face (first corner, edges a and b from it, their XY determinant)
// blocks the segment from c to p, which meets the face's plane at parameter
// numerator / denominator. A zero denominator or determinant makes a quotient
// infinite or undefined, and then every comparison fails: no block.
bool BlocksSegment(float numerator, float denominator, const D3DXVECTOR3& p, const D3DXVECTOR3& c,
                   const D3DXVECTOR3& corner, const D3DXVECTOR3& a, const D3DXVECTOR3& b, float det) {
  const float t = numerator / denominator;
  if (!(t > 0.0f && t < 1.0f)) {
    return false;
  }
  const D3DXVECTOR3 x = p * t + c * (1.0f - t);
  const D3DXVECTOR3 w = x - corner;
  const float u = (b.y * w.x - b.x * w.y) / det;
  const float v = (a.x * w.y - a.y * w.x) / det;
  return u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f;
}
}  // namespace

bool AnchorIsUsable(const BoneAnchor& anchor) {
  if (anchor.faces.empty() || anchor.faceNormals.size() != anchor.faces.size()) {
    return false;
  }
  const int32_t n = anchor.vertexCount();
  for (const auto& face : anchor.faces) {
    for (int32_t index : face) {
      if (index < 0 || index >= n) return false;
    }
  }
  return true;
}

bool Contains(const D3DXVECTOR3& p, const BoneAnchor& anchor) {
  if (!InBox(p, anchor.boxMin, anchor.boxMax) || !AnchorIsUsable(anchor)) {
    return false;
  }
  const std::size_t count = anchor.faces.size();
  std::vector<D3DXVECTOR3> centroids(count);
  for (std::size_t k = 0; k < count; ++k) {
    centroids[k] = Centroid(anchor, k);
  }
  for (std::size_t f = 0; f < count; ++f) {
    const D3DXVECTOR3 d = p - centroids[f];
    bool blocked = false;
    for (std::size_t g = 0; g < count && !blocked; ++g) {
      if (g == f) continue;
      const D3DXVECTOR3& normal = anchor.faceNormals[g];
      const D3DXVECTOR3 toOther = centroids[g] - centroids[f];
      const D3DXVECTOR3 corner = Corner(anchor, g, 0);
      const D3DXVECTOR3 a = Corner(anchor, g, 1) - corner;
      const D3DXVECTOR3 b = Corner(anchor, g, 2) - corner;
      blocked = BlocksSegment(D3DXVec3Dot(&toOther, &normal), D3DXVec3Dot(&d, &normal), p, centroids[f],
                              corner, a, b, DeterminantXY(a, b));
    }
    if (!blocked) {
      return D3DXVec3Dot(&d, &anchor.faceNormals[f]) <= 0.0f;
    }
  }
  return true;
}

namespace {
enum Plane {
  kNormalX,
  kNormalY,
  kNormalZ,
  kCornerX,
  kCornerY,
  kEdgeAX,
  kEdgeAY,
  kEdgeBX,
  kEdgeBY,
  kDet,
  kPlanes
};

const float* PlaneOf(const AnchorTables& t, Plane which) {
  return &t.planes[static_cast<std::size_t>(which) * t.padded];
}

// Row f of the numerators: (centroid g − centroid f) · normal g.
void FillRow(const AnchorTables& t, std::size_t f, float* row) {
  const D3DXVECTOR3& from = t.faces[f].centroid;
  for (std::size_t g = 0; g < t.padded; ++g) {
    if (g == f || g >= t.faces.size()) {
      row[g] = 0.0f;
      continue;
    }
    const D3DXVECTOR3 toOther = t.faces[g].centroid - from;
    row[g] = D3DXVec3Dot(&toOther, &t.faces[g].normal);
  }
}

// The test after the box: for every face f in order until one has a clear
// view of p, whether any face g blocks it, eight faces g at a time, each lane
// computing exactly what BlocksSegment computes for its face. Inlined into one
// function per instruction set below.
__attribute__((always_inline)) inline bool ClearViewTest(const AnchorTables& t, const D3DXVECTOR3& p,
                                                         float* rowScratch) {
  const FloatLanes zero = {};
  const std::size_t count = t.faces.size();
  for (std::size_t f = 0; f < count; ++f) {
    const AnchorTables::Face& face = t.faces[f];
    const D3DXVECTOR3 d = p - face.centroid;
    const float* row = rowScratch;
    if (t.numerators.empty()) {
      FillRow(t, f, rowScratch);
    } else {
      row = &t.numerators[f * t.padded];
    }
    bool blocked = false;
    for (std::size_t g = 0; g < t.padded && !blocked; g += kLaneCount) {
      FloatLanes nx, ny, nz, num;
      LoadLanes(nx, PlaneOf(t, kNormalX) + g);
      LoadLanes(ny, PlaneOf(t, kNormalY) + g);
      LoadLanes(nz, PlaneOf(t, kNormalZ) + g);
      LoadLanes(num, row + g);
      // The same sums as D3DXVec3Dot(d, normal g).
      const FloatLanes den = d.x * nx + d.y * ny + d.z * nz;
      // The crossing parameter num / den can only fall strictly between 0 and 1
      // when both have the same sign and |num| < |den|: a cheap first sieve.
      if (!AnyLane(((zero < num) & (num < den)) | ((num < zero) & (den < num)))) {
        continue;
      }
      const FloatLanes tc = num / den;
      LaneMask blocking = (zero < tc) & (tc < 1.0f);
      if (!AnyLane(blocking)) {
        continue;
      }
      FloatLanes cornerX, cornerY, edgeAX, edgeAY, edgeBX, edgeBY, det;
      LoadLanes(cornerX, PlaneOf(t, kCornerX) + g);
      LoadLanes(cornerY, PlaneOf(t, kCornerY) + g);
      LoadLanes(edgeAX, PlaneOf(t, kEdgeAX) + g);
      LoadLanes(edgeAY, PlaneOf(t, kEdgeAY) + g);
      LoadLanes(edgeBX, PlaneOf(t, kEdgeBX) + g);
      LoadLanes(edgeBY, PlaneOf(t, kEdgeBY) + g);
      LoadLanes(det, PlaneOf(t, kDet) + g);
      const FloatLanes rest = 1.0f - tc;
      const FloatLanes wx = (p.x * tc + face.centroid.x * rest) - cornerX;
      const FloatLanes wy = (p.y * tc + face.centroid.y * rest) - cornerY;
      const FloatLanes u = (edgeBY * wx - edgeBX * wy) / det;
      const FloatLanes v = (edgeAX * wy - edgeAY * wx) / det;
      blocking &= (zero <= u) & (u <= 1.0f) & (zero <= v) & (v <= 1.0f);
      blocked = AnyLane(blocking);
    }
    if (!blocked) {
      return D3DXVec3Dot(&d, &face.normal) <= 0.0f;
    }
  }
  return true;
}

bool ClearViewTestBaseline(const AnchorTables& t, const D3DXVECTOR3& p, float* rowScratch) {
  return ClearViewTest(t, p, rowScratch);
}

#if defined(__x86_64__) || defined(__i386__)
// The lanes in one 256-bit register. The target has no fused multiply-add, so
// the arithmetic stays that of the baseline.
__attribute__((target("avx"))) bool ClearViewTestAvx(const AnchorTables& t, const D3DXVECTOR3& p,
                                                     float* rowScratch) {
  return ClearViewTest(t, p, rowScratch);
}
#endif

using ClearViewFunction = bool (*)(const AnchorTables&, const D3DXVECTOR3&, float*);

ClearViewFunction ChooseClearViewTest() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx")) {
    return ClearViewTestAvx;
  }
#endif
  return ClearViewTestBaseline;
}

// The variant for this processor, chosen on first use.
bool RunClearViewTest(const AnchorTables& t, const D3DXVECTOR3& p, float* rowScratch) {
  static const ClearViewFunction chosen = ChooseClearViewTest();
  return chosen(t, p, rowScratch);
}
}  // namespace

AnchorContainment::AnchorContainment(const BoneAnchor& anchor)
    : usable_(AnchorIsUsable(anchor)), boxMin_(anchor.boxMin), boxMax_(anchor.boxMax) {
  if (!usable_) {
    return;
  }
  AnchorTables& t = tables_;
  const std::size_t count = anchor.faces.size();
  t.padded = PaddedLaneCount(count);
  t.faces.resize(count);
  t.planes.assign(kPlanes * t.padded, 0.0f);
  auto set = [&](Plane which, std::size_t k, float value) {
    t.planes[static_cast<std::size_t>(which) * t.padded + k] = value;
  };
  for (std::size_t k = 0; k < count; ++k) {
    AnchorTables::Face& face = t.faces[k];
    face.centroid = Centroid(anchor, k);
    face.normal = anchor.faceNormals[k];
    const D3DXVECTOR3 corner = Corner(anchor, k, 0);
    const D3DXVECTOR3 edgeA = Corner(anchor, k, 1) - corner;
    const D3DXVECTOR3 edgeB = Corner(anchor, k, 2) - corner;
    set(kNormalX, k, face.normal.x);
    set(kNormalY, k, face.normal.y);
    set(kNormalZ, k, face.normal.z);
    set(kCornerX, k, corner.x);
    set(kCornerY, k, corner.y);
    set(kEdgeAX, k, edgeA.x);
    set(kEdgeAY, k, edgeA.y);
    set(kEdgeBX, k, edgeB.x);
    set(kEdgeBY, k, edgeB.y);
    set(kDet, k, DeterminantXY(edgeA, edgeB));
  }
  if (count <= kMaxTabledFaces) {
    t.numerators.resize(count * t.padded);
    for (std::size_t f = 0; f < count; ++f) {
      FillRow(t, f, &t.numerators[f * t.padded]);
    }
  }
}

std::size_t AnchorContainment::RowScratchSize(const BoneAnchor& anchor) {
  return anchor.faces.size() > kMaxTabledFaces ? PaddedLaneCount(anchor.faces.size()) : 0;
}

bool AnchorContainment::inBox(const D3DXVECTOR3& p) const {
  return InBox(p, boxMin_, boxMax_);
}

bool AnchorContainment::containsInBox(const D3DXVECTOR3& p, float* rowScratch) const {
  return usable_ && RunClearViewTest(tables_, p, rowScratch);
}

bool AnchorContainment::contains(const D3DXVECTOR3& p) const {
  if (!usable_ || !inBox(p)) {
    return false;
  }
  if (tables_.numerators.empty()) {
    std::vector<float> row(tables_.padded);
    return containsInBox(p, row.data());
  }
  return containsInBox(p, nullptr);
}
}  // namespace posewright
