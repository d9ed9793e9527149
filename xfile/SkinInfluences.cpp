#include "xfile/SkinInfluences.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace posewright {

std::vector<std::string> SkinBoneNames(const XFileDocument& doc) {
  std::vector<std::string> names;
  std::unordered_map<std::string, std::size_t> seen;
  for (const XMesh& mesh : doc.meshes) {
    for (const XSkinWeights& w : mesh.skinWeights) {
      if (seen.emplace(w.transformNodeName, names.size()).second) {
        names.push_back(w.transformNodeName);
      }
    }
  }
  return names;
}

std::vector<VertexInfluences> ComputeVertexInfluences(const XFileDocument& doc,
                                                      const std::vector<XVertexOrigin>& origins) {
  // Number every vertex of every mesh in the file's own numbering.
  std::vector<std::size_t> meshBase(doc.meshes.size() + 1, 0);
  for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
    meshBase[m + 1] = meshBase[m] + doc.meshes[m].positions.size();
  }
  const std::vector<std::string> names = SkinBoneNames(doc);
  std::unordered_map<std::string, uint32_t> boneOf;
  for (std::size_t k = 0; k < names.size(); ++k) {
    boneOf[names[k]] = static_cast<uint32_t>(k + 1);
  }

  struct Entry {
    std::size_t vertex;
    uint32_t bone;
    float weight;
  };
  std::vector<Entry> entries;
  for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
    for (const XSkinWeights& w : doc.meshes[m].skinWeights) {
      const uint32_t bone = boneOf[w.transformNodeName];
      for (std::size_t i = 0; i < w.vertexIndices.size(); ++i) {
        if (w.weights[i] > 0.0f) {  // also drops NaN
          entries.push_back({meshBase[m] + w.vertexIndices[i], bone, w.weights[i]});
        }
      }
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.vertex != b.vertex ? a.vertex < b.vertex : a.bone < b.bone;
  });

  // The influences of each file vertex, then handed to its built copies.
  std::vector<VertexInfluences> perFileVertex(meshBase.back());
  std::vector<std::pair<uint32_t, float>> bones;
  for (std::size_t i = 0; i < entries.size();) {
    const std::size_t vertex = entries[i].vertex;
    bones.clear();
    for (; i < entries.size() && entries[i].vertex == vertex; ++i) {
      if (!bones.empty() && bones.back().first == entries[i].bone) {
        bones.back().second += entries[i].weight;
      } else {
        bones.emplace_back(entries[i].bone, entries[i].weight);
      }
    }
    perFileVertex[vertex] = StrongestInfluences(bones);
  }

  std::vector<VertexInfluences> result(origins.size());
  for (std::size_t v = 0; v < origins.size(); ++v) {
    result[v] = perFileVertex[meshBase[origins[v].mesh] + origins[v].vertex];
  }
  return result;
}

VertexInfluences StrongestInfluences(std::vector<std::pair<uint32_t, float>>& bones) {
  std::stable_sort(bones.begin(), bones.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  VertexInfluences out;
  out.count = static_cast<int>(std::min<std::size_t>(bones.size(), 4));
  float sum = 0.0f;
  for (int s = 0; s < out.count; ++s) {
    sum += bones[static_cast<std::size_t>(s)].second;
  }
  if (!(sum > 0.0f) || !std::isfinite(sum)) {
    return VertexInfluences{};
  }
  for (int s = 0; s < out.count; ++s) {
    out.bones[s] = static_cast<uint8_t>(bones[static_cast<std::size_t>(s)].first);
    out.weights[s] = bones[static_cast<std::size_t>(s)].second / sum;
  }
  return out;
}

void StoreInfluences(const VertexInfluences& influences, SkinVertex& vertex) {
  for (int s = 0; s < 4; ++s) {
    vertex.setBoneIndex(s, influences.bones[s]);
  }
  for (int s = 0; s < 3; ++s) {
    vertex.blendWeights[s] = influences.weights[s];
  }
}
}  // namespace posewright
