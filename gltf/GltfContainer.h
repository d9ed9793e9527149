// The files of an exported asset: one .glb, or a .gltf with its buffer and
// images beside it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gltf/GltfAsset.h"

namespace posewright {

namespace gltf {

/// A file to write: its name (without folder) and its bytes.
using NamedFile = std::pair<std::string, std::string>;

/// The GLB container: the 12-byte header, the JSON chunk (padded with spaces)
/// and the BIN chunk (padded with zeros), all lengths little-endian.
std::string GlbBytes(const std::string& json, std::string_view binary);

/// The same file made in storage, whose bytes from start on are the binary
/// buffer: the headers and JSON replace the bytes before start (moving the
/// buffer within storage, no copy, when they are not longer than start).
std::string GlbAroundBuffer(const std::string& json, std::string storage, std::size_t start);

/// The JSON text of a document: compact, with any invalid UTF-8 in names
/// replaced rather than refused.
std::string JsonText(const nlohmann::json& json);

/// The files for the asset in the container, the main file last: for .glb
/// just "<stem>.glb"; for .gltf the images, "<stem>.bin" and "<stem>.gltf".
std::vector<NamedFile> ContainerFiles(Asset asset, Container container, const std::string& stem);

}  // namespace gltf
}  // namespace posewright
