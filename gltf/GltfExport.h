// Exporting the bound model, its skeleton and animations as glTF 2.0.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/Status.h"
#include "gltf/GltfContainer.h"
#include "gltf/GltfExportOptions.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace gltf {

/// Container::Binary for a name ending in ".glb", Container::Text for
/// ".gltf" (letter case ignored), otherwise nothing.
std::optional<Container> ContainerOfPath(std::string_view path);

/// Refuses, with "Mesh Save Error" and a reason, what the .x export refuses
/// (no bound mesh or no skeleton), a skeleton of more than 256 bones,
/// positions, normals or texture coordinates that are not finite numbers,
/// and animations that would need more than kMaxExportedKeys rotation
/// samples in total.
Status CheckExport(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                   const ExportOptions& options);

/// The files of the export in memory, the main file last (see
/// ContainerFiles); stem names them. Fails as CheckExport does.
Status FormatExport(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                    const ExportOptions& options, Container container, const std::string& stem,
                    std::vector<NamedFile>& files);

/// Exports to path, whose extension (.glb or .gltf) chooses the container;
/// the .gltf's buffer and images go beside it. Every file is written to a
/// temporary file first, and renamed over its old version only when all are complete,
/// the main file last: a failure (an unwritable folder, a full disk) leaves
/// the previous export intact and is returned as "Cannot write the file"
/// naming the file and the reason.
Status WriteExport(const std::string& path, const SkinnedModel& model,
                   std::span<const NamedAnimation> animations, const ExportOptions& options);

}  // namespace gltf
}  // namespace posewright
