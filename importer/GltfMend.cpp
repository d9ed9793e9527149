#include "importer/GltfMend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <vector>

#include "fileio/Base64.h"
#include "xfile/XFileHeader.h"

namespace posewright {

namespace {
using Json = nlohmann::json;

constexpr uint32_t kGlbMagic = 0x46546C67;       // "glTF"
constexpr uint32_t kJsonChunkType = 0x4E4F534A;  // "JSON"
constexpr std::size_t kGlbHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr int kFloatComponent = 5126;
// Real assets nest a handful of levels; Assimp's JSON parser recurses once per level.
constexpr int kMaxJsonDepth = 64;

uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, sizeof v);
  return v;
}

void AppendU32(std::string& out, uint32_t v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  out.append(b, sizeof v);
}

/// The JSON text of a glTF: the first chunk of a .glb, or the whole text.
/// Empty when a .glb's header or first chunk is cut short.
struct GltfParts {
  bool binary = false;
  std::string_view json;
  std::string_view afterJson;  // the .glb's later chunks, as they are
};

bool SplitGltf(std::string_view bytes, GltfParts& parts) {
  if (bytes.size() >= 4 && ReadU32(bytes, 0) == kGlbMagic) {
    if (bytes.size() < kGlbHeaderSize + kChunkHeaderSize) return false;
    const std::size_t length = ReadU32(bytes, kGlbHeaderSize);
    if (ReadU32(bytes, kGlbHeaderSize + 4) != kJsonChunkType) return false;
    const std::size_t start = kGlbHeaderSize + kChunkHeaderSize;
    if (length > bytes.size() - start) return false;
    parts.binary = true;
    parts.json = bytes.substr(start, length);
    parts.afterJson = bytes.substr(start + length);
    return true;
  }
  parts.json = bytes;
  return true;
}

/// How deeply arrays and objects nest, outside strings.
int NestingDepth(std::string_view json) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

bool IsIndexInto(const Json& value, const Json& doc, const char* array) {
  if (!value.is_number_unsigned()) return false;
  const auto it = doc.find(array);
  return it != doc.end() && it->is_array() && value.get<uint64_t>() < it->size();
}

std::size_t CountOf(const Json& doc, const char* array) {
  const auto it = doc.find(array);
  return it != doc.end() && it->is_array() ? it->size() : 0;
}

/// Adds count identity matrices as a new buffer, view and accessor; returns the
/// accessor's index.
std::size_t AddIdentityMatrices(Json& doc, std::size_t count) {
  static constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::string data;
  for (std::size_t i = 0; i < count; ++i) {
    data.append(reinterpret_cast<const char*>(kIdentity), sizeof kIdentity);
  }
  const std::size_t buffer = CountOf(doc, "buffers");
  doc["buffers"].push_back(
      {{"byteLength", data.size()}, {"uri", "data:application/octet-stream;base64," + Base64(data)}});
  const std::size_t view = CountOf(doc, "bufferViews");
  doc["bufferViews"].push_back({{"buffer", buffer}, {"byteLength", data.size()}});
  const std::size_t accessor = CountOf(doc, "accessors");
  doc["accessors"].push_back(
      {{"bufferView", view}, {"componentType", kFloatComponent}, {"count", count}, {"type", "MAT4"}});
  return accessor;
}

/// Checks one skin; returns the fault, or empty. Sets needsMatrices when the
/// skin has no inverse bind matrices.
std::string SkinFault(const Json& doc, const Json& skin, std::size_t index, bool& needsMatrices) {
  const std::string name = "skin " + std::to_string(index);
  if (!skin.is_object()) return name + " is not an object";
  const auto joints = skin.find("joints");
  if (joints == skin.end() || !joints->is_array() || joints->empty()) return name + " names no joints";
  for (const Json& joint : *joints) {
    if (!IsIndexInto(joint, doc, "nodes")) return name + " names a joint that is not a node";
  }
  const auto matrices = skin.find("inverseBindMatrices");
  needsMatrices = matrices == skin.end();
  if (needsMatrices) return {};
  if (!IsIndexInto(*matrices, doc, "accessors")) {
    return name + "'s inverse bind matrices are not an accessor";
  }
  const Json& accessor = doc["accessors"][matrices->get<std::size_t>()];
  const bool fits = accessor.is_object() && accessor.value("type", Json()) == "MAT4" &&
                    accessor.value("componentType", Json()) == kFloatComponent &&
                    accessor.value("count", Json()).is_number_unsigned() &&
                    accessor["count"].get<uint64_t>() >= joints->size();
  return fits ? std::string() : name + " has fewer float 4x4 inverse bind matrices than joints";
}

// Assimp 5.2 reads an indexed line loop past its faces. The editor uses only
// triangles, so a loop read as a strip loses nothing it shows.
bool ReadLineLoopsAsStrips(Json& doc) {
  constexpr int kLineLoop = 2;
  constexpr int kLineStrip = 3;
  bool changed = false;
  if (!doc.contains("meshes")) return false;
  for (Json& mesh : doc["meshes"]) {
    if (!mesh.is_object() || !mesh.contains("primitives") || !mesh["primitives"].is_array()) continue;
    for (Json& primitive : mesh["primitives"]) {
      if (primitive.is_object() && primitive.value("mode", Json()) == kLineLoop) {
        primitive["mode"] = kLineStrip;
        changed = true;
      }
    }
  }
  return changed;
}

std::string Serialise(const GltfParts& parts, const Json& doc) {
  std::string json = doc.dump();
  if (!parts.binary) return json;
  json.append((4 - json.size() % 4) % 4, ' ');
  std::string out;
  AppendU32(out, kGlbMagic);
  AppendU32(out, 2);
  AppendU32(out,
            static_cast<uint32_t>(kGlbHeaderSize + kChunkHeaderSize + json.size() + parts.afterJson.size()));
  AppendU32(out, static_cast<uint32_t>(json.size()));
  AppendU32(out, kJsonChunkType);
  out += json;
  out.append(parts.afterJson);
  return out;
}
}  // namespace

bool LooksLikeGltf(std::string_view bytes) {
  if (bytes.size() >= 4 && ReadU32(bytes, 0) == kGlbMagic) return true;
  const std::size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");  // spaces and a UTF-8 mark
  return first != std::string_view::npos && bytes[first] == '{' &&
         bytes.find("\"asset\"") != std::string_view::npos;
}

Status MendGltfForAssimp(std::string_view bytes, const std::string& fileName, std::string& mended,
                         bool& changed) {
  changed = false;
  const auto refuse = [&](const std::string& why) {
    return Status::Error(kXFileErrorMessage, fileName + ": " + why);
  };
  GltfParts parts;
  if (!SplitGltf(bytes, parts)) return refuse("the .glb file is cut short or has no JSON chunk");
  if (NestingDepth(parts.json) > kMaxJsonDepth) return refuse("the glTF's JSON nests too deeply");
  Json doc = Json::parse(parts.json, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    return refuse("the glTF's JSON cannot be read (it must be a UTF-8 JSON object)");
  }
  for (const char* array : {"buffers", "bufferViews", "accessors", "nodes", "meshes", "skins"}) {
    if (doc.contains(array) && !doc[array].is_array()) {
      return refuse(std::string("the glTF's ") + array + " are not a list");
    }
  }
  const Json noSkins = Json::array();
  const Json& skins = doc.contains("skins") ? doc["skins"] : noSkins;
  std::vector<std::size_t> bare;
  for (std::size_t i = 0; i < skins.size(); ++i) {
    bool needsMatrices = false;
    const std::string fault = SkinFault(doc, skins[i], i, needsMatrices);
    if (!fault.empty()) return refuse(fault);
    if (needsMatrices) bare.push_back(i);
  }
  for (const std::size_t i : bare) {
    Json& skin = doc["skins"][i];
    skin["inverseBindMatrices"] = AddIdentityMatrices(doc, skin["joints"].size());
  }
  changed = !bare.empty();
  changed = ReadLineLoopsAsStrips(doc) || changed;
  if (changed) mended = Serialise(parts, doc);
  return Status::Ok();
}
}  // namespace posewright
