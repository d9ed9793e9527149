// The whole glTF asset of a model and its animations: the JSON document, the
// binary buffer and the images.
//
// Layout: node b is bone b (so joint b of the one skin is bone b), then one
// node holding the mesh and the skin, both at the scene's root. The mesh has
// one primitive per material that faces use (in material order), each with
// its own vertices (those its faces use, in the model's vertex order) and
// 16-bit indices. Every animation has one time input and one rotation
// channel per bone.
#pragma once

#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "gltf/GltfExportOptions.h"
#include "gltf/GltfMaterials.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace gltf {

struct Asset {
  nlohmann::json json;
  /// The binary buffer from binaryStart on (buffers[0].byteLength bytes);
  /// the bytes before it are headroom for the GLB headers.
  std::string binary;
  std::size_t binaryStart = 0;
  /// Files to write beside the .gltf (Container::Text): the images, as
  /// (file name, bytes). Empty for Container::Binary, whose images are in
  /// the binary buffer.
  std::vector<std::pair<std::string, std::string>> sideFiles;
};

/// name with every byte outside A–Z, a–z, 0–9 and "-._~" written as %XX.
std::string UriEncoded(const std::string& name);

/// Builds the asset. For Container::Text each image gets the URI
/// "<imagePrefix>_<texture stem>.<png|jpg>" (made unique); the buffer's URI
/// is left for the caller. The model must have passed CheckExport.
Asset BuildAsset(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                 const ExportOptions& options, Container container, const std::string& imagePrefix);

}  // namespace gltf
}  // namespace posewright
