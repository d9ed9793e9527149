// Which files open as meshes: .x through the editor's own reader, every other
// format the installed Assimp reads through Assimp.
#pragma once

#include <string>
#include <vector>

#include "fileio/FileBytes.h"

namespace posewright {

/// True for a DirectX .x file, which the editor's own reader reads.
bool IsDirectXFile(const std::string& path);

/// True when the extension names a format that opens as a mesh: .x or one
/// that the installed Assimp reads.
bool IsMeshFile(const std::string& path);

/// Every extension that opens as a mesh, lower case with the dot, sorted.
std::vector<std::string> MeshFileExtensions();

/// The same as file dialog patterns: "*.3ds *.dae … *.x".
std::string MeshFilePatterns();
}  // namespace posewright
