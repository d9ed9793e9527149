#include "importer/ConvexAnchor.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "importer/Quantize.h"

namespace posewright {

namespace {
constexpr float kTwoPi = 6.28318530717958647692f;

int32_t AddVertex(BoneAnchor& anchor, const D3DXVECTOR3& p) {
  anchor.vertices.push_back(Quantize6(p));
  return static_cast<int32_t>(anchor.vertices.size() - 1);
}

void AddFace(BoneAnchor& anchor, int32_t i0, int32_t i1, int32_t i2) {
  anchor.faces.push_back({i0, i1, i2});
}

struct Vec3d {
  double x, y, z;
};
Vec3d ToD(const D3DXVECTOR3& v) {
  return {v.x, v.y, v.z};
}
Vec3d Sub(const Vec3d& a, const Vec3d& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3d Cross(const Vec3d& a, const Vec3d& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const Vec3d& a, const Vec3d& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
}  // namespace

float RingAngle(int k, int n) {
  return kTwoPi * (static_cast<float>(k) + 0.25f) / static_cast<float>(n);
}

void FinishAnchor(BoneAnchor& anchor, const D3DXVECTOR3& interior) {
  anchor.faceNormals.clear();
  const Vec3d inside = ToD(interior);
  for (auto& face : anchor.faces) {
    const Vec3d p0 = ToD(anchor.vertices[static_cast<std::size_t>(face[0])]);
    const Vec3d p1 = ToD(anchor.vertices[static_cast<std::size_t>(face[1])]);
    const Vec3d p2 = ToD(anchor.vertices[static_cast<std::size_t>(face[2])]);
    Vec3d n = Cross(Sub(p1, p0), Sub(p2, p0));
    if (Dot(n, Sub(p0, inside)) < 0.0) {
      std::swap(face[1], face[2]);
      n = {-n.x, -n.y, -n.z};
    }
    const double length = std::sqrt(Dot(n, n));
    const D3DXVECTOR3 unit =
        length > 0.0 ? D3DXVECTOR3(static_cast<float>(n.x / length), static_cast<float>(n.y / length),
                                   static_cast<float>(n.z / length))
                     : D3DXVECTOR3();
    anchor.faceNormals.push_back(Quantize6(unit));
  }
  anchor.boxMin = anchor.boxMax = anchor.vertices.front();
  for (const D3DXVECTOR3& v : anchor.vertices) {
    anchor.boxMin = {std::min(anchor.boxMin.x, v.x), std::min(anchor.boxMin.y, v.y),
                     std::min(anchor.boxMin.z, v.z)};
    anchor.boxMax = {std::max(anchor.boxMax.x, v.x), std::max(anchor.boxMax.y, v.y),
                     std::max(anchor.boxMax.z, v.z)};
  }
}

BoneAnchor MakeCapsuleAnchor(const BoneFrame& frame, const CapsuleShape& shape) {
  // The ring offsets are computed once and added to both ring centres, so the
  // two vertices of a side edge differ only along the axis.
  RingShape ring;
  for (int k = 0; k < shape.sides; ++k) {
    const float angle = RingAngle(k, shape.sides);
    ring.ring.emplace_back(shape.cu + shape.a * std::cos(angle), shape.cv + shape.b * std::sin(angle));
  }
  ring.s0 = shape.s0;
  ring.s1 = shape.s1;
  ring.cu = shape.cu;
  ring.cv = shape.cv;
  ring.capLength = shape.capLength;
  ring.splitQuads = shape.splitQuads;
  return MakeRingAnchor(frame, ring);
}

BoneAnchor MakeRingAnchor(const BoneFrame& frame, const RingShape& shape) {
  BoneAnchor anchor;
  const int n = static_cast<int>(shape.ring.size());
  for (float s : {shape.s0, shape.s1}) {
    for (const auto& [ru, rv] : shape.ring) {
      AddVertex(anchor, frame.at(s, ru, rv));
    }
  }
  const int32_t back = AddVertex(anchor, frame.at(shape.s0 - shape.capLength, shape.cu, shape.cv));
  const int32_t front = AddVertex(anchor, frame.at(shape.s1 + shape.capLength, shape.cu, shape.cv));
  for (int k = 0; k < n; ++k) {
    const int32_t a0 = k;
    const int32_t a1 = (k + 1) % n;
    const int32_t b0 = n + k;
    const int32_t b1 = n + (k + 1) % n;
    if (k < shape.splitQuads) {
      const D3DXVECTOR3 centre =
          (anchor.vertices[static_cast<std::size_t>(a0)] + anchor.vertices[static_cast<std::size_t>(a1)] +
           anchor.vertices[static_cast<std::size_t>(b0)] + anchor.vertices[static_cast<std::size_t>(b1)]) *
          0.25f;
      const int32_t c = AddVertex(anchor, centre);
      AddFace(anchor, a0, a1, c);
      AddFace(anchor, a1, b1, c);
      AddFace(anchor, b1, b0, c);
      AddFace(anchor, b0, a0, c);
    } else {
      AddFace(anchor, a0, a1, b1);
      AddFace(anchor, a0, b1, b0);
    }
    AddFace(anchor, back, a1, a0);
    AddFace(anchor, front, b0, b1);
  }
  FinishAnchor(anchor, frame.at(0.5f * (shape.s0 + shape.s1), shape.cu, shape.cv));
  return anchor;
}

BoneAnchor MakeBipyramidAnchor(const BoneFrame& frame, int sides, float sMid, float halfLength,
                               float radius) {
  BoneAnchor anchor;
  for (int k = 0; k < sides; ++k) {
    const float angle = RingAngle(k, sides);
    AddVertex(anchor, frame.at(sMid, radius * std::cos(angle), radius * std::sin(angle)));
  }
  const int32_t back = AddVertex(anchor, frame.at(sMid - halfLength, 0.0f, 0.0f));
  const int32_t front = AddVertex(anchor, frame.at(sMid + halfLength, 0.0f, 0.0f));
  for (int k = 0; k < sides; ++k) {
    const int32_t a0 = k;
    const int32_t a1 = (k + 1) % sides;
    AddFace(anchor, back, a1, a0);
    AddFace(anchor, front, a0, a1);
  }
  FinishAnchor(anchor, frame.at(sMid, 0.0f, 0.0f));
  return anchor;
}

BoneAnchor MakeWedgeTetrahedronAnchor(const BoneFrame& frame, float s0, float s1, float w) {
  BoneAnchor anchor;
  // The edges run diagonally between u and v, so no face contains the
  // direction of u or v (one of which may be Z).
  const float d = w * 0.70710678f;
  AddVertex(anchor, frame.at(s0, -d, -d));
  AddVertex(anchor, frame.at(s0, d, d));
  AddVertex(anchor, frame.at(s1, d, -d));
  AddVertex(anchor, frame.at(s1, -d, d));
  AddFace(anchor, 0, 1, 2);
  AddFace(anchor, 0, 3, 1);
  AddFace(anchor, 0, 2, 3);
  AddFace(anchor, 1, 3, 2);
  FinishAnchor(anchor, frame.at(0.5f * (s0 + s1), 0.0f, 0.0f));
  return anchor;
}
}  // namespace posewright
