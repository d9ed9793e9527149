#include "tools/gen/BoneDataWriter.h"

#include "fileio/TextWriter.h"

namespace {
double D(float v) { return static_cast<double>(v); }

void Point(TextWriter& w, const char* key, const D3DXVECTOR3& p) {
  w.line("%s %.6f %.6f %.6f", key, D(p.x), D(p.y), D(p.z));
}
}  // namespace

std::string FormatBoneData(const Skeleton& skeleton) {
  TextWriter w;
  const int32_t count = skeleton.boneCount();
  w.line("numBones: %d", count);
  if (count == 0) {
    return w.take();
  }
  Point(w, "root_point:", skeleton.bones[0].begin);
  Point(w, "end_point:", skeleton.bones[0].end);
  for (int32_t i = 1; i < count; ++i) {
    const Bone& b = skeleton.bones[static_cast<std::size_t>(i)];
    const BoneAnchor& a = skeleton.anchors[static_cast<std::size_t>(i)];
    w.line("Name: %s", b.name.c_str());
    w.line("ID: %d", i);
    w.line("ParentID: %d", b.parentId);
    Point(w, "bone_begin:", b.begin);
    Point(w, "bone_end:", b.end);
    const D3DXQUATERNION& q = b.restRotation;
    w.line("quaternion: %.6f %.6f %.6f %.6f", D(q.x), D(q.y), D(q.z), D(q.w));
    w.line("numVertices_anchor: %d", a.vertexCount());
    w.line("numFaces_anchor: %d", a.faceCount());
    w.line("BorderBox: %.6f %.6f %.6f %.6f %.6f %.6f", D(a.boxMin.x), D(a.boxMin.y), D(a.boxMin.z),
           D(a.boxMax.x), D(a.boxMax.y), D(a.boxMax.z));
    w.line("anchor_vertices:");
    for (const D3DXVECTOR3& v : a.vertices) {
      w.line("%.6f %.6f %.6f", D(v.x), D(v.y), D(v.z));
    }
    w.line("anchor_normals/faces:");
    for (std::size_t f = 0; f < a.faces.size(); ++f) {
      const D3DXVECTOR3& n = a.faceNormals[f];
      w.line("%.6f %.6f %.6f %d %d %d", D(n.x), D(n.y), D(n.z), a.faces[f][0], a.faces[f][1], a.faces[f][2]);
    }
  }
  return w.take();
}
