// A small bound model with every kind of content a SkinnedMesh file carries.
#pragma once

#include "model/SkinnedModel.h"

namespace posewright {

inline SkinVertex MakeVertex(D3DXVECTOR3 p, std::array<float, 3> w, uint32_t indices, D3DXVECTOR3 n, float u,
                             float v) {
  SkinVertex x;
  x.position = p;
  x.blendWeights[0] = w[0];
  x.blendWeights[1] = w[1];
  x.blendWeights[2] = w[2];
  x.boneIndices = indices;
  x.normal = n;
  x.u = u;
  x.v = v;
  return x;
}

inline Bone MakeBone(const char* name, int32_t parent, int32_t partner, D3DXVECTOR3 begin, D3DXVECTOR3 end,
                     D3DXQUATERNION rest) {
  Bone b;
  b.name = name;
  b.parentId = parent;
  b.symmetricId = partner;
  b.begin = begin;
  b.end = end;
  b.restRotation = rest;
  b.orientation = rest;
  return b;
}

// Four vertices, two faces sharing an edge, two materials (one textured, with
// a file ambient of 0.2), two attribute ranges and three bones.
inline SkinnedModel SmallBoundModel() {
  SkinnedModel m;
  m.skinnedMesh.vertices = {
      MakeVertex({0, 1, 0}, {1, 0, 0}, 1, {0, 1, 0}, 0.5f, 0),
      MakeVertex({1, -2.5f, 0.0078125f}, {0.25f, 0.5f, 0.125f}, 0xC8000201u, {0, 0, -1}, 1, 0.25f),
      MakeVertex({0, 0, 1}, {1, 0, 0}, 2, {1, 0, 0}, 0, 1),
      MakeVertex({2, 0, 0}, {0.5f, 0.5f, 0}, 0x0201u, {0, 1, 0}, 1, 1),
  };
  m.skinnedMesh.indices = {0, 1, 2, 2, 1, 3};
  m.skinnedMesh.faceAttributes = {0, 1};
  m.adjacency = {0xFFFFFFFFu, 1, 0xFFFFFFFFu, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  D3DXMATERIAL textured;
  textured.MatD3D.Diffuse = {1, 0.5f, 0.25f, 1};
  textured.MatD3D.Ambient = {0.2f, 0.2f, 0.2f, 1};
  textured.MatD3D.Specular = {0, 0, 0, 1};
  textured.MatD3D.Emissive = {0, 0, 0, 1};
  textured.MatD3D.Power = 8;
  textured.textureFilename = "tex/skin.png";
  D3DXMATERIAL plain;
  plain.MatD3D.Diffuse = {0.5f, 0.5f, 0.5f, 1};
  plain.MatD3D.Ambient = {0.5f, 0.5f, 0.5f, 0.75f};
  m.materialList = {textured, plain};
  for (const D3DXMATERIAL& x : m.materialList) {
    D3DMATERIAL8 draw = x.MatD3D;
    draw.Ambient.r = draw.Ambient.g = draw.Ambient.b = 0.5f;
    m.materials.push_back(draw);
  }
  m.textures.resize(2);
  m.textureNames.resize(2);
  m.attributeTable = {{0, 0, 1, 0, 3}, {1, 1, 1, 1, 3}};
  m.pointVertices = m.skinnedMesh.vertices;
  m.selection.reset(4);
  m.meshLoaded = true;
  m.skeleton.bones = {
      MakeBone("Root", 0, 0, {0, 0, 0}, {0, 1, 0}, {0, 0, 0, 1}),
      MakeBone("Left Arm", 0, 2, {0, 1, 0}, {1, 1, 0}, {0, 0.707107f, 0, 0.707107f}),
      MakeBone("Hand", 1, 1, {1, 1, 0}, {1.5f, 1, 0}, {0, 0.707107f, 0, 0.707107f}),
  };
  m.skeleton.resizePerBoneArrays();
  m.skeleton.bonesLoaded = true;
  return m;
}
}  // namespace posewright
