// posewright-cli export into glTF 2.0: chosen by an output name ending in
// .glb or .gltf.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace posewright {

/// The glTF form of the export command.
const cli::Syntax& GltfExportSyntax();

/// True when the export arguments name a .glb or .gltf output (-o).
bool NamesGltfOutput(const std::vector<std::string>& args);

/// export MODEL.skm [--anim FILE.anm]... [--all-frames] -o OUT.glb|OUT.gltf:
/// the model with every animation given, each named after its file without
/// the extension. Returns the exit status (0, 1 for a refused file or a
/// failed write, 2 for a usage error).
int RunGltfExport(const std::vector<std::string>& args);
}  // namespace posewright
