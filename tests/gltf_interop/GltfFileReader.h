// Reads an exported .glb or .gltf back without the exporter's code: the JSON
// document, the binary buffer and typed accessor contents.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "fileio/FileBytes.h"

namespace posewright {

namespace gltfread {

struct File {
  nlohmann::json json;
  std::string buffer;

  /// Accessor a as numbers, component by component (count × width values).
  std::vector<double> numbers(int a) const {
    const nlohmann::json& accessor = json["accessors"][static_cast<std::size_t>(a)];
    const nlohmann::json& view = json["bufferViews"][accessor["bufferView"].get<std::size_t>()];
    const std::string type = accessor["type"];
    const std::size_t width = type == "SCALAR" ? 1
                              : type == "VEC2" ? 2
                              : type == "VEC3" ? 3
                              : type == "VEC4" ? 4
                                               : 16;
    const int componentType = accessor["componentType"];
    const std::size_t size = componentType == 5126 || componentType == 5125 ? 4
                             : componentType == 5123                        ? 2
                                                                            : 1;
    const std::size_t count = accessor["count"];
    const std::size_t start =
        view.value("byteOffset", std::size_t{0}) + accessor.value("byteOffset", std::size_t{0});
    const std::size_t stride = view.value("byteStride", width * size);
    std::vector<double> out;
    out.reserve(count * width);
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t c = 0; c < width; ++c) {
        const std::size_t at = start + i * stride + c * size;
        if (at + size > buffer.size()) {
          ADD_FAILURE() << "accessor " << a << " reads past the buffer";
          return out;
        }
        const char* p = buffer.data() + at;
        if (componentType == 5126) {
          float f;
          std::memcpy(&f, p, 4);
          out.push_back(f);
        } else if (componentType == 5125) {
          uint32_t u;
          std::memcpy(&u, p, 4);
          out.push_back(u);
        } else if (componentType == 5123) {
          uint16_t u;
          std::memcpy(&u, p, 2);
          out.push_back(u);
        } else {
          out.push_back(static_cast<uint8_t>(*p));
        }
      }
    }
    return out;
  }
};

inline uint32_t U32(const std::string& b, std::size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

/// The file at path; a .gltf's buffer is read from its URI beside it.
inline File Read(const std::string& path) {
  File file;
  const std::string bytes = ReadFileBytes(path).value_or("");
  EXPECT_FALSE(bytes.empty()) << path;
  if (bytes.size() >= 20 && bytes.compare(0, 4, "glTF") == 0) {
    const uint32_t jsonLength = U32(bytes, 12);
    file.json = nlohmann::json::parse(bytes.substr(20, jsonLength));
    const std::size_t bin = 20 + jsonLength;
    if (bin + 8 <= bytes.size()) file.buffer = bytes.substr(bin + 8, U32(bytes, bin));
  } else {
    file.json = nlohmann::json::parse(bytes);
    const std::string uri = file.json["buffers"][0]["uri"];
    file.buffer = ReadFileBytes((std::filesystem::path(path).parent_path() / uri).string()).value_or("");
  }
  return file;
}

}  // namespace gltfread
}  // namespace posewright
