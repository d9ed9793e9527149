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
  normalX_.assign(padded_, 0.0f);
  normalY_.assign(padded_, 0.0f);
  normalZ_.assign(padded_, 0.0f);
  for (std::size_t k = 0; k < count; ++k) {
    Face& face = faces_[k];
    face.centroid = Centroid(anchor, k);
    face.normal = anchor.faceNormals[k];
    face.corner = Corner(anchor, k, 0);
    face.edgeA = Corner(anchor, k, 1) - face.corner;
    face.edgeB = Corner(anchor, k, 2) - face.corner;
    face.det = DeterminantXY(face.edgeA, face.edgeB);
    normalX_[k] = face.normal.x;
    normalY_[k] = face.normal.y;
    normalZ_[k] = face.normal.z;
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

bool AnchorContainment::containsInBox(const D3DXVECTOR3& p, float* rowScratch) const {
  if (!usable_) {
    return false;
  }
  const FloatLanes zero = FloatLanes::Broadcast(0.0f);
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
    const FloatLanes dx = FloatLanes::Broadcast(d.x);
    const FloatLanes dy = FloatLanes::Broadcast(d.y);
    const FloatLanes dz = FloatLanes::Broadcast(d.z);
    bool blocked = false;
    for (std::size_t g0 = 0; g0 < padded_ && !blocked; g0 += FloatLanes::kCount) {
      // The same sums as D3DXVec3Dot(d, normal g), four faces at a time.
      const FloatLanes den = dx * FloatLanes::Load(&normalX_[g0]) + dy * FloatLanes::Load(&normalY_[g0]) +
                             dz * FloatLanes::Load(&normalZ_[g0]);
      const FloatLanes num = FloatLanes::Load(row + g0);
      // The crossing parameter num / den can only fall strictly between 0 and 1
      // when both have the same sign and |num| < |den|; no other face can block.
      unsigned candidates =
          (LessMask(zero, num) & LessMask(num, den)) | (LessMask(num, zero) & LessMask(den, num));
      while (candidates != 0 && !blocked) {
        const std::size_t g = g0 + static_cast<std::size_t>(__builtin_ctz(candidates));
        candidates &= candidates - 1;
        const Face& other = faces_[g];
        blocked = BlocksSegment(row[g], D3DXVec3Dot(&d, &other.normal), p, face.centroid, other.corner,
                                other.edgeA, other.edgeB, other.det);
      }
    }
    if (!blocked) {
      return D3DXVec3Dot(&d, &face.normal) <= 0.0f;
    }
  }
  return true;
}
