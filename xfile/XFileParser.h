// Reads a .x file of any encoding (text, binary, compressed text, compressed
// binary; 32- or 64-bit floats) into an XFileDocument.
//
// Template declarations are skipped. Data objects are recognised by template
// name, ignoring letter case: Frame (nested or top level), FrameTransformMatrix,
// Mesh with MeshNormals, MeshTextureCoords, MeshMaterialList, XSkinMeshHeader
// and SkinWeights, Material with TextureFilename, AnimationSet, Animation,
// AnimationKey, AnimTicksPerSecond. Any other object is skipped whole, and so is
// any child the editor does not use. A reference {Name} inside a material list
// names an earlier Material; elsewhere references are ignored (a referenced
// mesh is read once, where it is defined).
//
// Malformed input is refused: every message names the file and the line (text)
// or byte offset (binary) and says what was expected there. Counts are checked
// against the bytes left before anything is allocated, a mesh of more than
// 65,535 vertices or faces is refused, and every vertex, normal and material
// index is checked against its array.
#pragma once

#include <string>
#include <string_view>

#include "fileio/Status.h"
#include "mesh/MeshLimits.h"
#include "xfile/XFileDocument.h"

namespace posewright {

/// Largest .x file read: the mesh holds at most 65,535 vertices and faces (a
/// few tens of MiB as text with normals, texture coordinates and skin weights);
/// the rest leaves room for long animation sets the editor skips.
inline constexpr std::size_t kMaxXFileBytes = std::size_t{256} << 20;

/// Parses the whole file in bytes into doc (replaced). fileName is used in
/// messages only. On failure doc holds whatever was read so far.
Status ParseXFile(std::string_view bytes, const std::string& fileName, XFileDocument& doc);

/// Reads the file at path (a regular file of at most kMaxXFileBytes) and
/// parses it. Messages name the file's last path component.
Status ReadXFile(const std::string& path, XFileDocument& doc);
}  // namespace posewright
