#include "gltf/GltfContainer.h"

#include <array>
#include <cstdint>

namespace posewright {

namespace gltf {
namespace {

void AppendU32(std::string& out, uint32_t v) {
  const std::array<char, 4> bytes = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                                     static_cast<char>((v >> 16) & 0xFF),
                                     static_cast<char>((v >> 24) & 0xFF)};
  out.append(bytes.data(), bytes.size());
}

std::size_t Padded(std::size_t n) {
  return (n + 3) & ~std::size_t{3};
}

}  // namespace

std::string GlbBytes(const std::string& json, std::string_view binary) {
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

std::string GlbAroundBuffer(const std::string& json, std::string storage, std::size_t start) {
  const std::size_t jsonLength = Padded(json.size());
  const std::size_t binLength = storage.size() - start;
  const std::size_t front = 12 + 8 + jsonLength + 8;
  if (start < front || binLength % 4 != 0 || binLength == 0) {
    return GlbBytes(json, std::string_view(storage).substr(start));
  }
  std::string head;
  head.reserve(front);
  AppendU32(head, 0x46546C67u);  // "glTF"
  AppendU32(head, 2);
  AppendU32(head, static_cast<uint32_t>(front + binLength));
  AppendU32(head, static_cast<uint32_t>(jsonLength));
  AppendU32(head, 0x4E4F534Au);  // "JSON"
  head += json;
  head.append(jsonLength - json.size(), ' ');
  AppendU32(head, static_cast<uint32_t>(binLength));
  AppendU32(head, 0x004E4942u);  // "BIN\0"
  storage.replace(0, start, head);
  return storage;
}

std::vector<NamedFile> ContainerFiles(Asset asset, Container container, const std::string& stem) {
  std::vector<NamedFile> files;
  if (container == Container::Binary) {
    files.emplace_back(stem + ".glb",
                       GlbAroundBuffer(JsonText(asset.json), std::move(asset.binary), asset.binaryStart));
    return files;
  }
  files = std::move(asset.sideFiles);
  asset.binary.erase(0, asset.binaryStart);
  const std::string bin = stem + ".bin";
  asset.json["buffers"][0]["uri"] = UriEncoded(bin);
  files.emplace_back(bin, std::move(asset.binary));
  files.emplace_back(stem + ".gltf", JsonText(asset.json));
  return files;
}

}  // namespace gltf
}  // namespace posewright
