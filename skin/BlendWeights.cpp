#include "skin/BlendWeights.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "skin/AnchorContainment.h"
#include "skin/FloatLanes.h"
#include "skin/InfluenceWeight.h"

namespace {
constexpr int kSlotCount = 4;
// A bone index is one byte, so bones from 256 on cannot be named by a vertex.
constexpr std::size_t kAddressableBones = 256;
// Vertices handed to a thread at a time: small enough to even out vertices
// that cost more (those inside many boxes), large enough to keep the shared
// counter cold.
constexpr std::size_t kChunkSize = 256;
constexpr unsigned kMaxThreads = 64;

// Bones and raw influences of one vertex's four slots; bone 0 is an empty slot.
struct Slots {
  std::array<uint8_t, kSlotCount> bones{};
  std::array<float, kSlotCount> raw{};
};

// Normalises the slot influences and stores bones and weights in v: the
// influences divided by their sum; equal shares when the sum is exactly 0; all
// weights 0 when no slot holds a bone.
void StoreSlots(SkinVertex& v, const Slots& slots) {
  std::array<float, kSlotCount> w = slots.raw;
  float sum = w[0] + w[1] + w[2] + w[3];
  if (sum == 0.0f) {
    int used = 0;
    for (int i = 0; i < kSlotCount; ++i) {
      if (slots.bones[static_cast<std::size_t>(i)] != 0) {
        w[static_cast<std::size_t>(i)] = 1.0f;
        ++used;
      }
    }
    sum = static_cast<float>(used);
  }
  uint32_t packed = 0;
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    w[i] = sum == 0.0f ? 0.0f : w[i] / sum;
    packed |= static_cast<uint32_t>(slots.bones[i]) << (8 * i);
  }
  v.boneIndices = packed;
  v.blendWeights[0] = w[0];
  v.blendWeights[1] = w[1];
  v.blendWeights[2] = w[2];
}

// Everything about the bones that does not depend on the vertex.
struct BoneTables {
  // Entry k describes bone k + 1.
  std::vector<AnchorContainment> anchors;
  std::vector<BoneReach> reaches;
  // Anchor boxes by component, padded to the lanes; an anchor that contains
  // nothing (and the padding) gets a box no point is inside.
  std::vector<float> minX, minY, minZ, maxX, maxY, maxZ;
  // Scratch a thread needs for the anchors too large for a pair table.
  std::size_t rowScratchSize = 0;

  explicit BoneTables(const Skeleton& skeleton) {
    const std::size_t boneCount = std::min({skeleton.bones.size(), skeleton.anchors.size(),
                                            skeleton.blendParams.size(), kAddressableBones});
    const std::size_t count = boneCount > 0 ? boneCount - 1 : 0;
    anchors.reserve(count);
    reaches.reserve(count);
    const std::size_t padded = PaddedLaneCount(count);
    const float inf = std::numeric_limits<float>::infinity();
    minX.assign(padded, inf);
    minY.assign(padded, inf);
    minZ.assign(padded, inf);
    maxX.assign(padded, -inf);
    maxY.assign(padded, -inf);
    maxZ.assign(padded, -inf);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t b = k + 1;
      anchors.emplace_back(skeleton.anchors[b]);
      reaches.emplace_back(skeleton.bones[b], skeleton.blendParams[b]);
      const AnchorContainment& anchor = anchors.back();
      if (!anchor.usable()) continue;
      minX[k] = anchor.boxMin().x;
      minY[k] = anchor.boxMin().y;
      minZ[k] = anchor.boxMin().z;
      maxX[k] = anchor.boxMax().x;
      maxY[k] = anchor.boxMax().y;
      maxZ[k] = anchor.boxMax().z;
      if (anchor.faceCount() > AnchorContainment::kMaxTabledFaces) {
        rowScratchSize = std::max(rowScratchSize, anchor.paddedFaceCount());
      }
    }
  }
};

// One thread's working memory and tallies.
struct Worker {
  std::vector<uint8_t> contained;
  std::vector<float> containedRaw;
  std::vector<std::size_t> order;
  std::vector<float> rowScratch;
  BlendWeightCounts counts;
};

// Bones whose anchors contain p, in increasing order, into worker.contained.
void FindContainingBones(const BoneTables& tables, const D3DXVECTOR3& p, Worker& worker) {
  worker.contained.clear();
  const FloatLanes px = FloatLanes::Broadcast(p.x);
  const FloatLanes py = FloatLanes::Broadcast(p.y);
  const FloatLanes pz = FloatLanes::Broadcast(p.z);
  const std::size_t padded = tables.minX.size();
  for (std::size_t k0 = 0; k0 < padded; k0 += FloatLanes::kCount) {
    unsigned inBox = LessEqualMask(FloatLanes::Load(&tables.minX[k0]), px) &
                     LessEqualMask(px, FloatLanes::Load(&tables.maxX[k0])) &
                     LessEqualMask(FloatLanes::Load(&tables.minY[k0]), py) &
                     LessEqualMask(py, FloatLanes::Load(&tables.maxY[k0])) &
                     LessEqualMask(FloatLanes::Load(&tables.minZ[k0]), pz) &
                     LessEqualMask(pz, FloatLanes::Load(&tables.maxZ[k0]));
    while (inBox != 0) {
      const std::size_t k = k0 + static_cast<std::size_t>(__builtin_ctz(inBox));
      inBox &= inBox - 1;
      if (tables.anchors[k].containsInBox(p, worker.rowScratch.data())) {
        worker.contained.push_back(static_cast<uint8_t>(k + 1));
      }
    }
  }
}

// Chooses the slots of a vertex from its containing bones: all of them when
// they fit, otherwise the four largest influences (ties to the lower bone),
// kept in increasing bone order.
Slots ChooseSlots(const BoneTables& tables, const D3DXVECTOR3& p, Worker& worker) {
  Slots slots;
  const std::size_t count = worker.contained.size();
  if (count <= kSlotCount) {
    for (std::size_t i = 0; i < count; ++i) {
      slots.bones[i] = worker.contained[i];
      slots.raw[i] = InfluenceWeight(p, tables.reaches[worker.contained[i] - 1u]);
    }
    return slots;
  }
  worker.containedRaw.resize(count);
  worker.order.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    worker.containedRaw[i] = InfluenceWeight(p, tables.reaches[worker.contained[i] - 1u]);
    worker.order[i] = i;
  }
  // contained is in bone order, so a stable sort by influence leaves ties in bone order.
  std::stable_sort(worker.order.begin(), worker.order.end(),
                   [&](std::size_t a, std::size_t b) { return worker.containedRaw[a] > worker.containedRaw[b]; });
  std::sort(worker.order.begin(), worker.order.begin() + kSlotCount);
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    slots.bones[i] = worker.contained[worker.order[i]];
    slots.raw[i] = worker.containedRaw[worker.order[i]];
  }
  return slots;
}

void WeighVertex(const BoneTables& tables, SkinVertex& v, Worker& worker) {
  v.pointSize = 10.0f;
  FindContainingBones(tables, v.position, worker);
  const std::size_t count = worker.contained.size();
  if (count == 0) {
    ++worker.counts.verticesInNoAnchor;
  } else if (count > kSlotCount) {
    ++worker.counts.verticesInMoreThanFourAnchors;
  }
  StoreSlots(v, ChooseSlots(tables, v.position, worker));
}

// Runs work(begin, end, worker) over 0..n in chunks on up to workers.size()
// threads. Falls back to the calling thread alone when threads cannot start.
template <class Work>
void RunInChunks(std::size_t n, std::vector<Worker>& workers, const Work& work) {
  std::atomic<std::size_t> next{0};
  auto loop = [&](Worker& worker) {
    for (;;) {
      const std::size_t begin = next.fetch_add(kChunkSize, std::memory_order_relaxed);
      if (begin >= n) return;
      work(begin, std::min(n, begin + kChunkSize), worker);
    }
  };
  std::vector<std::thread> threads;
  try {
    for (std::size_t t = 1; t < workers.size(); ++t) {
      threads.emplace_back(loop, std::ref(workers[t]));
    }
  } catch (const std::system_error&) {
    // Fewer threads: the chunks are shared out among those that did start.
  }
  loop(workers[0]);
  for (std::thread& thread : threads) {
    thread.join();
  }
}

unsigned ThreadsFor(unsigned requested, std::size_t vertexCount) {
  unsigned threads = requested != 0 ? requested : std::thread::hardware_concurrency();
  const std::size_t chunks = (vertexCount + kChunkSize - 1) / kChunkSize;
  threads = std::min<unsigned>(std::max(threads, 1u), kMaxThreads);
  return static_cast<unsigned>(std::clamp<std::size_t>(chunks, 1, threads));
}
}  // namespace

BlendWeightCounts ComputeBlendWeights(SkinnedModel& model, unsigned threadCount) {
  std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const BoneTables tables(model.skeleton);
  std::vector<Worker> workers(ThreadsFor(threadCount, vertices.size()));
  for (Worker& worker : workers) {
    worker.contained.reserve(tables.anchors.size());
    worker.rowScratch.resize(tables.rowScratchSize);
  }
  RunInChunks(vertices.size(), workers, [&](std::size_t begin, std::size_t end, Worker& worker) {
    for (std::size_t i = begin; i < end; ++i) {
      WeighVertex(tables, vertices[i], worker);
    }
  });
  BlendWeightCounts total;
  for (const Worker& worker : workers) {
    total.verticesInNoAnchor += worker.counts.verticesInNoAnchor;
    total.verticesInMoreThanFourAnchors += worker.counts.verticesInMoreThanFourAnchors;
  }
  model.pointVertices = vertices;
  return total;
}

void RecomputeSelectedWeights(SkinnedModel& model) {
  std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const Skeleton& skeleton = model.skeleton;
  const std::size_t boneCount = std::min(skeleton.bones.size(), skeleton.blendParams.size());
  const std::size_t n = std::min(vertices.size(), model.selection.selected.size());
  bool changed = false;
  for (std::size_t i = 0; i < n; ++i) {
    if (model.selection.selected[i] == 0) continue;
    SkinVertex& v = vertices[i];
    Slots slots;
    for (int s = 0; s < kSlotCount; ++s) {
      const uint8_t bone = v.boneIndex(s);
      const std::size_t k = static_cast<std::size_t>(s);
      slots.bones[k] = bone;
      if (bone != 0 && bone < boneCount) {
        slots.raw[k] = InfluenceWeight(v.position, skeleton.bones[bone], skeleton.blendParams[bone]);
      }
    }
    StoreSlots(v, slots);
    changed = true;
  }
  if (changed) {
    model.pointVertices = vertices;
  }
}
