// JOINTS_0 / WEIGHTS_0 from the four slots: what the validator demands, and
// the skinning the editor does wherever glTF can express it.
#include <gtest/gtest.h>

#include <map>

#include "gltf/GltfSkinWeights.h"
#include "support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {

SkinVertex Slots(std::array<uint8_t, 4> bones, float w0, float w1, float w2) {
  SkinVertex v;
  for (int s = 0; s < 4; ++s) v.setBoneIndex(s, bones[static_cast<std::size_t>(s)]);
  v.blendWeights[0] = w0;
  v.blendWeights[1] = w1;
  v.blendWeights[2] = w2;
  return v;
}

TEST(GltfSkinWeights, SlotsBecomeJointsTheValidatorAccepts) {
  const struct {
    const char* name;
    SkinVertex vertex;
    std::array<uint8_t, 4> joints;
    std::array<float, 4> weights;
  } cases[] = {
      {"one bone, empty slots zero", Slots({3, 0, 0, 0}, 1.0f, 0.0f, 0.0f), {3, 0, 0, 0}, {1, 0, 0, 0}},
      {"slot 3 takes the remainder",
       Slots({1, 2, 0, 4}, 0.5f, 0.25f, 0.0f),
       {1, 2, 4, 0},
       {0.5f, 0.25f, 0.25f, 0}},
      {"a bone named twice is one joint",
       Slots({2, 2, 5, 0}, 0.25f, 0.25f, 0.5f),
       {2, 5, 0, 0},
       {0.5f, 0.5f, 0, 0}},
      {"a zero weight leaves its bone out",
       Slots({6, 7, 0, 0}, 1.0f, 0.0f, 0.0f),
       {6, 0, 0, 0},
       {1, 0, 0, 0}},
      {"the root counts where it weighs",
       Slots({0, 5, 0, 0}, 0.25f, 0.75f, 0.0f),
       {0, 5, 0, 0},
       {0.25f, 0.75f, 0, 0}},
      {"no bone at all follows the root", Slots({0, 0, 0, 0}, 0.0f, 0.0f, 0.0f), {0, 0, 0, 0}, {1, 0, 0, 0}},
      {"a negative weight is dropped, the rest scaled",
       Slots({1, 2, 3, 0}, 1.0f, 0.5f, -0.5f),
       {1, 2, 0, 0},
       {2.0f / 3, 1.0f / 3, 0, 0}},
      // As read back from a .skm: the stored weights sum to 1.000001, leaving
      // slot 3 (empty) −9.5e-7; the largest weight alone absorbs it.
      {"a rounding remainder goes to the largest weight",
       Slots({1, 9, 0, 0}, 0.00852f, 0.991481f, 0.0f),
       {1, 9, 0, 0},
       {0.00852f, 0.99148f, 0, 0}},
      {"a bone beyond the skeleton is dropped",
       Slots({1, 200, 0, 0}, 0.5f, 0.5f, 0.0f),
       {1, 0, 0, 0},
       {1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const gltf::JointWeights got = gltf::ToJointWeights(c.vertex, 10);
    EXPECT_EQ(got.joints, c.joints) << c.name;
    for (std::size_t k = 0; k < 4; ++k)
      EXPECT_NEAR(got.weights[k], c.weights[k], 1e-7f) << c.name << " slot " << k;
    EXPECT_TRUE(gltf::SumsToOne(got.weights)) << c.name;
  }
}

// Property over the random weights of synthetic models: the validator's
// rules hold, and every bone's weight is the sum of its slots' weights.
TEST(GltfSkinWeights, RandomVerticesKeepTheirBonesWeights) {
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    synthetic::ModelRecipe recipe;
    recipe.seed = seed;
    recipe.boneCount = static_cast<int32_t>(2 + seed * 7);
    const SkinnedModel model = synthetic::MakeModel(recipe);
    for (const SkinVertex& v : model.skinnedMesh.vertices) {
      const gltf::JointWeights got = gltf::ToJointWeights(v, recipe.boneCount);
      ASSERT_TRUE(gltf::SumsToOne(got.weights));
      std::map<int, double> expected, actual;
      const float slotWeights[4] = {v.blendWeights[0], v.blendWeights[1], v.blendWeights[2], v.lastWeight()};
      for (int s = 0; s < 4; ++s) {
        if (slotWeights[s] > 0.0f) expected[v.boneIndex(s)] += slotWeights[s];
      }
      for (std::size_t k = 0; k < 4; ++k) {
        if (got.weights[k] == 0.0f) {
          EXPECT_EQ(got.joints[k], 0) << "a zero weight names joint 0";
          continue;
        }
        EXPECT_GT(got.weights[k], 0.0f);
        EXPECT_EQ(actual.count(got.joints[k]), 0u) << "joint " << int{got.joints[k]} << " twice";
        actual[got.joints[k]] = got.weights[k];
      }
      ASSERT_EQ(actual.size(), expected.size());
      for (const auto& [bone, weight] : expected) EXPECT_NEAR(actual[bone], weight, 1e-6) << "bone " << bone;
    }
  }
}

}  // namespace
}  // namespace posewright
