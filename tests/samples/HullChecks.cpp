#include "HullChecks.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace posewright {

namespace {
struct V {
  double x, y, z;
};
V ToV(const D3DXVECTOR3& p) {
  return {p.x, p.y, p.z};
}
V Sub(V a, V b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V Cross(V a, V b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V a, V b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(V a) {
  return std::sqrt(Dot(a, a));
}

struct Plane {
  V normal;  // unit
  V point;
};

Plane PlaneOf(const BoneAnchor& a, std::size_t f) {
  const V p0 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][0])]);
  const V p1 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][1])]);
  const V p2 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][2])]);
  V n = Cross(Sub(p1, p0), Sub(p2, p0));
  const double l = Length(n);
  return {{n.x / l, n.y / l, n.z / l}, p0};
}

std::string Face(std::size_t f) {
  return "face " + std::to_string(f) + ": ";
}
}  // namespace

std::string AnchorShapeProblem(const BoneAnchor& a) {
  if (a.faces.size() < 4 || a.faceNormals.size() != a.faces.size()) {
    return "fewer than 4 faces or a normal count that differs from the face count";
  }
  std::map<std::pair<int, int>, int> edges;
  for (std::size_t f = 0; f < a.faces.size(); ++f) {
    for (int k = 0; k < 3; ++k) {
      const int i = a.faces[f][static_cast<std::size_t>(k)];
      if (i < 0 || i >= a.vertexCount()) {
        return Face(f) + "vertex index out of range";
      }
      ++edges[{i, a.faces[f][static_cast<std::size_t>((k + 1) % 3)]}];
    }
  }
  for (const auto& [edge, uses] : edges) {
    const auto back = edges.find({edge.second, edge.first});
    if (uses != 1 || back == edges.end() || back->second != 1) {
      return "edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second) +
             " is not shared by exactly two faces";
    }
  }
  double volume = 0.0;
  for (std::size_t f = 0; f < a.faces.size(); ++f) {
    const V p0 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][0])]);
    const V p1 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][1])]);
    const V p2 = ToV(a.vertices[static_cast<std::size_t>(a.faces[f][2])]);
    const V cross = Cross(Sub(p1, p0), Sub(p2, p0));
    if (Length(cross) < 1e-12) {
      return Face(f) + "degenerate";
    }
    volume += Dot(p0, Cross(p1, p2)) / 6.0;
    const Plane plane = PlaneOf(a, f);
    const V stored = ToV(a.faceNormals[f]);
    if (std::fabs(Length(stored) - 1.0) > 1e-5 || Dot(stored, plane.normal) < 0.99999) {
      return Face(f) + "stored normal is not the unit outward normal";
    }
    for (const D3DXVECTOR3& v : a.vertices) {
      if (Dot(Sub(ToV(v), plane.point), plane.normal) > 1e-5) {
        return Face(f) + "a vertex lies in front of it (not convex or turned inwards)";
      }
    }
  }
  if (!(volume > 0.0)) {
    return "the faces enclose no positive volume";
  }
  D3DXVECTOR3 lo = a.vertices.front();
  D3DXVECTOR3 hi = lo;
  for (const D3DXVECTOR3& v : a.vertices) {
    lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
    hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
  }
  if (!(lo == a.boxMin) || !(hi == a.boxMax)) {
    return "BorderBox differs from the bounds of the vertices";
  }
  return {};
}

double HullExcess(const BoneAnchor& a, const D3DXVECTOR3& p) {
  double excess = -1e300;
  for (std::size_t f = 0; f < a.faces.size(); ++f) {
    const Plane plane = PlaneOf(a, f);
    excess = std::max(excess, Dot(Sub(ToV(p), plane.point), plane.normal));
  }
  return excess;
}

bool HullHolds(const BoneAnchor& a, const D3DXVECTOR3& p, double tolerance) {
  return HullExcess(a, p) <= tolerance;
}
}  // namespace posewright
