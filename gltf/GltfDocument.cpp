#include "gltf/GltfDocument.h"

#include <string>

namespace posewright {

namespace gltf {

int Document::push(std::string_view name, nlohmann::json element) {
  nlohmann::json& array = json[std::string(name)];
  if (!array.is_array()) array = nlohmann::json::array();
  array.push_back(std::move(element));
  return static_cast<int>(array.size() - 1);
}

int Document::addView(std::size_t offset, std::size_t length, ViewTarget target) {
  nlohmann::json view = {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", length}};
  if (target != ViewTarget::None) view["target"] = static_cast<int>(target);
  return push("bufferViews", std::move(view));
}

int Document::addAccessorOver(int view, const AccessorLayout& layout) {
  nlohmann::json accessor = {{"bufferView", view},
                             {"componentType", static_cast<int>(layout.componentType)},
                             {"count", layout.count},
                             {"type", layout.type}};
  if (!layout.min.is_null()) accessor["min"] = layout.min;
  if (!layout.max.is_null()) accessor["max"] = layout.max;
  return push("accessors", std::move(accessor));
}

}  // namespace gltf
}  // namespace posewright
