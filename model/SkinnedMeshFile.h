// The SkinnedMesh file (*.skm): the editor's own text file for a bound,
// weighted model — skinned vertices, faces, adjacency, materials with texture
// names, the attribute table and the skeleton (names, hierarchy, mirror
// partners, joint and tip points, rest rotations). Anchors, blending
// parameters and the selection are not stored.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "fileio/Status.h"
#include "image/TextureImage.h"
#include "image/TextureLoader.h"
#include "mesh/MeshLimits.h"
#include "skeleton/Skeleton.h"

namespace posewright {

struct SkinnedModel;

/// Message of every refused .skm file; the Status detail names file, line and reason.
inline constexpr std::string_view kSkinnedMeshFormatError = "File Format Error";

/// Largest SkinnedMesh file read: three lines per vertex and face (vertex, face,
/// adjacency) for at most 65,535 of each, at most 255 characters a line, and the
/// materials, attributes and bones.
inline constexpr std::size_t kMaxSkinnedMeshFileBytes = std::size_t{64} << 20;

/// The file text for model, lines ending in CR LF, numbers "%.6f", "%d", "%u".
/// Texture name lines hold each material's texture file name exactly as held
/// (whether or not the image could be decoded), or "(NULL)" when it has none.
/// Fails, producing nothing, when the model has no bound mesh or no skeleton,
/// has more than 65,535 vertices, holds an infinite or NaN number (it would
/// read back as 0), or when a line would be longer than the 255
/// characters the reader accepts (a long texture name, a huge coordinate) or
/// a texture name holds a line break.
Status FormatSkinnedMesh(const SkinnedModel& model, std::string& text);

/// Formats the model and writes it to path atomically; an error leaves any
/// previous file at path as it was.
Status WriteSkinnedMesh(const SkinnedModel& model, const std::string& path);

/// Reads a SkinnedMesh file's text into out, which must be a fresh model.
/// fileName names the file in error details; texture names are resolved
/// against folder and decoded with loadTexture (when set), each file once
/// however many materials name it (TextureCache); they are kept
/// exactly as written whether or not the image decodes. Refuses, with
/// kSkinnedMeshFormatError and a detail naming the line: a line longer than
/// 255 characters, a wrong section key, a file that ends early, a real beyond
/// the 32-bit float range, more than
/// 65,535 or fewer than 1 vertices or faces, a face corner not below the vertex
/// count, an adjacency entry that is neither a face nor 4294967295, an
/// attribute range outside the faces, vertices or materials, no bones or more
/// than 256 (a vertex names a bone with one byte), or a parent that is not an earlier bone (the root's must
/// be 0). Numbers are read from their tokens' leading numeric part (anything else is 0); a vertex's bone
/// index word is taken modulo 2^32.
Status ParseSkinnedMesh(std::string_view text, const std::string& fileName, const std::string& folder,
                        const TextureLoader& loadTexture, SkinnedModel& out);

/// Replaces model by the file at path (a regular file of at most
/// kMaxSkinnedMeshFileBytes): mesh, materials (drawing copies and the
/// list, both with ambient r, g, b 0.5), textures (decoded by loadTexture, by
/// default the PNG/JPEG/BMP/TGA decoders), attribute table, point
/// vertices, skeleton with default blending parameters (R 1.0, H 0.35) and no
/// anchors, and an empty selection; sets mesh and bones loaded. On any
/// failure the model is untouched.
Status ReadSkinnedMesh(SkinnedModel& model, const std::string& path,
                       const TextureLoader& loadTexture = LoadTextureImage);
}  // namespace posewright
