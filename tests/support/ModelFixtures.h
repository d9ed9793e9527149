// Small hand-made models for rendering and selection tests: a skeleton of
// bones standing along +Z and a mesh of quads whose vertices are bound to
// chosen bones.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/panels/BoneItemMap.h"
#include "math/D3DXMath.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace fixtures {

/// count bones; bone i runs from (0, 0, i) to (0, 0, i + 1), parent i − 1,
/// identity rest rotation and pose; marked loaded.
inline Skeleton ChainSkeleton(int count) {
  Skeleton s;
  for (int i = 0; i < count; ++i) {
    Bone b;
    b.name = "B" + std::to_string(i);
    b.parentId = i == 0 ? 0 : i - 1;
    b.symmetricId = i;
    b.begin = D3DXVECTOR3(0.0f, 0.0f, static_cast<float>(i));
    b.end = D3DXVECTOR3(0.0f, 0.0f, static_cast<float>(i + 1));
    ResetBonePose(b);
    s.bones.push_back(b);
  }
  s.resizePerBoneArrays();
  s.bonesLoaded = true;
  return s;
}

/// The bone list entries of a ChainSkeleton(count): 100 + i for bone i.
inline BoneItemMap ChainItems(int count) {
  BoneItemMap items;
  for (int i = 0; i < count; ++i) {
    items.push_back(static_cast<BoneTreeItem>(100 + i));
  }
  return items;
}

/// A vertex at p bound fully to one bone, with the given normal.
inline SkinVertex BoundVertex(const D3DXVECTOR3& p, uint8_t bone, const D3DXVECTOR3& normal = {0, 0, -1}) {
  SkinVertex v;
  v.position = p;
  v.blendWeights[0] = 1.0f;
  v.setBoneIndex(0, bone);
  v.normal = normal;
  return v;
}

/// Appends a quad (two triangles) with corners a, b, c, d (in order round the
/// quad) to the mesh, all bound to bone and using material.
inline void AddQuad(SkinnedModel& model, const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c,
                    const D3DXVECTOR3& d, uint8_t bone, uint32_t material) {
  auto& mesh = model.skinnedMesh;
  const auto base = static_cast<uint16_t>(mesh.vertices.size());
  for (const D3DXVECTOR3& p : {a, b, c, d}) {
    mesh.vertices.push_back(BoundVertex(p, bone));
  }
  for (uint16_t i : {0, 1, 2, 0, 2, 3}) {
    mesh.indices.push_back(static_cast<uint16_t>(base + i));
  }
  mesh.faceAttributes.push_back(material);
  mesh.faceAttributes.push_back(material);
}

/// A material as a .x file gives it: the diffuse colour, ambient (0, 0, 0, 1).
inline D3DXMATERIAL Material(float r, float g, float b) {
  D3DXMATERIAL m;
  m.MatD3D.Diffuse = {r, g, b, 1.0f};
  m.MatD3D.Ambient = {0.0f, 0.0f, 0.0f, 1.0f};
  return m;
}

/// Finishes a model built with AddQuad whose faces are already grouped by
/// material: material list and drawing copies (Ambient r, g, b = ambient),
/// attribute table, no textures, point copies, empty selection, loaded flags.
inline void Finish(SkinnedModel& model, const std::vector<D3DXMATERIAL>& materials, Skeleton skeleton,
                   float ambient = 0.5f) {
  model.materialList = materials;
  model.materials.clear();
  for (const D3DXMATERIAL& m : materials) {
    D3DMATERIAL8 copy = m.MatD3D;
    copy.Ambient = {ambient, ambient, ambient, copy.Ambient.a};
    model.materials.push_back(copy);
  }
  model.attributeTable.clear();
  const auto& attributes = model.skinnedMesh.faceAttributes;
  for (uint32_t f = 0; f < attributes.size(); ++f) {
    if (model.attributeTable.empty() || model.attributeTable.back().AttribId != attributes[f]) {
      D3DXATTRIBUTERANGE r;
      r.AttribId = attributes[f];
      r.FaceStart = f;
      model.attributeTable.push_back(r);
    }
    D3DXATTRIBUTERANGE& r = model.attributeTable.back();
    ++r.FaceCount;
  }
  for (D3DXATTRIBUTERANGE& r : model.attributeTable) {
    uint32_t lo = 0xFFFFFFFFu;
    uint32_t hi = 0;
    for (uint32_t i = r.FaceStart * 3; i < (r.FaceStart + r.FaceCount) * 3; ++i) {
      lo = std::min<uint32_t>(lo, model.skinnedMesh.indices[i]);
      hi = std::max<uint32_t>(hi, model.skinnedMesh.indices[i]);
    }
    r.VertexStart = lo;
    r.VertexCount = hi - lo + 1;
  }
  model.textures.assign(materials.size(), nullptr);
  model.pointVertices = model.skinnedMesh.vertices;
  for (SkinVertex& v : model.pointVertices) {
    v.pointSize = 10.0f;
  }
  model.selection.reset(model.skinnedMesh.vertices.size());
  model.skeleton = std::move(skeleton);
  model.meshLoaded = true;
}

/// A tube of radius 0.5 along +Z from 0 to 3 (13 rings of 16 vertices) over
/// a chain of 3 bones, blended between neighbouring bones near the joints; the
/// faces with y > 0 use material 0, the others material 1 (which has the
/// given texture, if any, with u round the tube and v along it).
inline SkinnedModel Tube(const std::optional<TextureImage>& texture = std::nullopt) {
  SkinnedModel model;
  constexpr int kRings = 13;
  constexpr int kSides = 16;
  auto& mesh = model.skinnedMesh;
  for (int r = 0; r < kRings; ++r) {
    const float z = 3.0f * static_cast<float>(r) / (kRings - 1);
    for (int s = 0; s < kSides; ++s) {
      const float a = 2.0f * 3.14159265f * static_cast<float>(s) / kSides;
      SkinVertex v =
          BoundVertex({0.5f * std::cos(a), 0.5f * std::sin(a), z}, 0, {std::cos(a), std::sin(a), 0});
      const int bone = std::min(2, static_cast<int>(z));
      const float f = z - static_cast<float>(bone);
      v.setBoneIndex(0, static_cast<uint8_t>(bone));
      if (bone < 2 && f > 0.5f) {
        v.setBoneIndex(1, static_cast<uint8_t>(bone + 1));
        v.blendWeights[0] = 1.5f - f;
        v.blendWeights[1] = f - 0.5f;
      }
      v.u = static_cast<float>(s) / kSides;
      v.v = z / 3.0f;
      mesh.vertices.push_back(v);
    }
  }
  for (uint32_t material = 0; material < 2; ++material) {
    for (int r = 0; r + 1 < kRings; ++r) {
      for (int s = 0; s < kSides; ++s) {
        if ((s < kSides / 2) != (material == 0)) {
          continue;
        }
        const auto at = [](int ring, int side) {
          return static_cast<uint16_t>(ring * kSides + side % kSides);
        };
        for (uint16_t i :
             {at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r, s), at(r + 1, s + 1), at(r + 1, s)}) {
          mesh.indices.push_back(i);
        }
        mesh.faceAttributes.push_back(material);
        mesh.faceAttributes.push_back(material);
      }
    }
  }
  Finish(model, {Material(0.9f, 0.6f, 0.3f), Material(0.8f, 0.8f, 0.8f)}, ChainSkeleton(3));
  if (texture) model.textures[1] = std::make_shared<const TextureImage>(*texture);
  model.adjacency.assign(mesh.faceCount() * 3, 0xFFFFFFFFu);
  return model;
}

}  // namespace fixtures
}  // namespace posewright
