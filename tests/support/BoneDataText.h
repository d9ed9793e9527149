// Bone data texts for the reader tests: the documented two-bone example and a
// builder for larger skeletons that reuse its tetrahedral anchor.
#pragma once

#include <string>
#include <vector>

namespace posewright {

inline const std::string kExampleHead =
    "numBones: 2\n"
    "root_point: 0.0 0.0 0.0\n"
    "end_point: 0.0 1.0 0.0\n";

inline std::string BoneBlock(const std::string& name, int parent) {
  return "Name: " + name +
         "\n"
         "ID: 1\n"
         "ParentID: " +
         std::to_string(parent) +
         "\n"
         "bone_begin: 0.0 1.0 0.0\n"
         "bone_end: 1.0 1.0 0.0\n"
         "quaternion: 0.0 0.7071 0.0 0.7071\n"
         "numVertices_anchor: 4\n"
         "numFaces_anchor: 4\n"
         "BorderBox: -0.1 0.6 -0.4 1.2 1.4 0.4\n"
         "anchor_vertices:\n"
         "-0.1 0.6 -0.4\n"
         "-0.1 0.6 0.4\n"
         "-0.1 1.4 0.0\n"
         "1.2 1.0 0.0\n"
         "anchor_normals/faces:\n"
         "-1.0 0.0 0.0 0 1 2\n"
         "0.2941 -0.9558 0.0 0 3 1\n"
         "0.1363 0.443 0.8861 1 3 2\n"
         "0.1363 0.443 -0.8861 2 3 0\n";
}

/// The example file: a root and the bone Arm inside a tetrahedron.
inline const std::string kExampleBoneData = kExampleHead + BoneBlock("Arm", 0);

/// A file whose bone i (from 1) has parents[i − 1] as parent and is named B<i>.
inline std::string BoneDataWithParents(const std::vector<int>& parents) {
  std::string text = "numBones: " + std::to_string(parents.size() + 1) +
                     "\nroot_point: 0.0 0.0 0.0\nend_point: 0.0 1.0 0.0\n";
  for (std::size_t i = 0; i < parents.size(); ++i) {
    text += BoneBlock("B" + std::to_string(i + 1), parents[i]);
  }
  return text;
}

/// text with its 1-based line number replaced by replacement (which may hold
/// several lines or none).
inline std::string ReplaceLine(const std::string& text, int number, const std::string& replacement) {
  std::string out;
  std::size_t pos = 0;
  for (int line = 1; pos < text.size(); ++line) {
    std::size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    out += line == number ? replacement : text.substr(pos, end - pos);
    pos = end;
  }
  return out;
}
}  // namespace posewright
