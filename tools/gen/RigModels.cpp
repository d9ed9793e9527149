#include "tools/gen/RigModels.h"

#include <algorithm>
#include <cmath>

namespace posewright {

namespace {
constexpr float kPi = 3.14159265358979f;

D3DXVECTOR3 Unit(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  D3DXVec3Normalize(&out, &v);
  return out;
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 out;
  D3DXVec3Cross(&out, &a, &b);
  return out;
}

// Adds a polygon, turned round when its corners do not run clockwise seen
// from the side its vertices' normals point to.
void AddFace(RigModel& model, std::vector<uint32_t> corners) {
  const D3DXVECTOR3& a = model.vertices[corners[0]].position;
  const D3DXVECTOR3& b = model.vertices[corners[1]].position;
  const D3DXVECTOR3& c = model.vertices[corners[2]].position;
  const D3DXVECTOR3 n = Cross(b - a, c - a);
  D3DXVECTOR3 outward(0, 0, 0);
  for (uint32_t k : corners) outward += model.vertices[k].normal;
  if (D3DXVec3Dot(&n, &outward) < 0.0f) {
    std::reverse(corners.begin(), corners.end());
  }
  model.faces.push_back(std::move(corners));
}

// Weights of a point at arc length s along a chain whose joints sit at arc
// lengths starts[0] < starts[1] < …: inside bone k's stretch it belongs to
// bone k, within `blend` of a joint it shares linearly with the bone before.
std::vector<std::pair<uint32_t, float>> ChainWeights(float s, const std::vector<float>& starts,
                                                     const std::vector<uint32_t>& joints, float blend) {
  std::size_t k = 0;
  while (k + 1 < starts.size() && s >= starts[k + 1]) ++k;
  const float toNext = k + 1 < starts.size() ? starts[k + 1] - s : 1e9f;
  const float fromStart = s - starts[k];
  if (k + 1 < starts.size() && toNext < blend) {
    const float w = 0.5f + 0.5f * toNext / blend;
    return {{joints[k], w}, {joints[k + 1], 1.0f - w}};
  }
  if (k > 0 && fromStart < blend) {
    const float w = 0.5f + 0.5f * fromStart / blend;
    return {{joints[k], w}, {joints[k - 1], 1.0f - w}};
  }
  return {{joints[k], 1.0f}};
}

// A closed tube along a polyline: rings of `sides` vertices with an elliptic
// cross-section (radii rx along the ring's first axis, rz along its second)
// every `step` of arc length, a centre vertex closing each end. weightAt
// gives the weights at an arc length.
template <typename WeightAt>
void AddTube(RigModel& model, const std::vector<D3DXVECTOR3>& path, float rx, float rz, int sides, float step,
             WeightAt weightAt) {
  struct Station {
    D3DXVECTOR3 point;
    D3DXVECTOR3 tangent;
    float s;
  };
  std::vector<Station> stations;
  float s = 0.0f;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const D3DXVECTOR3 d = path[i + 1] - path[i];
    const float length = D3DXVec3Length(&d);
    const int count = std::max(1, static_cast<int>(std::lround(length / step)));
    for (int k = 0; k < count; ++k) {
      const float t = static_cast<float>(k) / static_cast<float>(count);
      D3DXVECTOR3 tangent = Unit(d);
      if (k == 0 && i > 0) tangent = Unit(tangent + Unit(path[i] - path[i - 1]));
      stations.push_back({path[i] + d * t, tangent, s + length * t});
    }
    s += length;
  }
  stations.push_back({path.back(), Unit(path.back() - path[path.size() - 2]), s});

  const uint32_t first = static_cast<uint32_t>(model.vertices.size());
  for (const Station& st : stations) {
    // The ring's axes: across the tube in the XY plane, and Z (or X for a
    // tube along Z).
    D3DXVECTOR3 side = Cross(st.tangent, D3DXVECTOR3(0, 0, 1));
    if (D3DXVec3Length(&side) < 1e-3f) side = D3DXVECTOR3(1, 0, 0);
    side = Unit(side);
    const D3DXVECTOR3 up = Unit(Cross(side, st.tangent));
    for (int k = 0; k < sides; ++k) {
      const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(sides);
      MeshVertex v;
      v.position = st.point + side * (rx * std::cos(a)) + up * (rz * std::sin(a));
      v.normal = Unit(side * (std::cos(a) / rx) + up * (std::sin(a) / rz));
      v.u = static_cast<float>(k) / static_cast<float>(sides);
      v.v = st.s / std::max(s, 1e-6f);
      model.vertices.push_back(v);
      model.weights.push_back(weightAt(st.s));
    }
  }
  for (std::size_t r = 0; r + 1 < stations.size(); ++r) {
    for (int k = 0; k < sides; ++k) {
      const uint32_t a = first + static_cast<uint32_t>(r * sides + k);
      const uint32_t b = first + static_cast<uint32_t>(r * sides + (k + 1) % sides);
      AddFace(model, {a, b, b + static_cast<uint32_t>(sides), a + static_cast<uint32_t>(sides)});
    }
  }
  for (bool atEnd : {false, true}) {
    const Station& st = atEnd ? stations.back() : stations.front();
    MeshVertex centre;
    centre.position = st.point;
    centre.normal = atEnd ? st.tangent : -st.tangent;
    centre.v = atEnd ? 1.0f : 0.0f;
    const uint32_t c = static_cast<uint32_t>(model.vertices.size());
    model.vertices.push_back(centre);
    model.weights.push_back(weightAt(st.s));
    const uint32_t ring = first + static_cast<uint32_t>((atEnd ? stations.size() - 1 : 0) * sides);
    for (int k = 0; k < sides; ++k) {
      AddFace(model, {c, ring + static_cast<uint32_t>(k), ring + static_cast<uint32_t>((k + 1) % sides)});
    }
  }
}

// A chain of joints along a path whose corners are the joints, and the tube
// around it.
void AddChain(RigModel& model, const std::vector<std::string>& names, int32_t parent,
              const std::vector<D3DXVECTOR3>& path, float rx, float rz, float blend,
              const std::vector<std::pair<uint32_t, float>>& baseShare = {}) {
  std::vector<uint32_t> joints;
  std::vector<float> starts;
  float s = 0.0f;
  for (std::size_t k = 0; k < names.size(); ++k) {
    joints.push_back(static_cast<uint32_t>(model.joints.size()));
    model.joints.push_back({names[k], k == 0 ? parent : static_cast<int32_t>(joints[k - 1]), path[k]});
    starts.push_back(s);
    if (k + 1 < path.size()) {
      const D3DXVECTOR3 d = path[k + 1] - path[k];
      s += D3DXVec3Length(&d);
    }
  }
  AddTube(model, path, rx, rz, 12, 0.05f, [&](float at) {
    std::vector<std::pair<uint32_t, float>> w = ChainWeights(at, starts, joints, blend);
    // Near the chain's base, a share goes to the joint it hangs from.
    if (!baseShare.empty() && at < blend) {
      const float share = 0.5f * (1.0f - at / blend);
      for (auto& [joint, weight] : w) weight *= 1.0f - share;
      w.push_back({baseShare.front().first, share});
    }
    return w;
  });
}
}  // namespace

RigModel BentTubeRig() {
  RigModel m;
  m.name = "bent_tube";
  const float c = 0.70710678f;
  AddChain(m, {"Lower", "Middle", "Upper"}, -1, {{0, 0, 0}, {0, 1, 0}, {c, 1 + c, 0}, {c + 1, 1 + c, 0}},
           0.1f, 0.1f, 0.15f);
  return m;
}

RigModel TwoRootRig() {
  RigModel m;
  m.name = "two_roots";
  AddChain(m, {"LeftThigh", "LeftShin"}, -1, {{0.3f, 1, 0}, {0.3f, 0.5f, 0}, {0.3f, 0, 0}}, 0.12f, 0.12f,
           0.1f);
  AddChain(m, {"RightThigh", "RightShin"}, -1, {{-0.3f, 1, 0}, {-0.3f, 0.5f, 0}, {-0.3f, 0, 0}}, 0.12f, 0.12f,
           0.1f);
  return m;
}

RigModel LeafHeavyHandRig() {
  RigModel m;
  m.name = "hand";
  AddChain(m, {"Palm"}, -1, {{0, 0, 0}, {0, 0.8f, 0}}, 0.4f, 0.1f, 0.1f);
  const char* fingers[] = {"Thumb", "Index", "Middle", "Ring", "Pinky"};
  for (int f = 0; f < 5; ++f) {
    const std::string n = fingers[f];
    std::vector<D3DXVECTOR3> path;
    if (f == 0) {
      // The thumb leaves the palm's side and points up and out.
      for (int k = 0; k < 4; ++k) path.push_back({0.42f + 0.12f * k, 0.3f + 0.14f * k, 0});
    } else {
      const float x = 0.24f - 0.16f * static_cast<float>(f - 1);
      for (int k = 0; k < 4; ++k) path.push_back({x, 0.8f + 0.18f * k, 0});
    }
    AddChain(m, {n + "1", n + "2", n + "3"}, 0, path, 0.06f, 0.06f, 0.05f, {{0, 1.0f}});
  }
  return m;
}

RigModel ManyInfluencesRig() {
  RigModel m;
  m.name = "many_influences";
  m.joints.push_back({"Hub", -1, {0, 0, 0}});
  const D3DXVECTOR3 axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  const char* names[6] = {"ArmXp", "ArmXn", "ArmYp", "ArmYn", "ArmZp", "ArmZn"};
  for (int k = 0; k < 6; ++k) m.joints.push_back({names[k], 0, axes[k] * 0.2f});
  const int rings = 12, sides = 16;
  for (int r = 0; r <= rings; ++r) {
    const float polar = kPi * static_cast<float>(r) / rings;
    for (int k = 0; k < (r == 0 || r == rings ? 1 : sides); ++k) {
      const float a = 2.0f * kPi * static_cast<float>(k) / sides;
      MeshVertex v;
      v.normal = D3DXVECTOR3(std::sin(polar) * std::cos(a), std::cos(polar), std::sin(polar) * std::sin(a));
      v.position = v.normal;
      m.vertices.push_back(v);
      // Every arm weighs on every vertex, the nearest most.
      std::vector<std::pair<uint32_t, float>> w;
      float sum = 0.0f;
      for (int j = 0; j < 6; ++j) {
        const float d = D3DXVec3Dot(&v.normal, &axes[j]);
        const float raw = std::pow(1.05f + d, 4.0f);
        w.push_back({static_cast<uint32_t>(j + 1), raw});
        sum += raw;
      }
      for (auto& [joint, weight] : w) weight /= sum;
      m.weights.push_back(w);
    }
  }
  auto at = [&](int r, int k) -> uint32_t {
    if (r == 0) return 0;
    if (r == rings) return static_cast<uint32_t>(1 + (rings - 1) * sides);
    return static_cast<uint32_t>(1 + (r - 1) * sides + (k % sides));
  };
  for (int r = 0; r < rings; ++r) {
    for (int k = 0; k < sides; ++k) {
      if (r == 0) {
        AddFace(m, {at(0, 0), at(1, k), at(1, k + 1)});
      } else if (r == rings - 1) {
        AddFace(m, {at(r, k), at(rings, 0), at(r, k + 1)});
      } else {
        AddFace(m, {at(r, k), at(r + 1, k), at(r + 1, k + 1), at(r, k + 1)});
      }
    }
  }
  return m;
}

RigModel NoNormalsRig() {
  RigModel m;
  m.name = "no_normals";
  AddChain(m, {"Base", "Tip"}, -1, {{0, 0, 0}, {0, 0.6f, 0}, {0, 1.2f, 0}}, 0.1f, 0.1f, 0.1f);
  m.hasNormals = false;
  return m;
}

RigModel TexturedQuadBox() {
  RigModel m;
  m.name = "quads";
  m.texture = "quads.png";
  // Six sides of a box from (−0.5, 0, −0.5) to (0.5, 1, 0.5), four corners each.
  const D3DXVECTOR3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (const D3DXVECTOR3& n : normals) {
    const D3DXVECTOR3 a = std::fabs(n.y) > 0.5f ? D3DXVECTOR3(1, 0, 0) : D3DXVECTOR3(0, 1, 0);
    const D3DXVECTOR3 b = Cross(n, a);
    const D3DXVECTOR3 centre = D3DXVECTOR3(0, 0.5f, 0) + n * 0.5f;
    const uint32_t first = static_cast<uint32_t>(m.vertices.size());
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
      MeshVertex v;
      v.position = centre + a * (0.5f * c[0]) + b * (0.5f * c[1]);
      v.normal = n;
      v.u = 0.5f + 0.5f * c[0];
      v.v = 0.5f - 0.5f * c[1];
      m.vertices.push_back(v);
    }
    AddFace(m, {first, first + 1, first + 2, first + 3});
  }
  return m;
}

RigModel RigModelOf(const SkinnedModel& model, const std::string& name) {
  RigModel m;
  m.name = name;
  for (const Bone& bone : model.skeleton.bones) {
    const bool root = m.joints.empty();
    m.joints.push_back({bone.name, root ? -1 : bone.parentId, bone.begin});
  }
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    m.vertices.push_back(MeshVertex{v.position, v.normal, v.u, v.v});
    const float weights[4] = {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2], v.lastWeight()};
    std::vector<std::pair<uint32_t, float>> w;
    // Bone 0 marks an empty slot (its weight is what rounding leaves over).
    for (int s = 0; s < 4; ++s) {
      if (weights[s] > 0.0f && v.boneIndex(s) != 0) w.push_back({v.boneIndex(s), weights[s]});
    }
    m.weights.push_back(std::move(w));
  }
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  for (std::size_t f = 0; f + 2 < indices.size(); f += 3) {
    m.faces.push_back({indices[f], indices[f + 1], indices[f + 2]});
  }
  return m;
}

std::vector<RigModel> AllTestRigs() {
  return {BentTubeRig(),       TwoRootRig(),   LeafHeavyHandRig(),
          ManyInfluencesRig(), NoNormalsRig(), TexturedQuadBox()};
}
}  // namespace posewright
