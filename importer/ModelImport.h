// Opening a user's own model: any mesh format (the .x reader for .x files,
// Assimp for the others), and a rigged model in one step with its skeleton,
// its skin weights and generated anchors.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fileio/Status.h"
#include "importer/AnchorGeneration.h"
#include "importer/RigSkeleton.h"
#include "model/LoadedMesh.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// What an import changed on the way, for the user.
struct ImportNotes {
  /// Faces left out for having fewer than three distinct corners.
  std::size_t droppedFaces = 0;

  /// "N faces with fewer than three distinct corners were left out." or "".
  std::string droppedFacesText() const;
};

/// A model file as read: its mesh made ready for the model, and its joints
/// and skin weights as the file gives them (no joints without a skeleton).
struct ModelFile {
  LoadedMesh mesh;
  ImportedRig rig;
  ImportNotes notes;
};

/// Reads a model file of any format (a .x file through the editor's own
/// reader). Refused with "File Format Error" and the file and reason.
Status ReadModelFile(const std::string& path, ModelFile& out);

/// Reads a mesh file of any format into mesh, as LoadMesh would read a .x
/// file: merged, faces sorted by material, textures from files beside it or
/// embedded in it. Refused with "File Format Error" and the file and reason.
Status ImportMesh(const std::string& path, LoadedMesh& mesh, ImportNotes* notes = nullptr);

/// LoadMesh for a file of any format: replaces the model's mesh half, or on
/// failure leaves the model exactly as it was.
Status LoadAnyMesh(SkinnedModel& model, const std::string& path, ImportNotes* notes = nullptr);

/// A rigged model read apart from the editor's model.
struct RiggedImport {
  LoadedMesh mesh;
  /// Skeleton with generated anchors and fitted R and H; the file's weights.
  RigSkeleton rig;
  ImportNotes notes;
};

/// Reads a rigged model of any format (a skinned .x through the editor's own
/// reader) and makes its bones, weights, anchors and reaches. Refused, naming
/// the file and the reason, for everything ImportMesh refuses and for a file
/// whose armature does not deform its mesh or has too many bones.
Status ImportRiggedModel(const std::string& path, RiggedImport& out, const AnchorFitOptions& options = {});

/// Opens a rigged model into the editor's model: mesh, skeleton and the
/// file's own weights, bound and ready to pose, nothing selected. On failure
/// the model stays exactly as it was.
Status LoadRiggedModel(SkinnedModel& model, const std::string& path, ImportNotes* notes = nullptr);

/// Installs an import: what LoadRiggedModel does after reading.
void InstallRiggedImport(SkinnedModel& model, RiggedImport&& import);

/// The skeleton as a bone data file should carry it: the model's own when
/// every bone from 1 on has an anchor; otherwise (a skeleton from a .skm,
/// which keeps no anchors) a copy with anchors generated from the bound
/// mesh's current weights.
Skeleton SkeletonForBoneData(const SkinnedModel& model);

/// The influences a bound vertex carries: its slots with a bone other than the
/// root and a weight above 0, the heaviest first.
VertexInfluences InfluencesOf(const SkinVertex& vertex);

/// The positions of a mesh's vertices.
std::vector<D3DXVECTOR3> PositionsOf(const SourceMesh& mesh);
}  // namespace posewright
