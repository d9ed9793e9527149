#include "tools/gen/HumanoidMesh.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "tools/gen/MeshBuilder.h"

namespace posewright {

namespace {
// One row of a cross-section profile: at axial position t, semi-axes a and b.
struct ProfileRow {
  float t, a, b;
};

// Linear interpolation in a profile whose rows are ordered by t (ascending
// or descending).
ProfileRow ProfileAt(std::initializer_list<ProfileRow> rows, float t) {
  const ProfileRow* prev = rows.begin();
  for (const ProfileRow* r = rows.begin() + 1; r != rows.end(); ++r) {
    const bool within = (prev->t <= t && t <= r->t) || (r->t <= t && t <= prev->t);
    if (within) {
      const float k = (t - prev->t) / (r->t - prev->t);
      return {t, prev->a + k * (r->a - prev->a), prev->b + k * (r->b - prev->b)};
    }
    prev = r;
  }
  return *prev;
}

constexpr uint32_t kSkin = 0;
constexpr uint32_t kClothes = 1;

// The clothes texture is laid out by height: shirt on top, trousers below,
// shoes in the bottom rows.
float ClothesV(const D3DXVECTOR3& p) {
  return std::clamp((1.60f - p.y) / 1.60f, 0.0f, 1.0f);
}
float ShoeV(const D3DXVECTOR3&) {
  return 0.97f;
}

NamedMaterial Material(const char* name, D3DCOLORVALUE diffuse, float power, float specular,
                       const std::string& texture) {
  NamedMaterial m;
  m.name = name;
  m.material.MatD3D.Diffuse = diffuse;
  m.material.MatD3D.Power = power;
  m.material.MatD3D.Specular = {specular, specular, specular, 1.0f};
  m.material.MatD3D.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
  m.material.textureFilename = texture;
  return m;
}

void Tag(HumanoidMesh& out, BodyPart part) {
  out.parts.resize(out.mesh.vertices.size(), part);
}

void AddTorso(MeshBuilder& builder) {
  const std::initializer_list<ProfileRow> profile = {
      {0.84f, 0.120f, 0.085f}, {0.88f, 0.150f, 0.098f}, {0.96f, 0.160f, 0.102f}, {1.06f, 0.140f, 0.092f},
      {1.16f, 0.145f, 0.095f}, {1.28f, 0.165f, 0.105f}, {1.36f, 0.180f, 0.108f}, {1.42f, 0.175f, 0.100f},
      {1.46f, 0.120f, 0.075f}, {1.49f, 0.060f, 0.052f}, {1.54f, 0.052f, 0.050f}};
  TubeSpec tube;
  tube.u = D3DXVECTOR3(1, 0, 0);
  tube.v = D3DXVECTOR3(0, 0, 1);
  tube.sides = 24;
  const int rings = 26;
  for (int i = 0; i < rings; ++i) {
    const float y = 0.84f + (1.54f - 0.84f) * static_cast<float>(i) / static_cast<float>(rings - 1);
    const ProfileRow r = ProfileAt(profile, y);
    tube.rings.push_back({D3DXVECTOR3(0.0f, y, 0.0f), r.a, r.b});
  }
  tube.poleBack = D3DXVECTOR3(0.0f, 0.815f, 0.0f);
  tube.poleFront = D3DXVECTOR3(0.0f, 1.555f, 0.0f);
  builder.addTube(tube, ClothesV, [](const D3DXVECTOR3& c) { return c.y > 1.46f ? kSkin : kClothes; });
}

void AddLeftArm(MeshBuilder& builder) {
  const std::initializer_list<ProfileRow> profile = {
      {0.13f, 0.058f, 0.058f}, {0.22f, 0.058f, 0.056f}, {0.34f, 0.050f, 0.048f}, {0.47f, 0.042f, 0.040f},
      {0.56f, 0.043f, 0.041f}, {0.70f, 0.033f, 0.028f}, {0.76f, 0.030f, 0.026f}};
  TubeSpec tube;
  tube.u = D3DXVECTOR3(0, 1, 0);
  tube.v = D3DXVECTOR3(0, 0, 1);
  tube.sides = 14;
  const int rings = 22;
  for (int i = 0; i < rings; ++i) {
    const float x = 0.13f + (0.76f - 0.13f) * static_cast<float>(i) / static_cast<float>(rings - 1);
    const ProfileRow r = ProfileAt(profile, x);
    tube.rings.push_back({D3DXVECTOR3(x, 1.40f, 0.0f), r.a, r.b});
  }
  tube.poleBack = D3DXVECTOR3(0.12f, 1.40f, 0.0f);
  tube.poleFront = D3DXVECTOR3(0.77f, 1.40f, 0.0f);
  builder.addTube(tube, ClothesV,
                  [](const D3DXVECTOR3& c) { return std::fabs(c.x) < 0.30f ? kClothes : kSkin; });
}

void AddLeftLeg(MeshBuilder& builder) {
  const std::initializer_list<ProfileRow> profile = {
      {1.00f, 0.078f, 0.085f}, {0.88f, 0.080f, 0.085f}, {0.70f, 0.066f, 0.070f}, {0.50f, 0.050f, 0.055f},
      {0.40f, 0.052f, 0.060f}, {0.25f, 0.044f, 0.048f}, {0.12f, 0.036f, 0.038f}, {0.07f, 0.035f, 0.037f}};
  TubeSpec tube;
  tube.u = D3DXVECTOR3(1, 0, 0);
  tube.v = D3DXVECTOR3(0, 0, 1);
  tube.sides = 14;
  const int rings = 24;
  for (int i = 0; i < rings; ++i) {
    const float y = 1.00f + (0.07f - 1.00f) * static_cast<float>(i) / static_cast<float>(rings - 1);
    const ProfileRow r = ProfileAt(profile, y);
    tube.rings.push_back({D3DXVECTOR3(0.10f, y, 0.0f), r.a, r.b});
  }
  tube.poleBack = D3DXVECTOR3(0.10f, 1.015f, 0.0f);
  tube.poleFront = D3DXVECTOR3(0.10f, 0.06f, 0.0f);
  builder.addTube(tube, ClothesV, [](const D3DXVECTOR3&) { return kClothes; });
}

auto Constant(uint32_t material) {
  return [material](const D3DXVECTOR3&) { return material; };
}
}  // namespace

HumanoidMesh BuildHumanoidMesh(const std::string& clothesTexture) {
  HumanoidMesh out;
  out.mesh.frameName = "Character";
  out.mesh.meshName = "Body";
  out.mesh.materials.push_back(Material("Skin", {0.93f, 0.76f, 0.64f, 1.0f}, 12.0f, 0.15f, ""));
  out.mesh.materials.push_back(Material("Clothes", {1.0f, 1.0f, 1.0f, 1.0f}, 6.0f, 0.05f, clothesTexture));
  MeshBuilder builder(out.mesh);

  AddTorso(builder);
  Tag(out, BodyPart::Torso);
  builder.addEllipsoid({0.0f, 1.665f, 0.005f}, {0.085f, 0.112f, 0.098f}, 20, 14, ClothesV, Constant(kSkin));
  builder.addEllipsoid({0.0f, 1.655f, -0.092f}, {0.014f, 0.022f, 0.018f}, 8, 5, ClothesV, Constant(kSkin));
  Tag(out, BodyPart::Head);

  // Left limbs, then their mirror images on the right.
  const struct {
    BodyPart left, right;
    void (*build)(MeshBuilder&);
  } limbs[] = {
      {BodyPart::LeftArm, BodyPart::RightArm, AddLeftArm},
      {BodyPart::LeftHand, BodyPart::RightHand,
       [](MeshBuilder& b) {
         b.addEllipsoid({0.81f, 1.40f, 0.0f}, {0.055f, 0.022f, 0.042f}, 10, 6, ClothesV, Constant(kSkin));
       }},
      {BodyPart::LeftLeg, BodyPart::RightLeg, AddLeftLeg},
      {BodyPart::LeftFoot, BodyPart::RightFoot,
       [](MeshBuilder& b) {
         b.addEllipsoid({0.10f, 0.045f, -0.035f}, {0.045f, 0.040f, 0.110f}, 12, 8, ShoeV, Constant(kClothes));
       }},
  };
  for (const auto& limb : limbs) {
    const uint32_t firstVertex = builder.vertexCount();
    const std::size_t firstPolygon = builder.polygonCount();
    limb.build(builder);
    Tag(out, limb.left);
    builder.mirrorX(firstVertex, firstPolygon);
    Tag(out, limb.right);
  }
  builder.computeSmoothNormals();
  return out;
}
}  // namespace posewright
