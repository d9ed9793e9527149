#include "skin/AnchorContainment.h"

#include "skin/FloatLanes.h"

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

AnchorContainment::AnchorContainment(const BoneAnchor& anchor)
    : usable_(AnchorIsUsable(anchor)), boxMin_(anchor.boxMin), boxMax_(anchor.boxMax) {
  if (!usable_) {
    return;
  }
  const std::size_t count = anchor.faces.size();
  padded_ = PaddedLaneCount(count);
  faces_.resize(count);
  planes_.assign(kPlanes * padded_, 0.0f);
  auto set = [&](Plane which, std::size_t k, float value) {
    planes_[static_cast<std::size_t>(which) * padded_ + k] = value;
  };
  for (std::size_t k = 0; k < count; ++k) {
    Face& face = faces_[k];
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
    numerators_.resize(count * padded_);
    for (std::size_t f = 0; f < count; ++f) {
      fillRow(f, &numerators_[f * padded_]);
    }
  }
}

std::size_t AnchorContainment::RowScratchSize(const BoneAnchor& anchor) {
  return anchor.faces.size() > kMaxTabledFaces ? PaddedLaneCount(anchor.faces.size()) : 0;
}

void AnchorContainment::fillRow(std::size_t f, float* row) const {
  const D3DXVECTOR3& from = faces_[f].centroid;
  for (std::size_t g = 0; g < padded_; ++g) {
    if (g == f || g >= faces_.size()) {
      row[g] = 0.0f;
      continue;
    }
    const D3DXVECTOR3 toOther = faces_[g].centroid - from;
    row[g] = D3DXVec3Dot(&toOther, &faces_[g].normal);
  }
}

bool AnchorContainment::inBox(const D3DXVECTOR3& p) const {
  return InBox(p, boxMin_, boxMax_);
}

bool AnchorContainment::contains(const D3DXVECTOR3& p) const {
  if (!usable_ || !inBox(p)) {
    return false;
  }
  if (numerators_.empty()) {
    std::vector<float> row(padded_);
    return containsInBox(p, row.data());
  }
  return containsInBox(p, nullptr);
}

// Built twice, for the baseline target and for AVX, and picked by the
// processor at load time: the lanes are then one 256-bit register each.
__attribute__((target_clones("avx", "default"))) bool AnchorContainment::containsInBox(
    const D3DXVECTOR3& p, float* rowScratch) const {
  if (!usable_) {
    return false;
  }
  const FloatLanes zero = {};
  const std::size_t count = faces_.size();
  for (std::size_t f = 0; f < count; ++f) {
    const Face& face = faces_[f];
    const D3DXVECTOR3 d = p - face.centroid;
    const float* row = rowScratch;
    if (numerators_.empty()) {
      fillRow(f, rowScratch);
    } else {
      row = &numerators_[f * padded_];
    }
    bool blocked = false;
    // Eight faces g at a time, each lane computing exactly what BlocksSegment
    // computes for its face.
    for (std::size_t g = 0; g < padded_ && !blocked; g += kLaneCount) {
      FloatLanes nx, ny, nz, num;
      LoadLanes(nx, plane(kNormalX) + g);
      LoadLanes(ny, plane(kNormalY) + g);
      LoadLanes(nz, plane(kNormalZ) + g);
      LoadLanes(num, row + g);
      // The same sums as D3DXVec3Dot(d, normal g).
      const FloatLanes den = d.x * nx + d.y * ny + d.z * nz;
      // The crossing parameter num / den can only fall strictly between 0 and 1
      // when both have the same sign and |num| < |den|: a cheap first sieve.
      if (!AnyLane(((zero < num) & (num < den)) | ((num < zero) & (den < num)))) {
        continue;
      }
      const FloatLanes t = num / den;
      LaneMask blocking = (zero < t) & (t < 1.0f);
      if (!AnyLane(blocking)) {
        continue;
      }
      FloatLanes cornerX, cornerY, edgeAX, edgeAY, edgeBX, edgeBY, det;
      LoadLanes(cornerX, plane(kCornerX) + g);
      LoadLanes(cornerY, plane(kCornerY) + g);
      LoadLanes(edgeAX, plane(kEdgeAX) + g);
      LoadLanes(edgeAY, plane(kEdgeAY) + g);
      LoadLanes(edgeBX, plane(kEdgeBX) + g);
      LoadLanes(edgeBY, plane(kEdgeBY) + g);
      LoadLanes(det, plane(kDet) + g);
      const FloatLanes rest = 1.0f - t;
      const FloatLanes wx = (p.x * t + face.centroid.x * rest) - cornerX;
      const FloatLanes wy = (p.y * t + face.centroid.y * rest) - cornerY;
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
