#include "importer/BoneDataWriter.h"

#include <cmath>

#include "fileio/FileBytes.h"
#include "fileio/TextWriter.h"

namespace posewright {

namespace {
double D(float v) {
  return static_cast<double>(v);
}

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

namespace {
// Finite and short enough for a line of at most 255 characters.
bool Finite(float v) {
  return std::isfinite(v) && std::fabs(v) < 1e9f;
}
bool Finite(const D3DXVECTOR3& v) {
  return Finite(v.x) && Finite(v.y) && Finite(v.z);
}
bool Finite(const D3DXQUATERNION& q) {
  return Finite(q.x) && Finite(q.y) && Finite(q.z) && Finite(q.w);
}

std::string AnchorProblem(const BoneAnchor& a) {
  if (a.faceCount() < 4 || a.faceNormals.size() != a.faces.size()) {
    return "has no anchor volume";
  }
  for (const auto& face : a.faces) {
    for (int32_t index : face) {
      if (index < 0 || index >= a.vertexCount()) return "has an anchor face outside its vertices";
    }
  }
  bool finite = Finite(a.boxMin) && Finite(a.boxMax);
  for (const D3DXVECTOR3& v : a.vertices) finite = finite && Finite(v);
  for (const D3DXVECTOR3& n : a.faceNormals) finite = finite && Finite(n);
  return finite ? "" : "has an anchor number that is not finite or too large";
}
}  // namespace

std::string BoneDataProblem(const Skeleton& skeleton) {
  const int32_t count = skeleton.boneCount();
  if (count < 1) {
    return "there are no bones";
  }
  if (skeleton.anchors.size() != skeleton.bones.size()) {
    return "the bones have no anchors";
  }
  for (int32_t i = 0; i < count; ++i) {
    const Bone& b = skeleton.bones[static_cast<std::size_t>(i)];
    const std::string which = "bone " + std::to_string(i) + " (" + b.name + ")";
    if (!Finite(b.begin) || !Finite(b.end) || !Finite(b.restRotation)) {
      return which + " has a number that is not finite or too large";
    }
    if (i == 0) continue;
    if (b.name.empty() || b.name.size() > 249 || b.name.find_first_of(" \t\r\n") != std::string::npos) {
      return which + ": a bone name must be one word of at most 249 characters";
    }
    if (b.parentId < 0 || b.parentId >= i) {
      return which + " has no parent listed before it";
    }
    if (std::string why = AnchorProblem(skeleton.anchors[static_cast<std::size_t>(i)]); !why.empty()) {
      return which + " " + why;
    }
  }
  return "";
}

Status WriteBoneData(const Skeleton& skeleton, const std::string& path) {
  const std::string problem = BoneDataProblem(skeleton);
  if (!problem.empty()) {
    return Status::Error(kBoneDataSaveError, FileNameOf(path) + ": " + problem);
  }
  return WriteFileAtomically(path, FormatBoneData(skeleton));
}
}  // namespace posewright
