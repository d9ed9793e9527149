#include "tools/gen/ParamModel.h"

#include <algorithm>
#include <cmath>

#include "importer/BoneFrame.h"
#include "importer/ConvexAnchor.h"
#include "importer/Quantize.h"
#include "tools/gen/AnchorHalfSpaces.h"
#include "tools/gen/Prng.h"

namespace posewright {

namespace {
constexpr float kPi = 3.14159265358979323846f;
constexpr float kBoneLength = 0.2f;
constexpr float kTubeRadius = 0.025f;
constexpr int kChainLength = 8;
constexpr float kRowSpacing = 0.32f;
constexpr float kCentreGap = 0.12f;
constexpr int kMaxFaces = 65535;
constexpr int kOutsideVertices = 6;
constexpr int kCrowdedVertices = 6;

int FanSize(const ModelOptions& o) {
  return o.crowded ? std::min(6, o.bones) : 0;
}

int CapsuleSides(int faces) {
  return faces / 4;
}

int AnchorVertexCount(int faces) {
  if (faces >= 12) {
    return 2 * CapsuleSides(faces) + 2 + (faces % 4) / 2;
  }
  return faces == 4 ? 4 : faces / 2 + 2;
}

// The box corners that are not anchor vertices: all eight, except for the
// tetrahedron, whose four vertices are box corners.
int BoxCornerCount(int faces) {
  return faces == 4 ? 4 : 8;
}

int OnFaceVertexCount(int faces) {
  return AnchorVertexCount(faces) + (faces >= 12 ? CapsuleSides(faces) : 0) + BoxCornerCount(faces);
}

int ExtraVertexCount(const ModelOptions& o) {
  return (o.onFaces ? OnFaceVertexCount(o.anchorFaces) : 0) + (o.outside ? kOutsideVertices : 0) +
         (o.crowded ? kCrowdedVertices : 0);
}

// The anchor of the options' face count around a bone of frame f.
BoneAnchor MakeAnchor(const BoneFrame& f, int faces) {
  const float L = kBoneLength;
  if (faces >= 12) {
    CapsuleShape shape;
    shape.sides = CapsuleSides(faces);
    shape.splitQuads = (faces % 4) / 2;
    shape.s0 = -0.25f * L;
    shape.s1 = 1.25f * L;
    shape.a = shape.b = 1.3f * kTubeRadius / std::cos(kPi / static_cast<float>(shape.sides));
    shape.capLength = 0.1f * L;
    return MakeCapsuleAnchor(f, shape);
  }
  if (faces >= 6) {
    // Its cross-section shrinks to 0.6 of the equator's at the tube's ends.
    const int sides = faces / 2;
    const float radius = 1.3f * kTubeRadius / (0.6f * std::cos(kPi / static_cast<float>(sides)));
    return MakeBipyramidAnchor(f, sides, 0.5f * L, 1.25f * L, radius);
  }
  // The tube runs from a quarter to three quarters of the way between the
  // crossed edges, where the cross-section's shorter half-side is w/4.
  return MakeWedgeTetrahedronAnchor(f, -0.5f * L, 1.5f * L, 5.2f * kTubeRadius);
}

struct Layout {
  std::vector<BoneFrame> frames;  // per bone, index 0 unused
};

void AddBone(Skeleton& s, Layout& layout, const std::string& name, int parent, const D3DXVECTOR3& begin,
             const D3DXVECTOR3& end, const BoneFrame& frame) {
  Bone b;
  b.name = name;
  b.parentId = parent;
  b.symmetricId = static_cast<int32_t>(s.bones.size());
  b.begin = Quantize6(begin);
  b.end = Quantize6(end);
  b.restRotation = Quantize6(RestRotationFor(b.end - b.begin));
  D3DXQuaternionInverse(&b.restRotationInverse, &b.restRotation);
  b.orientation = b.restRotation;
  s.bones.push_back(b);
  BoneFrame f = frame;
  f.origin = b.begin;
  layout.frames.push_back(f);
}

Layout BuildSkeleton(const ModelOptions& o, Skeleton& s) {
  Layout layout;
  Bone root;
  root.name = "Root";
  root.end = D3DXVECTOR3(0.0f, 0.1f, 0.0f);
  s.bones.push_back(root);
  layout.frames.emplace_back();

  const int fan = FanSize(o);
  const int chainBones = o.bones - fan;
  std::vector<std::vector<int>> chains;
  for (int placed = 0, j = 0; placed < chainBones; ++j) {
    const int length = std::min(kChainLength, chainBones - placed);
    const float side = j % 2 == 0 ? 1.0f : -1.0f;
    const float y = static_cast<float>(j / 2) * kRowSpacing;
    // Chain bones run exactly along ±X, with u and v exactly along ∓Y and +Z,
    // so the two ends of an anchor's side edge differ only in x.
    BoneFrame frame;
    frame.axis = D3DXVECTOR3(side, 0.0f, 0.0f);
    frame.u = D3DXVECTOR3(0.0f, -side, 0.0f);
    frame.v = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    chains.emplace_back();
    for (int m = 0; m < length; ++m) {
      const int index = static_cast<int>(s.bones.size());
      const float x0 = side * (kCentreGap + static_cast<float>(m) * kBoneLength);
      const float x1 = side * (kCentreGap + static_cast<float>(m + 1) * kBoneLength);
      AddBone(s, layout, "Chain" + std::to_string(j) + "Bone" + std::to_string(m), m == 0 ? 0 : index - 1,
              {x0, y, 0.0f}, {x1, y, 0.0f}, frame);
      chains.back().push_back(index);
    }
    placed += length;
  }
  // Partners: the same position in the mirrored chain of the row.
  for (std::size_t j = 0; j + 1 < chains.size(); j += 2) {
    for (std::size_t m = 0; m < std::min(chains[j].size(), chains[j + 1].size()); ++m) {
      s.bones[static_cast<std::size_t>(chains[j][m])].symmetricId = chains[j + 1][m];
      s.bones[static_cast<std::size_t>(chains[j + 1][m])].symmetricId = chains[j][m];
    }
  }
  if (fan > 0) {
    const float rows = static_cast<float>((chains.size() + 1) / 2);
    const D3DXVECTOR3 hub(0.0f, rows * kRowSpacing + 0.2f, 0.0f);
    const int first = static_cast<int>(s.bones.size());
    for (int i = 0; i < fan; ++i) {
      const float angle =
          (15.0f + 150.0f * static_cast<float>(i) / static_cast<float>(fan - 1)) * kPi / 180.0f;
      const D3DXVECTOR3 end = hub + D3DXVECTOR3(std::cos(angle), std::sin(angle), 0.0f) * kBoneLength;
      AddBone(s, layout, "Fan" + std::to_string(i), 0, hub, end,
              MakeBoneFrame(Quantize6(hub), Quantize6(end)));
    }
    for (int i = 0; i < fan; ++i) {
      s.bones[static_cast<std::size_t>(first + i)].symmetricId = first + fan - 1 - i;
    }
  }
  s.resizePerBoneArrays();
  for (std::size_t b = 1; b < s.bones.size(); ++b) {
    s.anchors[b] = MakeAnchor(layout.frames[b], o.anchorFaces);
    s.blendParams[b] = {Quantize4(1.2f), Quantize4(0.25f)};
  }
  s.bonesLoaded = true;
  return layout;
}

class ModelMeshBuilder {
 public:
  ModelMeshBuilder(GeneratedModel& model) : m_(model) {}

  uint32_t vertex(const D3DXVECTOR3& p, const D3DXVECTOR3& n, float u, float v, VertexKind kind) {
    MeshVertex x;
    x.position = Quantize6(p);
    x.normal = Quantize6(n);
    x.u = Quantize6(u);
    x.v = Quantize6(v);
    m_.mesh.vertices.push_back(x);
    m_.kinds.push_back(kind);
    return static_cast<uint32_t>(m_.mesh.vertices.size() - 1);
  }

  void triangle(uint32_t a, uint32_t b, uint32_t c, uint32_t material) {
    m_.mesh.polygonSizes.push_back(3);
    m_.mesh.polygonIndices.insert(m_.mesh.polygonIndices.end(), {a, b, c});
    m_.mesh.polygonMaterials.push_back(material);
  }

  // Triangles over consecutive triples of the vertices first .. end−1; a
  // remainder of one or two vertices shares a triangle with the last ones.
  void triangulateGroup(uint32_t first, uint32_t end) {
    if (end - first < 3) {
      return;
    }
    uint32_t i = first;
    for (; i + 3 <= end; i += 3) {
      triangle(i, i + 1, i + 2, 0);
    }
    if (i < end) {
      triangle(end - 3, end - 2, end - 1, 0);
    }
  }

 private:
  GeneratedModel& m_;
};

struct TubePlan {
  int sides = 3;
  int fullRings = 2;
  int partial = 0;
};

TubePlan PlanTube(int budget) {
  TubePlan p;
  p.sides = std::clamp(budget / 8, 3, 12);
  p.fullRings = budget / p.sides;
  p.partial = budget % p.sides;
  return p;
}

int TubeFaces(const TubePlan& p, int stride) {
  int faces = 0;
  for (int r = 0; r + 1 < p.fullRings; r += stride) {
    faces += 2 * p.sides;
  }
  if (stride == 1 && p.partial > 0) {
    faces += p.partial == 1 ? 1 : 2 * (p.partial - 1);
  }
  return faces;
}

int GroupFaces(int count) {
  return count < 3 ? 0 : count / 3 + (count % 3 != 0 ? 1 : 0);
}

// A tube of radius kTubeRadius along the bone from begin to end, its rings
// joined every `stride` rings.
void AddTube(ModelMeshBuilder& builder, const BoneFrame& f, const TubePlan& p, int stride,
             uint32_t material) {
  const int rings = p.fullRings + (p.partial > 0 ? 1 : 0);
  std::vector<uint32_t> firstOfRing;
  for (int r = 0; r < rings; ++r) {
    const float t = kBoneLength * static_cast<float>(r) / static_cast<float>(rings - 1);
    const int count = r < p.fullRings ? p.sides : p.partial;
    for (int k = 0; k < count; ++k) {
      const float angle = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(p.sides);
      const float c = std::cos(angle);
      const float s = std::sin(angle);
      const uint32_t index =
          builder.vertex(f.at(t, kTubeRadius * c, kTubeRadius * s), f.u * c + f.v * s,
                         static_cast<float>(k) / static_cast<float>(p.sides),
                         static_cast<float>(r) / static_cast<float>(rings - 1), VertexKind::Tube);
      if (k == 0) {
        firstOfRing.push_back(index);
      }
    }
  }
  // Every frame has u × v = −axis, so this corner order faces outwards.
  auto quad = [&](uint32_t a0, uint32_t a1, uint32_t b0, uint32_t b1) {
    builder.triangle(a0, b1, a1, material);
    builder.triangle(a0, b0, b1, material);
  };
  const uint32_t n = static_cast<uint32_t>(p.sides);
  for (int r = 0; r + 1 < p.fullRings; r += stride) {
    const uint32_t a = firstOfRing[static_cast<std::size_t>(r)];
    const uint32_t b = firstOfRing[static_cast<std::size_t>(r + 1)];
    for (uint32_t k = 0; k < n; ++k) {
      quad(a + k, a + (k + 1) % n, b + k, b + (k + 1) % n);
    }
  }
  if (stride == 1 && p.partial > 0) {
    const uint32_t a = firstOfRing[static_cast<std::size_t>(p.fullRings - 1)];
    const uint32_t b = firstOfRing.back();
    const uint32_t partial = static_cast<uint32_t>(p.partial);
    if (partial == 1) {
      builder.triangle(a, b, a + 1, material);
    }
    for (uint32_t k = 0; k + 1 < partial; ++k) {
      quad(a + k, a + k + 1, b + k, b + k + 1);
    }
  }
}

void AddOnFaceVertices(ModelMeshBuilder& builder, const BoneAnchor& anchor, int faces) {
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  for (const D3DXVECTOR3& v : anchor.vertices) {
    builder.vertex(v, up, 0.0f, 0.0f, VertexKind::OnAnchorFace);
  }
  if (faces >= 12) {
    // Halfway along each side edge of the capsule: the edge's ends share y and
    // z exactly, so the point lies exactly on both faces at the edge. The edge
    // through the highest ring vertex also lies in the box's top face.
    const std::size_t n = static_cast<std::size_t>(CapsuleSides(faces));
    for (std::size_t k = 0; k < n; ++k) {
      const D3DXVECTOR3& a = anchor.vertices[k];
      const D3DXVECTOR3& b = anchor.vertices[n + k];
      builder.vertex({Quantize6(0.5f * (a.x + b.x)), a.y, a.z}, up, 0.0f, 0.0f, VertexKind::OnAnchorFace);
    }
  }
  for (int c = 0; c < 8; ++c) {
    const D3DXVECTOR3 corner((c & 1) ? anchor.boxMax.x : anchor.boxMin.x,
                             (c & 2) ? anchor.boxMax.y : anchor.boxMin.y,
                             (c & 4) ? anchor.boxMax.z : anchor.boxMin.z);
    if (std::find(anchor.vertices.begin(), anchor.vertices.end(), corner) != anchor.vertices.end()) {
      continue;
    }
    builder.vertex(corner, up, 0.0f, 0.0f, VertexKind::OnBoxFace);
  }
}

Animation BuildAnimation(const ModelOptions& o, int32_t boneCount) {
  Animation animation;
  animation.name = o.name + ".anm";
  animation.boneCount = boneCount;
  Prng prng(o.seed);
  std::vector<D3DXVECTOR3> axes;
  std::vector<float> phases;
  for (int32_t b = 0; b < boneCount; ++b) {
    D3DXVECTOR3 axis;
    do {
      axis = D3DXVECTOR3(prng.range(-1.0f, 1.0f), prng.range(-1.0f, 1.0f), prng.range(-1.0f, 1.0f));
    } while (D3DXVec3Length(&axis) < 0.1f || D3DXVec3Length(&axis) > 1.0f);
    axes.push_back(axis);
    phases.push_back(prng.range(0.0f, 2.0f * kPi));
  }
  for (int k = 0; k < o.keys; ++k) {
    std::vector<D3DXQUATERNION> rotations;
    for (int32_t b = 0; b < boneCount; ++b) {
      const float angle = 0.35f * std::sin(2.0f * kPi * static_cast<float>(k) / static_cast<float>(o.keys) +
                                           phases[static_cast<std::size_t>(b)]);
      rotations.push_back(Quantize4(AxisRotation(axes[static_cast<std::size_t>(b)], angle)));
    }
    animation.InsertKey(rotations, 10 * k);
  }
  return animation;
}
}  // namespace

int MinimumModelVertices(const ModelOptions& options) {
  return 6 * options.bones + ExtraVertexCount(options);
}

GeneratedModel BuildModel(const ModelOptions& o) {
  GeneratedModel model;
  const Layout layout = BuildSkeleton(o, model.skeleton);
  GenMesh& mesh = model.mesh;
  mesh.frameName = "Model";
  mesh.meshName = "Tubes";
  for (const char* name : {"Grey", "Blue"}) {
    NamedMaterial m;
    m.name = name;
    const bool blue = name[0] == 'B';
    m.material.MatD3D.Diffuse = {blue ? 0.3f : 0.7f, blue ? 0.4f : 0.7f, blue ? 0.9f : 0.7f, 1.0f};
    m.material.MatD3D.Power = 8.0f;
    m.material.MatD3D.Specular = {0.2f, 0.2f, 0.2f, 1.0f};
    m.material.MatD3D.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    mesh.materials.push_back(m);
  }

  // Tubes share what the extra vertices leave; stride 2 (every other ring
  // pair joined) keeps the face count within 65,535 for the largest meshes.
  const int extra = ExtraVertexCount(o);
  const int budget = o.vertices - extra;
  std::vector<TubePlan> plans;
  for (int b = 0; b < o.bones; ++b) {
    plans.push_back(PlanTube(budget / o.bones + (b < budget % o.bones ? 1 : 0)));
  }
  int extraFaces = 0;
  for (int count : {o.onFaces ? OnFaceVertexCount(o.anchorFaces) : 0, o.outside ? kOutsideVertices : 0,
                    o.crowded ? kCrowdedVertices : 0}) {
    extraFaces += GroupFaces(count);
  }
  int stride = 1;
  int faces = extraFaces;
  for (const TubePlan& p : plans) {
    faces += TubeFaces(p, 1);
  }
  if (faces > kMaxFaces) {
    stride = 2;
  }

  ModelMeshBuilder builder(model);
  for (int b = 0; b < o.bones; ++b) {
    AddTube(builder, layout.frames[static_cast<std::size_t>(b + 1)], plans[static_cast<std::size_t>(b)],
            stride, static_cast<uint32_t>(b % 2));
  }
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  if (o.onFaces) {
    const uint32_t first = static_cast<uint32_t>(mesh.vertices.size());
    AddOnFaceVertices(builder, model.skeleton.anchors[1], o.anchorFaces);
    builder.triangulateGroup(first, static_cast<uint32_t>(mesh.vertices.size()));
  }
  if (o.outside) {
    const uint32_t first = static_cast<uint32_t>(mesh.vertices.size());
    for (int i = 0; i < kOutsideVertices; ++i) {
      builder.vertex({-0.3f + 0.12f * static_cast<float>(i), -1.0f, (i % 2) ? 0.1f : -0.1f}, up, 0.0f, 0.0f,
                     VertexKind::Outside);
    }
    builder.triangulateGroup(first, static_cast<uint32_t>(mesh.vertices.size()));
  }
  if (o.crowded) {
    const int fan = FanSize(o);
    for (int i = 0; i < fan; ++i) {
      model.fanBones.push_back(o.bones - fan + 1 + i);
    }
    const D3DXVECTOR3 hub = model.skeleton.bones[static_cast<std::size_t>(model.fanBones.front())].begin;
    const uint32_t first = static_cast<uint32_t>(mesh.vertices.size());
    const D3DXVECTOR3 offsets[kCrowdedVertices] = {{0.004f, 0, 0},  {0, 0.004f, 0},  {0, 0, 0.004f},
                                                   {-0.004f, 0, 0}, {0, -0.004f, 0}, {0, 0, -0.004f}};
    for (const D3DXVECTOR3& d : offsets) {
      builder.vertex(hub + d, up, 0.0f, 0.0f, VertexKind::Crowded);
    }
    builder.triangulateGroup(first, static_cast<uint32_t>(mesh.vertices.size()));
  }
  model.anchorCounts = CountHoldingAnchors(model.skeleton, mesh.vertices, 1e-6);
  model.animation = BuildAnimation(o, model.skeleton.boneCount());
  return model;
}
}  // namespace posewright
