#include "BoneDataScan.h"

#include "fileio/KeyedLineReader.h"

namespace {
class Scanner {
 public:
  Scanner(std::string_view text, std::string* error) : reader_(text), error_(error) {}

  bool line(KeyedLine& out, const char* key) {
    if (!reader_.next(out)) {
      return fail(std::string("file ends before \"") + (key ? key : "data") + "\"");
    }
    if (out.truncated) {
      return fail("line " + std::to_string(out.number) + " is longer than 255 characters");
    }
    if (key != nullptr && !out.hasKey(key)) {
      return fail("line " + std::to_string(out.number) + ": expected \"" + key + "\"");
    }
    return true;
  }
  bool fail(const std::string& why) {
    *error_ = why;
    return false;
  }

 private:
  KeyedLineReader reader_;
  std::string* error_;
};

D3DXVECTOR3 Vec(const KeyedLine& l, std::size_t first) {
  return {l.floatAt(first), l.floatAt(first + 1), l.floatAt(first + 2)};
}
}  // namespace

std::optional<std::vector<ScannedBone>> ScanBoneData(std::string_view text, std::string* error) {
  Scanner s(text, error);
  KeyedLine l;
  if (!s.line(l, "numBones:")) {
    return std::nullopt;
  }
  const int count = l.intAt(1);
  if (count < 1) {
    s.fail("bone count below 1");
    return std::nullopt;
  }
  std::vector<ScannedBone> bones(static_cast<std::size_t>(count));
  bones[0].name = "Root";
  if (!s.line(l, "root_point:")) {
    return std::nullopt;
  }
  bones[0].begin = Vec(l, 1);
  if (!s.line(l, "end_point:")) {
    return std::nullopt;
  }
  bones[0].end = Vec(l, 1);
  for (std::size_t i = 1; i < bones.size(); ++i) {
    ScannedBone& b = bones[i];
    if (!s.line(l, "Name:")) {
      return std::nullopt;
    }
    b.name = std::string(l.token(1));
    if (l.tokens.size() != 2 || !s.line(l, "ID:") || l.intAt(1) != static_cast<int>(i) || !s.line(l, "ParentID:")) {
      s.fail("bone " + std::to_string(i) + ": bad name, ID or parent line");
      return std::nullopt;
    }
    b.parent = l.intAt(1);
    if (!s.line(l, "bone_begin:")) {
      return std::nullopt;
    }
    b.begin = Vec(l, 1);
    if (!s.line(l, "bone_end:")) {
      return std::nullopt;
    }
    b.end = Vec(l, 1);
    if (!s.line(l, "quaternion:")) {
      return std::nullopt;
    }
    b.rotation = {l.floatAt(1), l.floatAt(2), l.floatAt(3), l.floatAt(4)};
    if (!s.line(l, "numVertices_anchor:")) {
      return std::nullopt;
    }
    const int nv = l.intAt(1);
    if (!s.line(l, "numFaces_anchor:")) {
      return std::nullopt;
    }
    const int nf = l.intAt(1);
    if (!s.line(l, "BorderBox:")) {
      return std::nullopt;
    }
    b.anchor.boxMin = Vec(l, 1);
    b.anchor.boxMax = Vec(l, 4);
    if (nv < 0 || nf < 0 || !s.line(l, "anchor_vertices:")) {
      return std::nullopt;
    }
    for (int k = 0; k < nv; ++k) {
      if (!s.line(l, nullptr)) {
        return std::nullopt;
      }
      b.anchor.vertices.push_back(Vec(l, 0));
    }
    if (!s.line(l, "anchor_normals/faces:")) {
      return std::nullopt;
    }
    for (int k = 0; k < nf; ++k) {
      if (!s.line(l, nullptr)) {
        return std::nullopt;
      }
      b.anchor.faceNormals.push_back(Vec(l, 0));
      b.anchor.faces.push_back({l.intAt(3), l.intAt(4), l.intAt(5)});
    }
  }
  return bones;
}
