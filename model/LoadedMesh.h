// A mesh read from a .x file and made ready for the model, built apart from
// the model so that a failed read leaves the model untouched.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fileio/Status.h"
#include "image/TextureImage.h"
#include "image/TextureLoader.h"
#include "mesh/Material.h"
#include "mesh/SourceMesh.h"
#include "model/MeshPart.h"
#include "model/SkinnedModel.h"
#include "xfile/XFileDocument.h"
#include "xfile/XFileMeshBuilder.h"

namespace posewright {

struct LoadedMesh : MeshPart {
  /// Where every vertex came from in the document.
  std::vector<XVertexOrigin> origins;
};

/// Whether PrepareLoadedMesh reads the materials' texture files.
enum class TextureLoading { Load, Skip };

/// Builds the mesh of doc (read from path): merge, attribute sort, attribute
/// table, adjacency, drawing copies of the materials and (unless skipped) their
/// textures, resolved against path's folder and loaded with loadTexture, each
/// file once however many materials name it.
Status PrepareLoadedMesh(const XFileDocument& doc, const std::string& path, LoadedMesh& out,
                         TextureLoading textures = TextureLoading::Load,
                         const TextureLoader& loadTexture = LoadTextureImage);

/// The part of PrepareLoadedMesh after the merge, for a mesh from any source:
/// takes mesh and materials into out (origins are left as they are), sorts the
/// faces by material, builds the attribute table, the adjacency and the drawing
/// copies of the materials, and (unless skipped) decodes the textures, whose
/// names resolve against folder.
void ArrangeLoadedMesh(SourceMesh&& mesh, std::vector<D3DXMATERIAL>&& materials, const std::string& folder,
                       LoadedMesh& out, TextureLoading textures = TextureLoading::Load,
                       const TextureLoader& loadTexture = LoadTextureImage);

/// Replaces the model's mesh half with mesh: source mesh, materials, textures,
/// attribute table, adjacency, texture names (one per material, as written in
/// the file); mesh loaded is set. A previous bound mesh, its point buffer and
/// the selection are released, since they belong to the old mesh. The
/// skeleton is not touched.
void InstallLoadedMesh(SkinnedModel& model, LoadedMesh&& mesh);
}  // namespace posewright
