// Materials and their textures for glTF: the metallic-roughness model from
// the editor's Direct3D colours.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "mesh/Material.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace gltf {

/// glTF roughness for a specular power p: (2 / (p + 2))^¼. The usual match
/// of a Phong exponent p to a microfacet width α is α² = 2 / (p + 2), and glTF's
/// roughness is √α. Power 0 (no highlight) gives 1; 6 gives 0.71, 12 gives
/// 0.62, 100 gives 0.38. A negative or non-finite power counts as 0.
double RoughnessFromPower(float power);

/// The material: base colour = the diffuse colour (alpha below 1 → "BLEND"),
/// emissive = the emissive colour, metallic 0, roughness from the power,
/// with baseColorTexture when texture is given. Colours are clamped to 0..1.
nlohmann::json MaterialJson(const D3DMATERIAL8& material, std::optional<int> texture);

/// An image file as the export stores it.
struct ImageFile {
  std::string bytes;
  /// "image/png" or "image/jpeg".
  std::string mimeType;
  /// "png" or "jpg".
  std::string extension;
  /// The texture's file name without folder and extension.
  std::string stem;
  /// The path the texture was read from (identifies a texture shared by materials).
  std::string source;
};

/// Material m's texture as a PNG or JPEG file: nothing when the material has
/// no texture or it did not load (as the .x export, which names only loaded
/// textures). A PNG or JPEG file is taken as it is on disk; any other format
/// (BMP, TGA), or a file that can no longer be read, is encoded as PNG from
/// the decoded image (with alpha when any pixel is not opaque).
std::optional<ImageFile> TextureImageFile(const SkinnedModel& model, uint32_t m);

}  // namespace gltf
}  // namespace posewright
