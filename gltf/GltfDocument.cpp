#include "gltf/GltfDocument.h"

#include <algorithm>
#include <string>
#include <vector>

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

int Document::addAccessorOver(int view, const AccessorSpec& spec) {
  nlohmann::json accessor = {{"bufferView", view},
                             {"componentType", static_cast<int>(spec.componentType)},
                             {"count", spec.count},
                             {"type", spec.type}};
  if (!spec.min.is_null()) accessor["min"] = spec.min;
  if (!spec.max.is_null()) accessor["max"] = spec.max;
  return push("accessors", std::move(accessor));
}

void ComponentBounds(std::span<const float> values, int width, nlohmann::json& min, nlohmann::json& max) {
  const auto w = static_cast<std::size_t>(width);
  std::vector<float> low(w, 0.0f), high(w, 0.0f);
  if (values.size() >= w) {
    std::copy_n(values.begin(), w, low.begin());
    std::copy_n(values.begin(), w, high.begin());
  }
  for (std::size_t i = w; i + w <= values.size(); i += w) {
    for (std::size_t c = 0; c < w; ++c) {
      low[c] = std::min(low[c], values[i + c]);
      high[c] = std::max(high[c], values[i + c]);
    }
  }
  min = nlohmann::json::array();
  max = nlohmann::json::array();
  for (std::size_t c = 0; c < w; ++c) {
    min.push_back(static_cast<double>(low[c]));
    max.push_back(static_cast<double>(high[c]));
  }
}

}  // namespace gltf
