// Property: over many generated models, Assimp reads back every influence we
// export, with the weight we hold, and every key.
#include <gtest/gtest.h>

#include <filesystem>

#include "AssimpAgreement.h"
#include "export/SkinnedMeshXWriter.h"
#include "support/SyntheticSkinnedModel.h"
#include "support/TempDir.h"

namespace posewright {

using namespace interop;

TEST(ExportProperty, ExportThenAssimpImportNeverLosesAVertexInfluence) {
  const TempDir dir;
  const std::string path = dir.path("interop_property.x");
  for (uint64_t seed = 1; seed <= 24; ++seed) {
    synthetic::Random random(seed);
    synthetic::ModelRecipe recipe;
    recipe.seed = seed;
    recipe.vertexCount = 30 + random.below(1500);
    // At least two bones: Assimp cannot read a file whose root frame has no child.
    recipe.boneCount = static_cast<int32_t>(2 + random.below(40));
    recipe.materialCount = 1 + random.below(4);
    recipe.splitVertices = seed % 2 == 0;
    const SkinnedModel model = synthetic::MakeModel(recipe);
    std::vector<int32_t> times = {static_cast<int32_t>(random.below(10))};
    const uint32_t keyframes = random.below(5);
    for (uint32_t k = 0; k < keyframes; ++k)
      times.push_back(times.back() + 1 + static_cast<int32_t>(random.below(20)));
    const Animation animation = synthetic::MakeAnimation(recipe.boneCount, times, seed + 1000);
    const ExportOptions options{seed % 3 == 0 ? 60u : 4800u, seed % 4 < 2};
    SCOPED_TRACE("seed " + std::to_string(seed));
    ASSERT_TRUE(WriteSkinnedMeshX(path, options, model, &animation));
    const AssimpScene s = ReadWithAssimp(path);
    ASSERT_NE(s.scene, nullptr);
    ExpectSameSkin(*s.scene, model);
    ExpectSameAnimation(*s.scene, model, animation, options);
  }
  std::filesystem::remove(path);
}
}  // namespace posewright
