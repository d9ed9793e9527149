#include "weighttools/BoneWeights.h"

#include <algorithm>

namespace posewright {

namespace {
uint8_t SlotBone(uint32_t packed, int slot) {
  return static_cast<uint8_t>(packed >> (8 * slot));
}
}  // namespace

double BoneWeightSet::sum() const {
  double s = 0.0;
  for (int i = 0; i < count; ++i) s += static_cast<double>(items[static_cast<std::size_t>(i)].weight);
  return s;
}

float BoneWeightSet::weightOf(uint8_t bone) const {
  for (int i = 0; i < count; ++i) {
    if (items[static_cast<std::size_t>(i)].bone == bone) return items[static_cast<std::size_t>(i)].weight;
  }
  return 0.0f;
}

void BoneWeightSet::add(uint8_t bone, float weight) {
  for (int i = 0; i < count; ++i) {
    if (items[static_cast<std::size_t>(i)].bone == bone) {
      items[static_cast<std::size_t>(i)].weight += weight;
      return;
    }
  }
  items[static_cast<std::size_t>(count++)] = BoneWeight{bone, weight};
}

BoneWeightSet ReadBoneWeights(const VertexWeights& w) {
  const float* b = w.blendWeights.data();
  // The same float expression as SkinVertex::lastWeight, so the tools see what the renderer uses.
  const float slotWeights[4] = {b[0], b[1], b[2], 1.0f - (b[0] + b[1] + b[2])};
  BoneWeightSet set;
  for (int s = 0; s < 4; ++s) {
    const uint8_t bone = SlotBone(w.boneIndices, s);
    if (bone != 0 && slotWeights[s] > 0.0f) set.add(bone, slotWeights[s]);
  }
  return set;
}

VertexWeights StoreBoneWeights(const VertexWeights& old, const BoneWeightSet& set) {
  const int usable = set.count == 4 ? 4 : 3;
  std::array<uint8_t, 4> bones{};
  std::array<float, 4> weights{};
  std::array<bool, 4> placed{};
  for (int i = 0; i < set.count; ++i) {
    const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
    for (int s = 0; s < usable; ++s) {
      const std::size_t k = static_cast<std::size_t>(s);
      if (bones[k] == 0 && SlotBone(old.boneIndices, s) == item.bone) {
        bones[k] = item.bone;
        weights[k] = item.weight;
        placed[static_cast<std::size_t>(i)] = true;
        break;
      }
    }
  }
  for (int i = 0; i < set.count; ++i) {
    if (placed[static_cast<std::size_t>(i)]) continue;
    const BoneWeight& item = set.items[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < static_cast<std::size_t>(usable); ++k) {
      if (bones[k] == 0) {
        bones[k] = item.bone;
        weights[k] = item.weight;
        break;
      }
    }
  }
  VertexWeights out;
  for (std::size_t k = 0; k < 4; ++k) out.boneIndices |= static_cast<uint32_t>(bones[k]) << (8 * k);
  out.blendWeights = {weights[0], weights[1], weights[2]};
  return out;
}

void ScaleBoneWeights(BoneWeightSet& set, double target) {
  const double factor = target / set.sum();
  for (int i = 0; i < set.count; ++i) {
    BoneWeight& item = set.items[static_cast<std::size_t>(i)];
    item.weight = static_cast<float>(static_cast<double>(item.weight) * factor);
  }
}

void KeepStrongest(BoneWeightSet& set, int k) {
  while (set.count > k) {
    int weakest = set.count - 1;
    for (int i = set.count - 2; i >= 0; --i) {
      if (set.items[static_cast<std::size_t>(i)].weight <
          set.items[static_cast<std::size_t>(weakest)].weight) {
        weakest = i;
      }
    }
    std::copy(set.items.begin() + weakest + 1, set.items.begin() + set.count, set.items.begin() + weakest);
    --set.count;
  }
}
}  // namespace posewright
