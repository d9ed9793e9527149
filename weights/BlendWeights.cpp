#include "weights/BlendWeights.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "weights/AnchorBoxGrid.h"
#include "weights/AnchorContainment.h"
#include "weights/InfluenceWeight.h"

namespace posewright {

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
inline void StoreSlots(SkinVertex& v, const Slots& slots) {
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
    // An empty slot stays 0 without a division (0 / sum is 0 for any sum above 0).
    w[i] = sum == 0.0f || w[i] == 0.0f ? 0.0f : w[i] / sum;
    packed |= static_cast<uint32_t>(slots.bones[i]) << (8 * i);
  }
  v.boneIndices = packed;
  v.blendWeights[0] = w[0];
  v.blendWeights[1] = w[1];
  v.blendWeights[2] = w[2];
}

// Everything about the bones that does not depend on the vertex. The anchor
// tables are the costly part; they are filled in by the worker threads
// (buildAnchor) before any vertex is weighed.
struct BoneTables {
  const Skeleton& skeleton;
  // Entry k describes bone k + 1.
  std::vector<AnchorContainment> anchors;
  std::vector<BoneReach> reaches;
  AnchorBoxGrid grid;
  // Scratch a thread needs for the anchors too large for a pair table.
  std::size_t rowScratchSize = 0;

  explicit BoneTables(const Skeleton& s) : skeleton(s) {
    const std::size_t boneCount =
        std::min({s.bones.size(), s.anchors.size(), s.blendParams.size(), kAddressableBones});
    const std::size_t count = boneCount > 0 ? boneCount - 1 : 0;
    anchors.resize(count);
    reaches.reserve(count);
    std::vector<AnchorBox> boxes;
    boxes.reserve(count);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t b = 1; b <= count; ++b) {
      const BoneAnchor& anchor = s.anchors[b];
      reaches.emplace_back(s.bones[b], s.blendParams[b]);
      // An anchor that contains nothing gets a box that is listed nowhere.
      boxes.push_back(AnchorIsUsable(anchor)
                          ? AnchorBox{anchor.boxMin, anchor.boxMax}
                          : AnchorBox{D3DXVECTOR3(nan, nan, nan), D3DXVECTOR3(nan, nan, nan)});
      rowScratchSize = std::max(rowScratchSize, AnchorContainment::RowScratchSize(anchor));
    }
    grid = AnchorBoxGrid(boxes);
  }

  void buildAnchor(std::size_t k) { anchors[k] = AnchorContainment(skeleton.anchors[k + 1]); }
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
  for (uint32_t k : tables.grid.candidates(p)) {
    const AnchorContainment& anchor = tables.anchors[k];
    if (anchor.inBox(p) && anchor.containsInBox(p, worker.rowScratch.data())) {
      worker.contained.push_back(static_cast<uint8_t>(k + 1));
    }
  }
}

// Chooses the slots of a vertex from its containing bones: all of them when
// they fit, otherwise the four largest influences (ties to the lower bone),
// kept in increasing bone order.
inline void ChooseSlots(const BoneTables& tables, const D3DXVECTOR3& p, Worker& worker, Slots& slots) {
  const std::size_t count = worker.contained.size();
  if (count == 1) {
    // A lone influence w normalises to w / w = 1 exactly, and a lone zero
    // influence to the equal share 1 / 1: the influence itself is not needed.
    slots.bones[0] = worker.contained[0];
    slots.raw[0] = 1.0f;
    return;
  }
  if (count <= kSlotCount) {
    for (std::size_t i = 0; i < count; ++i) {
      slots.bones[i] = worker.contained[i];
      slots.raw[i] = InfluenceWeight(p, tables.reaches[worker.contained[i] - 1u]);
    }
    return;
  }
  worker.containedRaw.resize(count);
  worker.order.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    worker.containedRaw[i] = InfluenceWeight(p, tables.reaches[worker.contained[i] - 1u]);
    worker.order[i] = i;
  }
  // contained is in bone order, so a stable sort by influence leaves ties in bone order.
  std::stable_sort(worker.order.begin(), worker.order.end(), [&](std::size_t a, std::size_t b) {
    return worker.containedRaw[a] > worker.containedRaw[b];
  });
  std::sort(worker.order.begin(), worker.order.begin() + kSlotCount);
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    slots.bones[i] = worker.contained[worker.order[i]];
    slots.raw[i] = worker.containedRaw[worker.order[i]];
  }
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
  Slots slots;
  ChooseSlots(tables, v.position, worker, slots);
  StoreSlots(v, slots);
}

// Runs body(worker) once per worker, each on its own thread (the calling
// thread takes the first). A thread that cannot be started is left out; the
// work it would have claimed is claimed by the others.
template <class Body>
void RunTeam(std::vector<Worker>& workers, const Body& body) {
  std::vector<std::thread> threads;
  try {
    for (std::size_t t = 1; t < workers.size(); ++t) {
      threads.emplace_back([&, t] { body(workers[t]); });
    }
  } catch (const std::system_error&) {
    // Fewer threads.
  }
  body(workers[0]);
  for (std::thread& thread : threads) {
    thread.join();
  }
}

// Claims ranges of up to chunk items of 0..n from next until none are left
// and calls work(begin, end) for each.
template <class Work>
void ClaimChunks(std::atomic<std::size_t>& next, std::size_t n, std::size_t chunk, const Work& work) {
  for (;;) {
    const std::size_t begin = next.fetch_add(chunk, std::memory_order_relaxed);
    if (begin >= n) return;
    work(begin, std::min(n, begin + chunk));
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
  BoneTables tables(model.skeleton);
  std::vector<Worker> workers(ThreadsFor(threadCount, vertices.size()));
  for (Worker& worker : workers) {
    worker.contained.reserve(tables.anchors.size());
    worker.rowScratch.resize(tables.rowScratchSize);
  }
  model.pointVertices.resize(vertices.size());
  const std::size_t anchorCount = tables.anchors.size();
  std::atomic<std::size_t> nextAnchor{0};
  std::atomic<std::size_t> anchorsBuilt{0};
  std::atomic<std::size_t> nextVertex{0};
  RunTeam(workers, [&](Worker& worker) {
    // The anchors first, shared out among the threads that are running; a
    // thread that starts late finds them claimed and only waits for the last
    // ones to be finished, never for another thread to start.
    ClaimChunks(nextAnchor, anchorCount, 1, [&](std::size_t k, std::size_t) {
      tables.buildAnchor(k);
      anchorsBuilt.fetch_add(1, std::memory_order_release);
      anchorsBuilt.notify_all();
    });
    for (std::size_t built = anchorsBuilt.load(std::memory_order_acquire); built < anchorCount;
         built = anchorsBuilt.load(std::memory_order_acquire)) {
      anchorsBuilt.wait(built, std::memory_order_acquire);
    }
    ClaimChunks(nextVertex, vertices.size(), kChunkSize, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        WeighVertex(tables, vertices[i], worker);
        // The point copy is refreshed while the vertex is in cache.
        model.pointVertices[i] = vertices[i];
      }
    });
  });
  BlendWeightCounts total;
  for (const Worker& worker : workers) {
    total.verticesInNoAnchor += worker.counts.verticesInNoAnchor;
    total.verticesInMoreThanFourAnchors += worker.counts.verticesInMoreThanFourAnchors;
  }
  return total;
}

void RecomputeSelectedWeights(SkinnedModel& model) {
  std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  std::vector<SkinVertex>& points = model.pointVertices;
  const Skeleton& skeleton = model.skeleton;
  const std::size_t boneCount = std::min(skeleton.bones.size(), skeleton.blendParams.size());
  const std::size_t n = std::min(vertices.size(), model.selection.selected.size());
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
    if (i < points.size()) {
      points[i] = v;
    }
  }
}
}  // namespace posewright
