// Bone data files whose bones sit in box-shaped anchors, for tests that need
// a skeleton that binds a given mesh: every vertex inside a bone's box is
// influenced by that bone.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "math/Vector3.h"

namespace posewright {

namespace fixtures {

struct BoxBone {
  std::string name;
  int parent = 0;
  D3DXVECTOR3 begin;
  D3DXVECTOR3 end;
  D3DXVECTOR3 boxMin;
  D3DXVECTOR3 boxMax;
};

inline std::string Numbers(std::initializer_list<float> values) {
  std::string out;
  char buffer[32];
  for (float v : values) {
    std::snprintf(buffer, sizeof buffer, "%s%.4f", out.empty() ? "" : " ", static_cast<double>(v));
    out += buffer;
  }
  return out;
}

/// A bone data file: the root from rootBegin to rootEnd, then the bones in
/// order, each with an identity rest rotation and its box as anchor (8
/// corners, 12 faces with outward normals).
inline std::string BoxBoneDataText(const D3DXVECTOR3& rootBegin, const D3DXVECTOR3& rootEnd,
                                   const std::vector<BoxBone>& bones) {
  std::string text = "numBones: " + std::to_string(bones.size() + 1) + "\n";
  text += "root_point: " + Numbers({rootBegin.x, rootBegin.y, rootBegin.z}) + "\n";
  text += "end_point: " + Numbers({rootEnd.x, rootEnd.y, rootEnd.z}) + "\n";
  // Corner i has x from bit 0, y from bit 1, z from bit 2 (0 = min, 1 = max).
  struct Face {
    float nx, ny, nz;
    int a, b, c;
  };
  const Face faces[12] = {{-1, 0, 0, 0, 4, 6}, {-1, 0, 0, 0, 6, 2}, {1, 0, 0, 1, 3, 7}, {1, 0, 0, 1, 7, 5},
                          {0, -1, 0, 0, 1, 5}, {0, -1, 0, 0, 5, 4}, {0, 1, 0, 2, 6, 7}, {0, 1, 0, 2, 7, 3},
                          {0, 0, -1, 0, 2, 3}, {0, 0, -1, 0, 3, 1}, {0, 0, 1, 4, 5, 7}, {0, 0, 1, 4, 7, 6}};
  for (std::size_t i = 0; i < bones.size(); ++i) {
    const BoxBone& b = bones[i];
    text += "Name: " + b.name + "\nID: " + std::to_string(i + 1) + "\nParentID: " + std::to_string(b.parent) +
            "\n";
    text += "bone_begin: " + Numbers({b.begin.x, b.begin.y, b.begin.z}) + "\n";
    text += "bone_end: " + Numbers({b.end.x, b.end.y, b.end.z}) + "\n";
    text += "quaternion: 0.0 0.0 0.0 1.0\nnumVertices_anchor: 8\nnumFaces_anchor: 12\n";
    text +=
        "BorderBox: " + Numbers({b.boxMin.x, b.boxMin.y, b.boxMin.z, b.boxMax.x, b.boxMax.y, b.boxMax.z}) +
        "\n";
    text += "anchor_vertices:\n";
    for (int corner = 0; corner < 8; ++corner) {
      text += Numbers({corner & 1 ? b.boxMax.x : b.boxMin.x, corner & 2 ? b.boxMax.y : b.boxMin.y,
                       corner & 4 ? b.boxMax.z : b.boxMin.z}) +
              "\n";
    }
    text += "anchor_normals/faces:\n";
    for (const Face& f : faces) {
      text += Numbers({f.nx, f.ny, f.nz}) + " " + std::to_string(f.a) + " " + std::to_string(f.b) + " " +
              std::to_string(f.c) + "\n";
    }
  }
  return text;
}

}  // namespace fixtures
}  // namespace posewright
