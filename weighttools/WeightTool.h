// What every weight tool takes and gives back. A tool reads the model's
// vertices (and faces, skeleton and selection) and never changes them: it
// returns the new weights of the vertices it changed and the counts the status
// bar shows. The editor applies the changes as one undoable step
// (ApplyWeightChanges returns the old weights of the same vertices, which undo
// applies again); a refused tool returns its message and no change.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "fileio/Status.h"
#include "mesh/SkinVertex.h"
#include "skeleton/Skeleton.h"

namespace posewright {

struct SkinnedModel;

/// A tool's refusal when the model has no bones.
inline constexpr std::string_view kWeightToolNoSkeleton = "The model has no skeleton: load bone data first.";
/// A tool's refusal when the model has no bound vertices.
inline constexpr std::string_view kWeightToolNoMesh = "The model has no bound mesh.";
/// A tool's refusal when a parameter is outside its range (the detail says which).
inline constexpr std::string_view kWeightToolBadParameter = "Invalid weight tool parameter";

struct WeightToolInput {
  std::span<const SkinVertex> vertices;
  /// Triangle list, three vertex numbers per face (smoothing follows its edges).
  std::span<const uint16_t> indices;
  /// Needed by every tool; nullptr or not loaded refuses.
  const Skeleton* skeleton = nullptr;
  /// One flag per vertex; the tools act on the flagged vertices, or on every
  /// vertex when none is flagged (or the span is empty).
  std::span<const uint8_t> selected;
};

/// The weight part of a vertex as stored: four slot bone indices (bits 0–7
/// slot 0 … bits 24–31 slot 3, 0 an empty slot) and the weights of slots 0–2;
/// slot 3 weighs 1 − (w0 + w1 + w2).
struct VertexWeights {
  uint32_t boneIndices = 0;
  std::array<float, 3> blendWeights{0.0f, 0.0f, 0.0f};

  /// Bitwise equality (so −0 differs from +0: a change is anything that alters the stored bytes).
  bool sameBits(const VertexWeights& other) const;
};

/// The stored weights of v.
VertexWeights WeightsOf(const SkinVertex& v);

struct WeightChange {
  uint32_t vertex = 0;
  VertexWeights weights;
};

struct WeightToolResult {
  /// Ok, or the refusal (then changes is empty).
  Status status;
  /// The new weights of every vertex whose stored weights differ, in vertex order.
  std::vector<WeightChange> changes;
  /// Vertices the tool acted on: the selected ones, or all.
  std::size_t verticesInScope = 0;
  /// Vertices in scope left as they were because no bone weighs on them (they
  /// follow the root).
  std::size_t verticesWithoutWeights = 0;
  /// Mirror only: vertices in scope (or mirrored onto from the scope) that
  /// have no vertex at their mirror position.
  std::size_t verticesWithoutPartner = 0;

  std::size_t verticesChanged() const { return changes.size(); }
};

/// The model's bound vertices, faces, skeleton and selection.
WeightToolInput WeightToolInputOf(const SkinnedModel& model);

/// Writes the changes into the model's bound vertices and their point copies
/// and returns the weights they replaced, last change first, so that applying
/// the returned list restores the model exactly. Entries naming a
/// vertex the model does not have are skipped (and not returned).
std::vector<WeightChange> ApplyWeightChanges(SkinnedModel& model, const std::vector<WeightChange>& changes);

/// The refusal every tool makes first: no skeleton, or no vertices. Ok when
/// the tool may run.
Status CheckWeightToolInput(const WeightToolInput& input);
}  // namespace posewright
