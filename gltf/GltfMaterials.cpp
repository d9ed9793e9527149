#include "gltf/GltfMaterials.h"

#include <algorithm>
#include <cmath>

#include "fileio/FileBytes.h"
#include "image/PngWriter.h"

namespace posewright {

namespace gltf {
namespace {

double Unit(float v) {
  return std::isfinite(v) ? std::clamp(static_cast<double>(v), 0.0, 1.0) : 0.0;
}

std::string StemOf(const std::string& name) {
  const std::string file = FileNameOf(name);
  const std::size_t dot = file.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

bool IsPng(const std::string& b) {
  return b.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) == 0;
}
bool IsJpeg(const std::string& b) {
  return b.compare(0, 3, "\xFF\xD8\xFF") == 0;
}

}  // namespace

double RoughnessFromPower(float power) {
  const double p = std::isfinite(power) && power > 0.0f ? static_cast<double>(power) : 0.0;
  return std::pow(2.0 / (p + 2.0), 0.25);
}

nlohmann::json MaterialJson(const D3DMATERIAL8& material, std::optional<int> texture) {
  const D3DCOLORVALUE& d = material.Diffuse;
  const D3DCOLORVALUE& e = material.Emissive;
  nlohmann::json pbr = {{"baseColorFactor", {Unit(d.r), Unit(d.g), Unit(d.b), Unit(d.a)}},
                        {"metallicFactor", 0.0},
                        {"roughnessFactor", RoughnessFromPower(material.Power)}};
  if (texture) pbr["baseColorTexture"] = {{"index", *texture}};
  nlohmann::json out = {{"pbrMetallicRoughness", std::move(pbr)}};
  if (Unit(e.r) > 0.0 || Unit(e.g) > 0.0 || Unit(e.b) > 0.0)
    out["emissiveFactor"] = {Unit(e.r), Unit(e.g), Unit(e.b)};
  if (Unit(d.a) < 1.0) out["alphaMode"] = "BLEND";
  return out;
}

std::optional<ImageFile> TextureImageFile(const SkinnedModel& model, uint32_t m) {
  if (m >= model.textures.size() || !model.textures[m] || m >= model.materialList.size()) return std::nullopt;
  const std::string& name = model.materialList[m].textureFilename;
  ImageFile image;
  image.stem = StemOf(name);
  image.source = ResolveRelative(model.meshFolder, name);
  if (std::optional<std::string> bytes = ReadFileBytes(image.source, std::size_t{1} << 28)) {
    if (IsPng(*bytes) || IsJpeg(*bytes)) {
      const bool png = IsPng(*bytes);
      image.bytes = std::move(*bytes);
      image.mimeType = png ? "image/png" : "image/jpeg";
      image.extension = png ? "png" : "jpg";
      return image;
    }
  }
  const TextureImage& decoded = *model.textures[m];
  bool translucent = false;
  for (std::size_t i = 3; i < decoded.rgba.size(); i += 4)
    translucent = translucent || decoded.rgba[i] != 255;
  image.bytes = EncodePng(decoded.width, decoded.height, decoded.rgba,
                          translucent ? PngChannels::Rgba : PngChannels::Rgb);
  if (image.bytes.empty()) return std::nullopt;
  image.mimeType = "image/png";
  image.extension = "png";
  return image;
}

}  // namespace gltf
}  // namespace posewright
