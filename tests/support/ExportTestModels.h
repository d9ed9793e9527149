// Small models for the export tests, built field by field.
#pragma once

#include <string>
#include <vector>

#include "anim/Animation.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace exporttest {

inline SkinVertex Vertex(D3DXVECTOR3 position, D3DXVECTOR3 normal, float u, float v, uint32_t boneIndices,
                         float w0 = 1.0f, float w1 = 0.0f, float w2 = 0.0f) {
  SkinVertex x;
  x.position = position;
  x.normal = normal;
  x.u = u;
  x.v = v;
  x.boneIndices = boneIndices;
  x.blendWeights[0] = w0;
  x.blendWeights[1] = w1;
  x.blendWeights[2] = w2;
  return x;
}

inline Bone NamedBone(const std::string& name, int32_t parent, D3DXVECTOR3 begin = {}) {
  Bone b;
  b.name = name;
  b.parentId = parent;
  b.begin = begin;
  b.end = begin + D3DXVECTOR3(0, 1, 0);
  return b;
}

inline void SetBones(SkinnedModel& m, std::vector<Bone> bones) {
  m.skeleton.bones = std::move(bones);
  m.skeleton.resizePerBoneArrays();
  m.skeleton.bonesLoaded = true;
}

inline D3DXMATERIAL WhiteMaterial() {
  D3DXMATERIAL material;
  material.MatD3D.Diffuse = {1, 1, 1, 1};
  material.MatD3D.Ambient = {0, 0, 0, 1};
  material.MatD3D.Specular = {0, 0, 0, 1};
  material.MatD3D.Emissive = {0, 0, 0, 1};
  return material;
}

inline void SetMaterials(SkinnedModel& m, std::vector<D3DXMATERIAL> list) {
  m.materialList = std::move(list);
  m.materials.clear();
  for (const D3DXMATERIAL& x : m.materialList) {
    D3DMATERIAL8 draw = x.MatD3D;
    draw.Ambient.r = draw.Ambient.g = draw.Ambient.b = 0.5f;
    m.materials.push_back(draw);
  }
  m.textures.assign(m.materialList.size(), nullptr);
  m.textureNames.assign(m.materialList.size(), std::string());
}

/// One triangle on bone 1 ("Arm", child of "Root"), one white material.
inline SkinnedModel OneTriangle() {
  SkinnedModel m;
  const D3DXVECTOR3 n(0, 0, -1);
  m.skinnedMesh.vertices = {Vertex({0, 0, 0}, n, 0, 0, 1), Vertex({1, 0, 0}, n, 1, 0, 1),
                            Vertex({0, 1, 0}, n, 0, 1, 1)};
  m.skinnedMesh.indices = {0, 1, 2};
  m.skinnedMesh.faceAttributes = {0};
  m.adjacency = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  m.attributeTable = {{0, 0, 1, 0, 3}};
  SetMaterials(m, {WhiteMaterial()});
  m.meshLoaded = true;
  SetBones(m, {NamedBone("Root", 0), NamedBone("Arm", 0, {0, 1, 0})});
  return m;
}

/// boneCount identity rotations at each time.
inline Animation StillAnimation(int32_t boneCount, const std::vector<int32_t>& times) {
  Animation a;
  a.boneCount = boneCount;
  const std::vector<D3DXQUATERNION> rotations(static_cast<std::size_t>(boneCount));
  for (int32_t t : times) a.InsertKey(rotations, t);
  return a;
}

/// text with every LF turned into CR LF.
inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace exporttest
}  // namespace posewright
