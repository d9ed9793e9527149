#include "history/ModelChange.h"

#include <algorithm>
#include <cstring>

#include "history/DataKeys.h"

namespace posewright {

namespace {
template <typename Record>
bool SameBits(const Record& a, const Record& b) {
  return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

WeightRecord WeightsOf(const SkinVertex& v) {
  return WeightRecord{v.boneIndices, {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2]}};
}

void Assign(SkinVertex& v, const WeightRecord& r) {
  v.boneIndices = r.boneIndices;
  std::copy(r.weights.begin(), r.weights.end(), v.blendWeights);
}

// The entries where before and after differ; entries only one side has are
// not changes of existing data and are left out.
template <typename Record>
std::vector<IndexedChange<Record>> Differences(const std::vector<Record>& before,
                                               const std::vector<Record>& after) {
  std::vector<IndexedChange<Record>> changes;
  const std::size_t n = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!SameBits(before[i], after[i])) {
      changes.push_back({static_cast<uint32_t>(i), before[i], after[i]});
    }
  }
  return changes;
}

template <typename Record>
std::size_t BytesOf(const std::vector<IndexedChange<Record>>& changes) {
  return changes.capacity() * sizeof(IndexedChange<Record>);
}
}  // namespace

ModelSnapshot TakeModelSnapshot(const SkinnedModel& model, unsigned aspects) {
  ModelSnapshot s;
  if (aspects & kWeightsAspect) {
    s.weights.reserve(model.skinnedMesh.vertices.size());
    for (const SkinVertex& v : model.skinnedMesh.vertices) {
      s.weights.push_back(WeightsOf(v));
    }
  }
  const Skeleton& skeleton = model.skeleton;
  if (aspects & kBoneParametersAspect) {
    for (std::size_t b = 0; b < skeleton.bones.size(); ++b) {
      const BlendingParams params =
          b < skeleton.blendParams.size() ? skeleton.blendParams[b] : BlendingParams{};
      s.parameters.push_back({skeleton.bones[b].symmetricId, params.R, params.H});
    }
  }
  if (aspects & kPoseAspect) {
    for (const Bone& bone : skeleton.bones) {
      s.poses.push_back({bone.poseRotation, bone.orientation});
    }
  }
  return s;
}

std::size_t ModelChangeStep::memoryBytes() const {
  return sizeof(*this) + name().capacity() + touches().capacity() * sizeof(DataKey) + BytesOf(weights) +
         BytesOf(parameters) + BytesOf(poses);
}

void ModelChangeStep::write(bool after) {
  std::vector<SkinVertex>& vertices = model_.skinnedMesh.vertices;
  std::vector<SkinVertex>& points = model_.pointVertices;
  for (const auto& c : weights) {
    const WeightRecord& r = after ? c.after : c.before;
    if (c.index < vertices.size()) Assign(vertices[c.index], r);
    if (c.index < points.size()) Assign(points[c.index], r);
  }
  Skeleton& skeleton = model_.skeleton;
  for (const auto& c : parameters) {
    const BoneParameterRecord& r = after ? c.after : c.before;
    if (c.index < skeleton.bones.size()) skeleton.bones[c.index].symmetricId = r.symmetricId;
    if (c.index < skeleton.blendParams.size()) skeleton.blendParams[c.index] = BlendingParams{r.R, r.H};
  }
  for (const auto& c : poses) {
    const PoseRecord& r = after ? c.after : c.before;
    if (c.index < skeleton.bones.size()) {
      skeleton.bones[c.index].poseRotation = r.poseRotation;
      skeleton.bones[c.index].orientation = r.orientation;
    }
  }
  if (sliderAngles != nullptr) {
    *sliderAngles = after ? anglesAfter : anglesBefore;
  }
}

bool ModelChangeStep::absorb(HistoryStep& next) {
  auto* other = dynamic_cast<ModelChangeStep*>(&next);
  if (other == nullptr || &other->model_ != &model_ || other->name() != name() || !weights.empty() ||
      !parameters.empty() || !other->weights.empty() || !other->parameters.empty()) {
    return false;
  }
  for (const auto& c : other->poses) {
    const auto same =
        std::find_if(poses.begin(), poses.end(), [&](const auto& p) { return p.index == c.index; });
    if (same != poses.end()) {
      same->after = c.after;
    } else {
      poses.push_back(c);
    }
  }
  anglesAfter = other->anglesAfter;
  return true;
}

ModelEdit::ModelEdit(History& history, SkinnedModel& model, std::string name, unsigned aspects,
                     std::array<int32_t, 3>* sliderAngles)
    : history_(history),
      model_(model),
      name_(std::move(name)),
      aspects_(aspects),
      before_(TakeModelSnapshot(model, aspects)),
      sliderAngles_(sliderAngles) {
  if (sliderAngles_ != nullptr) {
    anglesBefore_ = *sliderAngles_;
  }
}

void ModelEdit::commit(bool chain) {
  const ModelSnapshot after = TakeModelSnapshot(model_, aspects_);
  auto weights = Differences(before_.weights, after.weights);
  auto parameters = Differences(before_.parameters, after.parameters);
  auto poses = Differences(before_.poses, after.poses);
  if (weights.empty() && parameters.empty() && poses.empty()) {
    return;
  }
  // Weights, poses and partners are model data; R and H live in the
  // blending parameters (which hold the partners too).
  std::vector<DataKey> touches;
  const bool partnerChanged = std::any_of(parameters.begin(), parameters.end(), [](const auto& c) {
    return c.before.symmetricId != c.after.symmetricId;
  });
  if (!weights.empty() || !poses.empty() || partnerChanged) touches.push_back(kModelData);
  if (!parameters.empty()) touches.push_back(kBlendingData);
  auto step = std::make_unique<ModelChangeStep>(name_, std::move(touches), model_);
  step->weights = std::move(weights);
  step->parameters = std::move(parameters);
  step->poses = std::move(poses);
  step->weights.shrink_to_fit();
  if (sliderAngles_ != nullptr) {
    step->sliderAngles = sliderAngles_;
    step->anglesBefore = anglesBefore_;
    step->anglesAfter = *sliderAngles_;
  }
  history_.push(std::move(step), chain);
}
}  // namespace posewright
