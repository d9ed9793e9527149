// A glTF document under construction: the JSON tree and its one binary buffer,
// with the bookkeeping of buffer views and accessors.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string_view>

#include "gltf/GltfBinaryBuffer.h"

namespace posewright {

namespace gltf {

/// glTF's component type codes.
enum class ComponentType : int {
  UnsignedByte = 5121,
  UnsignedShort = 5123,
  UnsignedInt = 5125,
  Float = 5126,
};

/// bufferView.target codes.
enum class ViewTarget : int {
  None = 0,
  Vertices = 34962,
  Indices = 34963,
};

/// What an accessor describes besides its data.
struct AccessorLayout {
  /// "SCALAR", "VEC2", "VEC3", "VEC4" or "MAT4".
  const char* type = "SCALAR";
  ComponentType componentType = ComponentType::Float;
  /// Elements (vectors, matrices), not components.
  std::size_t count = 0;
  ViewTarget target = ViewTarget::None;
  /// Per-component bounds when the accessor needs them (positions, times).
  nlohmann::json min;
  nlohmann::json max;
};

/// An accessor without bounds.
inline AccessorLayout Spec(const char* type, ComponentType componentType, std::size_t count,
                           ViewTarget target) {
  AccessorLayout layout;
  layout.type = type;
  layout.componentType = componentType;
  layout.count = count;
  layout.target = target;
  return layout;
}

struct Document {
  explicit Document(std::size_t headroom = 0) : buffer(headroom) {}

  nlohmann::json json = nlohmann::json::object();
  BinaryBuffer buffer;

  /// Appends the values as one buffer view and an accessor over it; returns
  /// the accessor's index.
  template <typename T>
  int addAccessor(std::span<const T> values, const AccessorLayout& layout) {
    const std::size_t offset = buffer.append(values);
    return addAccessorOver(addView(offset, values.size() * sizeof(T), layout.target), layout);
  }

  /// A buffer view over bytes already in the buffer; returns its index.
  int addView(std::size_t offset, std::size_t length, ViewTarget target = ViewTarget::None);

  /// An accessor over the whole of view; returns its index.
  int addAccessorOver(int view, const AccessorLayout& layout);

  /// Appends element to the top-level array name (created when missing);
  /// returns its index.
  int push(std::string_view name, nlohmann::json element);
};

}  // namespace gltf
}  // namespace posewright
