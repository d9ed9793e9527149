// The skinned-mesh .x export: one text DirectX file holding the bound mesh
// with its blend weights, the skeleton as a frame hierarchy and the current
// animation as one animation set of matrix keys, in the form the Direct3D 8
// SkinnedMesh loaders read.
#pragma once

#include <string>

#include "anim/Animation.h"
#include "export/ExportOptions.h"
#include "fileio/Status.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// The file text, lines ending in CR LF, numbers as printf's "%.6f", "%u" and
/// "%d": the header line and template block, the mesh "thisMesh" (vertices,
/// faces, material list, vertex duplication indices, normals, texture
/// coordinates, skin header, one SkinWeights per bone that moves at least one
/// vertex), one Frame per bone nested as the skeleton is, and — when animation
/// is set and has keyframes — one AnimationSet with one Animation per bone.
/// The mesh comes before the frames, referenced as "{thisMesh}" in the root
/// frame; with options.meshInFrame it is written in the root frame instead,
/// after its FrameTransformMatrix, every line indented one more space.
/// Fails, producing nothing, for what CheckSkinnedMeshXExport refuses.
Status FormatSkinnedMeshX(const ExportOptions& options, const SkinnedModel& model, const Animation* animation,
                          std::string& text);

/// Formats the file and writes it to fileName atomically; on any failure a
/// previous file there stays as it was and the status says why.
Status WriteSkinnedMeshX(const std::string& fileName, const ExportOptions& options, const SkinnedModel& model,
                         const Animation* animation);
}  // namespace posewright
