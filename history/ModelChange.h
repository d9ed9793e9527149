// Undoable changes of the model: the weights of vertices, the bones' blending
// parameters and mirror partners, and the pose. A ModelEdit looks at the
// model before an action and, once it is done, records only what the action
// changed (a weight edit on a few vertices of a 65,535-vertex mesh keeps those
// few vertices), as one step.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/History.h"
#include "math/Quaternion.h"
#include "model/SkinnedModel.h"

namespace posewright {

/// What a ModelEdit watches (bits).
enum ModelAspect : unsigned {
  kWeightsAspect = 1,
  /// R, H and Symmetric Bone ID of every bone.
  kBoneParametersAspect = 2,
  /// Every bone's pose.
  kPoseAspect = 4,
};

/// A vertex's weight part as stored: packed bone indices and the three weights.
struct WeightRecord {
  uint32_t boneIndices = 0;
  std::array<float, 3> weights{0.0f, 0.0f, 0.0f};
};

/// A bone's blending parameters and mirror partner.
struct BoneParameterRecord {
  int32_t symmetricId = 0;
  float R = 0.0f;
  float H = 0.0f;
};

/// A bone's pose as stored: both halves, so a restore is exact whichever one
/// the change set.
struct PoseRecord {
  D3DXQUATERNION poseRotation;
  D3DXQUATERNION orientation;
};

/// The model as one aspect set sees it.
struct ModelSnapshot {
  std::vector<WeightRecord> weights;
  std::vector<BoneParameterRecord> parameters;
  std::vector<PoseRecord> poses;
};

ModelSnapshot TakeModelSnapshot(const SkinnedModel& model, unsigned aspects);

template <typename Record>
struct IndexedChange {
  uint32_t index = 0;
  Record before;
  Record after;
};

/// The changes of one action; undo writes every "before", redo every "after".
class ModelChangeStep final : public HistoryStep {
 public:
  ModelChangeStep(std::string name, std::vector<DataKey> touches, SkinnedModel& model)
      : HistoryStep(std::move(name), std::move(touches)), model_(model) {}

  std::vector<IndexedChange<WeightRecord>> weights;
  std::vector<IndexedChange<BoneParameterRecord>> parameters;
  std::vector<IndexedChange<PoseRecord>> poses;
  /// Bone Control's slider angles, restored with the pose when given.
  std::array<int32_t, 3>* sliderAngles = nullptr;
  std::array<int32_t, 3> anglesBefore{};
  std::array<int32_t, 3> anglesAfter{};

  void undo() override { write(false); }
  void redo() override { write(true); }
  std::size_t memoryBytes() const override;
  /// Takes over a pose-only step with the same name on the same model: one
  /// step for every slider move until the chain ends.
  bool absorb(HistoryStep& next) override;

  bool empty() const { return weights.empty() && parameters.empty() && poses.empty(); }

 private:
  void write(bool after);

  SkinnedModel& model_;
};

class ModelEdit {
 public:
  /// Looks at aspects of model now. sliderAngles (may be null): Bone
  /// Control's angles, recorded with the pose.
  ModelEdit(History& history, SkinnedModel& model, std::string name, unsigned aspects,
            std::array<int32_t, 3>* sliderAngles = nullptr);
  /// Pushes one step with every change since the constructor (chain: see
  /// History::push); nothing when the model did not change.
  void commit(bool chain = false);

 private:
  History& history_;
  SkinnedModel& model_;
  std::string name_;
  unsigned aspects_;
  ModelSnapshot before_;
  std::array<int32_t, 3>* sliderAngles_;
  std::array<int32_t, 3> anglesBefore_{};
};
}  // namespace posewright
