#include "export/PointReps.h"

#include <algorithm>

namespace posewright {

namespace {
class PointRepWalker {
 public:
  PointRepWalker(std::span<const uint16_t> indices, std::size_t vertexCount,
                 std::span<const uint32_t> adjacency)
      : indices_(indices),
        adjacency_(adjacency),
        faceCount_(static_cast<uint32_t>(indices.size() / 3)),
        reps_(vertexCount, kNoFace),
        walkOfFace_(faceCount_, 0),
        stepsLeft_(uint64_t{48} * faceCount_ + 64) {}

  void visitFace(uint32_t face) {
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t v = vertexAt(face, corner);
      if (v >= reps_.size() || reps_[v] != kNoFace) {
        continue;
      }
      reps_[v] = v;
      walkFan(face, corner, v);
    }
  }

  std::vector<uint32_t> finish() {
    for (std::size_t v = 0; v < reps_.size(); ++v) {
      if (reps_[v] == kNoFace) reps_[v] = static_cast<uint32_t>(v);
    }
    return std::move(reps_);
  }

  uint32_t faceCount() const { return faceCount_; }

 private:
  uint32_t vertexAt(uint32_t face, int corner) const {
    return indices_[3 * std::size_t{face} + static_cast<std::size_t>(corner)];
  }

  uint32_t neighbour(uint32_t face, int edge) const {
    const std::size_t k = 3 * std::size_t{face} + static_cast<std::size_t>(edge);
    return k < adjacency_.size() ? adjacency_[k] : kNoFace;
  }

  // The edge of face g whose neighbour is face, or −1 when g does not name it.
  int edgeBackTo(uint32_t g, uint32_t face) const {
    for (int e = 0; e < 3; ++e) {
      if (neighbour(g, e) == face) return e;
    }
    return -1;
  }

  void claim(uint32_t face, int corner, uint32_t rep) {
    const uint32_t v = vertexAt(face, corner);
    if (v < reps_.size() && reps_[v] == kNoFace) reps_[v] = rep;
  }

  // Enters face g in the current walk; false when g is no face or the walk
  // has been there already.
  bool enter(uint32_t g) {
    if (g >= faceCount_ || walkOfFace_[g] == walk_ || stepsLeft_ == 0) return false;
    --stepsLeft_;
    walkOfFace_[g] = walk_;
    return true;
  }

  void walkFan(uint32_t start, int startCorner, uint32_t rep) {
    ++walk_;
    walkOfFace_[start] = walk_;
    // Across the edge leaving the corner: the shared edge runs the other way in
    // the neighbour, so the point is at the end of the neighbour's edge, and the
    // walk goes on across the edge leaving that corner.
    uint32_t face = start;
    int corner = startCorner;
    for (;;) {
      const uint32_t g = neighbour(face, corner);
      if (g == start) return;  // came around: the whole fan is done
      if (!enter(g)) break;
      const int back = edgeBackTo(g, face);
      if (back < 0) break;
      face = g;
      corner = (back + 1) % 3;
      claim(face, corner, rep);
    }
    // Across the edge arriving at the corner: the point is at the start of the
    // neighbour's edge, and the walk goes on across the edge arriving there.
    face = start;
    corner = startCorner;
    for (;;) {
      const uint32_t g = neighbour(face, (corner + 2) % 3);
      if (!enter(g)) break;
      const int back = edgeBackTo(g, face);
      if (back < 0) break;
      face = g;
      corner = back;
      claim(face, corner, rep);
    }
  }

  std::span<const uint16_t> indices_;
  std::span<const uint32_t> adjacency_;
  uint32_t faceCount_;
  std::vector<uint32_t> reps_;
  // Walk number that last entered each face; a walk enters a face at most once.
  std::vector<uint32_t> walkOfFace_;
  uint32_t walk_ = 0;
  // A consistent adjacency takes each face corner once over all walks, about
  // three steps per face; contradictory adjacency could make walks overlap
  // without end, so all walks together get a fixed budget.
  uint64_t stepsLeft_;
};
}  // namespace

std::vector<uint32_t> ConvertAdjacencyToPointReps(std::span<const uint16_t> indices, std::size_t vertexCount,
                                                  std::span<const uint32_t> adjacency,
                                                  std::span<const D3DXATTRIBUTERANGE> ranges) {
  PointRepWalker walker(indices, vertexCount, adjacency);
  const uint32_t faceCount = walker.faceCount();
  for (const D3DXATTRIBUTERANGE& range : ranges) {
    const uint64_t end = std::min<uint64_t>(uint64_t{range.FaceStart} + range.FaceCount, faceCount);
    for (uint64_t f = range.FaceStart; f < end; ++f) {
      walker.visitFace(static_cast<uint32_t>(f));
    }
  }
  // Faces outside every range; faces already visited have nothing left to set.
  for (uint32_t f = 0; f < faceCount; ++f) {
    walker.visitFace(f);
  }
  return walker.finish();
}

uint32_t CountPoints(std::span<const uint32_t> pointReps) {
  uint32_t count = 0;
  for (std::size_t v = 0; v < pointReps.size(); ++v) {
    if (pointReps[v] == v) ++count;
  }
  return count;
}
}  // namespace posewright
