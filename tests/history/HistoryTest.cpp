// The undo history: exact restores of every kind of change over a random
// sequence of edits, the memory bound, step merging and the modified states.
#include <gtest/gtest.h>

#include <cstring>

#include "anim/KeyPose.h"
#include "editor/panels/BoneParameters.h"
#include "history/AnimationChange.h"
#include "history/DataKeys.h"
#include "history/ModelChange.h"
#include "history/UnsavedData.h"
#include "support/MathMatchers.h"
#include "support/SyntheticSkinnedModel.h"
#include "weights/BlendWeights.h"
#include "weights/WeightEditing.h"

namespace posewright {

namespace {
// Everything an edit may change, compared bit for bit.
struct State {
  std::vector<SkinVertex> vertices;
  std::vector<SkinVertex> points;
  std::vector<Bone> bones;
  std::vector<BlendingParams> params;
  std::vector<const Animation*> animations;
  std::vector<std::vector<Keyframe>> keys;
  std::vector<KeyPosition> currentKeys;
  int32_t currentAnimation = -1;
  std::array<int32_t, 3> angles{};
};

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

bool SameBones(const std::vector<Bone>& a, const std::vector<Bone>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].symmetricId != b[i].symmetricId ||
        std::memcmp(&a[i].poseRotation, &b[i].poseRotation, sizeof(D3DXQUATERNION)) != 0 ||
        std::memcmp(&a[i].orientation, &b[i].orientation, sizeof(D3DXQUATERNION)) != 0) {
      return false;
    }
  }
  return true;
}

bool SameKeys(const std::vector<Keyframe>& a, const std::vector<Keyframe>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].time != b[i].time || !SameBytes(a[i].rotations, b[i].rotations)) return false;
  }
  return true;
}

bool operator==(const State& a, const State& b) {
  bool keysEqual = a.keys.size() == b.keys.size();
  for (std::size_t i = 0; keysEqual && i < a.keys.size(); ++i) keysEqual = SameKeys(a.keys[i], b.keys[i]);
  return SameBytes(a.vertices, b.vertices) && SameBytes(a.points, b.points) && SameBones(a.bones, b.bones) &&
         SameBytes(a.params, b.params) && a.animations == b.animations && keysEqual &&
         a.currentKeys == b.currentKeys && a.currentAnimation == b.currentAnimation && a.angles == b.angles;
}

struct HistoryTest : ::testing::Test {
  SkinnedModel model = synthetic::MakeModel({.vertexCount = 4000, .boneCount = 32, .seed = 7});
  AnimationList animations;
  std::array<int32_t, 3> angles{};
  History history;
  BoneItemMap items;

  void SetUp() override {
    for (int32_t b = 0; b < model.skeleton.boneCount(); ++b) items.push_back(100 + b);
  }

  State Capture() const {
    State s;
    s.vertices = model.skinnedMesh.vertices;
    s.points = model.pointVertices;
    s.bones = model.skeleton.bones;
    s.params = model.skeleton.blendParams;
    for (const auto& a : animations.entries()) {
      s.animations.push_back(a.get());
      s.keys.push_back(a->keys());
      s.currentKeys.push_back(a->currentKey());
    }
    s.currentAnimation = animations.currentIndex();
    s.angles = angles;
    return s;
  }
  void SelectEvery(uint32_t stride, uint32_t offset) {
    model.selection.reset(model.vertexCount());
    for (std::size_t v = offset; v < model.vertexCount(); v += stride) model.selection.selected[v] = 1;
  }
};

// A random run of every kind of edit; undo walks back through every state
// exactly, redo forward again.
TEST_F(HistoryTest, UndoAndRedoRestoreEveryStateExactly) {
  synthetic::Random random(11);
  std::vector<State> states{Capture()};
  for (int i = 0; i < 60; ++i) {
    switch (random.below(7)) {
      case 0: {  // Weight Control's Apply on a sparse selection
        SelectEvery(97 + random.below(50), random.below(40));
        ModelEdit edit(history, model, "Apply Weights", kWeightsAspect);
        const auto bone = static_cast<uint8_t>(1 + random.below(31));
        SetSelectedWeights(model, {bone, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f});
        edit.commit();
        break;
      }
      case 1: {  // the Bone panel's Apply: R and H, then the selected weights
        SelectEvery(31, random.below(31));
        ModelEdit edit(history, model, "Apply H and R", kWeightsAspect | kBoneParametersAspect);
        const int32_t b = 1 + static_cast<int32_t>(random.below(31));
        SetBlendingParams(model.skeleton, items, items[b], random.uniform(0.5f, 2), random.uniform(0.1f, 1));
        RecomputeSelectedWeights(model);
        edit.commit();
        break;
      }
      case 2: {  // a Bone Control drag, slider angles included
        ModelEdit edit(history, model, "Rotate Bone", kPoseAspect, &angles);
        Bone& bone = model.skeleton.bones[1 + random.below(31)];
        SetBoneOrientation(bone, synthetic::RandomRotation(random));
        angles[random.below(3)] = static_cast<int32_t>(random.below(360)) - 180;
        edit.commit();
        break;
      }
      case 3: {  // Inverse
        ModelEdit edit(history, model, "Inverse", kPoseAspect);
        MirrorPose(model.skeleton);
        edit.commit();
        break;
      }
      case 4: {  // Add Animation
        AnimationListEdit edit(history, animations, "Add Animation");
        animations.AppendAnimation(synthetic::MakeAnimation(32, {0, 10}, random.next()));
        edit.commit();
        break;
      }
      case 5: {  // Remove Animation
        if (animations.empty()) continue;
        AnimationListEdit edit(history, animations, "Remove Animation");
        animations.RemoveAnimation();
        edit.commit();
        break;
      }
      case 6: {  // Add or Remove Keyframe, overwriting now and then
        Animation* a = animations.current();
        if (a == nullptr) continue;
        const bool add = random.below(3) != 0;
        AnimationKeysEdit edit(history, *a, add ? "Add Keyframe" : "Remove Keyframe");
        if (add) {
          RecordKey(model.skeleton, *a, static_cast<int32_t>(random.below(6)) * 5);
        } else {
          a->RemoveKey(a->currentKey());
        }
        edit.commit();
        break;
      }
    }
    if (!(Capture() == states.back())) states.push_back(Capture());
  }
  ASSERT_EQ(history.doneCount() + 1, states.size());
  for (std::size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(Capture() == states[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(history.undo());
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(Capture() == states[i]) << "after redoing step " << i;
  }
  EXPECT_FALSE(history.redo());
}

// A weight edit on a few vertices of the 65,535-vertex model keeps those few
// vertices, not a copy of the mesh; an action that changes nothing is no step.
TEST_F(HistoryTest, StepsHoldOnlyWhatChanged) {
  model = synthetic::MakeModel({.vertexCount = 65535, .boneCount = 32, .seed = 7});
  SelectEvery(1000, 3);  // 66 vertices
  ModelEdit edit(history, model, "Apply Weights", kWeightsAspect);
  SetSelectedWeights(model, {5, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f});
  edit.commit();
  ASSERT_EQ(history.doneCount(), 1u);
  EXPECT_EQ(history.undoName(), "Apply Weights");
  EXPECT_LT(history.memoryBytes(), 66 * sizeof(IndexedChange<WeightRecord>) + 1024);
  EXPECT_GT(history.memoryBytes(), 66 * sizeof(IndexedChange<WeightRecord>));

  ModelEdit same(history, model, "Apply Weights", kWeightsAspect);
  SetSelectedWeights(model, {5, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f});
  same.commit();
  EXPECT_EQ(history.doneCount(), 1u);
}

// Beyond the bound the oldest steps go; the data stays as it is, and what
// they modified stays modified.
TEST_F(HistoryTest, TheMemoryBoundDropsTheOldestSteps) {
  auto apply = [&](uint8_t bone) {
    SelectEvery(10, bone);  // 400 vertices, about 16 KB a step
    ModelEdit edit(history, model, "Apply Weights", kWeightsAspect);
    SetSelectedWeights(model, {bone, 0, 0, 0}, {1.0f, 0.0f, 0.0f, 0.0f});
    edit.commit();
  };
  apply(1);
  const std::size_t stepBytes = history.memoryBytes();
  history.setMemoryLimit(3 * stepBytes + stepBytes / 2);
  const State afterFirst = Capture();
  for (uint8_t bone = 2; bone <= 6; ++bone) apply(bone);
  EXPECT_EQ(history.doneCount(), 3u);
  EXPECT_LE(history.memoryBytes(), history.memoryLimit());
  const State newest = Capture();
  while (history.undo()) {
  }
  EXPECT_FALSE(Capture() == afterFirst) << "steps 1 to 3 can no longer be undone";
  EXPECT_TRUE(history.isModified(kModelData));
  while (history.redo()) {
  }
  EXPECT_TRUE(Capture() == newest);

  history.setMemoryLimit(stepBytes / 2);  // even the newest step is too big
  EXPECT_EQ(history.doneCount(), 0u);
  EXPECT_EQ(history.memoryBytes(), 0u);
  EXPECT_TRUE(history.isModified(kModelData));
}

TEST_F(HistoryTest, ADragIsOneStepUntilTheChainEnds) {
  const State start = Capture();
  for (int move = 0; move < 5; ++move) {
    ModelEdit edit(history, model, "Rotate Bone", kPoseAspect, &angles);
    SetBonePose(model.skeleton.bones[move % 2 + 1], AxisAngle(1, 0, 0, 0.1f * static_cast<float>(move)));
    angles[0] = move * 10;
    edit.commit(/*chain=*/true);
  }
  const State dragged = Capture();
  history.endChain();
  ModelEdit next(history, model, "Rotate Bone", kPoseAspect, &angles);
  SetBonePose(model.skeleton.bones[3], AxisAngle(1, 0, 0, 0.1f * static_cast<float>(1)));
  next.commit(true);
  EXPECT_EQ(history.doneCount(), 2u);
  history.undo();
  EXPECT_TRUE(Capture() == dragged);
  history.undo();
  EXPECT_TRUE(Capture() == start);
}

// Saved states: a save clears, a change sets, undoing back to the save
// clears again; a change made after undoing past the save stays modified.
TEST_F(HistoryTest, ModifiedFollowsTheSavedStateThroughUndoAndRedo) {
  auto rotate = [&](int bone) {
    ModelEdit edit(history, model, "Rotate Bone", kPoseAspect);
    SetBonePose(model.skeleton.bones[bone], AxisAngle(1, 0, 0, 0.1f * static_cast<float>(bone)));
    edit.commit();
  };
  auto hr = [&] {
    ModelEdit edit(history, model, "Apply H and R", kBoneParametersAspect);
    SetBlendingParams(model.skeleton, items, items[4], 3.0f, 0.5f);
    edit.commit();
  };
  EXPECT_FALSE(ModelModified(history));
  rotate(1);
  EXPECT_TRUE(history.isModified(kModelData));
  EXPECT_FALSE(history.isModified(kBlendingData)) << "a pose is no blending parameter";
  history.markSaved(kModelData);
  EXPECT_FALSE(ModelModified(history));
  hr();
  EXPECT_TRUE(history.isModified(kBlendingData));
  EXPECT_FALSE(history.isModified(kModelData)) << "R and H are not in the .skm file";
  history.undo();
  EXPECT_FALSE(ModelModified(history));
  history.undo();
  EXPECT_TRUE(ModelModified(history)) << "before the saved state";
  history.redo();
  EXPECT_FALSE(ModelModified(history));
  history.undo();
  rotate(2);  // the saved state can no longer be reached
  history.undo();
  EXPECT_TRUE(ModelModified(history));

  // A new history (a model opened from files) keeps what was modified.
  AnimationListEdit add(history, animations, "Add Animation");
  animations.AppendAnimation(Animation());
  add.commit();
  EXPECT_TRUE(AnimationsModified(history, animations));
  history.clear();
  history.markSaved(kModelData);
  history.markSaved(kBlendingData);
  EXPECT_EQ(history.doneCount(), 0u);
  EXPECT_FALSE(ModelModified(history));
  EXPECT_TRUE(AnimationsModified(history, animations));
  history.markSaved(AnimationData(*animations.current()));
  EXPECT_FALSE(AnimationsModified(history, animations));
  history.reset();
  EXPECT_FALSE(ModelModified(history));
}

TEST_F(HistoryTest, ARemovedAnimationComesBackAsTheSameObject) {
  animations.AppendAnimation(synthetic::MakeAnimation(4, {0, 5}, 1));
  animations.AppendAnimation(synthetic::MakeAnimation(4, {0, 7}, 2));
  animations.PreviousAnimation();
  const Animation* first = animations.current();
  AnimationKeysEdit keys(history, *animations.current(), "Add Keyframe");
  animations.current()->InsertKey(std::vector<D3DXQUATERNION>(4), 3);
  keys.commit();
  AnimationListEdit remove(history, animations, "Remove Animation");
  animations.RemoveAnimation();
  remove.commit();
  ASSERT_EQ(animations.size(), 1);
  history.undo();
  ASSERT_EQ(animations.size(), 2);
  EXPECT_EQ(animations.current(), first);
  history.undo();
  EXPECT_EQ(first->keys().size(), 2u);
  EXPECT_EQ(history.redoName(), "Add Keyframe");
}
}  // namespace
}  // namespace posewright
