#include "gltf/GltfContainer.h"

#include <array>
#include <cstdint>

namespace gltf {
namespace {

void AppendU32(std::string& out, uint32_t v) {
  const std::array<char, 4> bytes = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
  out.append(bytes.data(), bytes.size());
}

std::size_t Padded(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

}  // namespace

std::string GlbBytes(const std::string& json, const std::string& binary) {
  const std::size_t jsonLength = Padded(json.size());
  const std::size_t binLength = Padded(binary.size());
  const std::size_t total = 12 + 8 + jsonLength + (binary.empty() ? 0 : 8 + binLength);
  std::string out;
  out.reserve(total);
  AppendU32(out, 0x46546C67u);  // "glTF"
  AppendU32(out, 2);
  AppendU32(out, static_cast<uint32_t>(total));
  AppendU32(out, static_cast<uint32_t>(jsonLength));
  AppendU32(out, 0x4E4F534Au);  // "JSON"
  out += json;
  out.append(jsonLength - json.size(), ' ');
  if (!binary.empty()) {
    AppendU32(out, static_cast<uint32_t>(binLength));
    AppendU32(out, 0x004E4942u);  // "BIN\0"
    out += binary;
    out.append(binLength - binary.size(), '\0');
  }
  return out;
}

std::string JsonText(const nlohmann::json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::vector<NamedFile> ContainerFiles(Asset asset, Container container, const std::string& stem) {
  std::vector<NamedFile> files;
  if (container == Container::Binary) {
    files.emplace_back(stem + ".glb", GlbBytes(JsonText(asset.json), asset.binary));
    return files;
  }
  files = std::move(asset.sideFiles);
  const std::string bin = stem + ".bin";
  asset.json["buffers"][0]["uri"] = UriEncoded(bin);
  files.emplace_back(bin, std::move(asset.binary));
  files.emplace_back(stem + ".gltf", JsonText(asset.json));
  return files;
}

}  // namespace gltf
