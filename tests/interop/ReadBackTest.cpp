// The editor's own skin-aware import reads exported files back with the
// weights we wrote, and keeps the skeleton when every bone has its SkinWeights.
#include <gtest/gtest.h>

#include <filesystem>

#include "OwnReader.h"
#include "export/SkinnedMeshXWriter.h"
#include "support/ExportTestModels.h"
#include "support/SyntheticSkinnedModel.h"
#include "support/TempDir.h"

namespace posewright {

using namespace interop;

TEST(ReadBack, OwnImportReadsTheWorkedExampleBack) {
  const SkinnedModel model = exporttest::OneTriangle();
  const Animation animation = exporttest::StillAnimation(2, {0, 30});
  const TempDir dir;
  const std::string path = dir.path("readback_worked.x");
  ASSERT_TRUE(WriteSkinnedMeshX(path, {}, model, &animation));
  SkinnedModel imported;
  ExpectOwnImportAgrees(path, model, imported);
  EXPECT_TRUE(imported.bonesLoaded());
  EXPECT_EQ(imported.skinnedMesh.indices, model.skinnedMesh.indices);
  std::filesystem::remove(path);
}

TEST(ReadBack, OwnImportReadsGeneratedModelsBackWithTheSameWeights) {
  const TempDir dir;
  const std::string path = dir.path("readback.x");
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    synthetic::Random random(seed);
    synthetic::ModelRecipe recipe;
    recipe.seed = seed;
    recipe.vertexCount = 30 + random.below(2000);
    recipe.boneCount = static_cast<int32_t>(2 + random.below(30));
    recipe.materialCount = 1 + random.below(3);
    recipe.splitVertices = seed % 2 == 1;
    const SkinnedModel model = synthetic::MakeModel(recipe);
    SCOPED_TRACE("seed " + std::to_string(seed));
    ASSERT_TRUE(WriteSkinnedMeshX(path, {}, model, nullptr));
    SkinnedModel imported;
    ExpectOwnImportAgrees(path, model, imported);
    const bool everyBoneWritten =
        BuildSkinnedMeshXContent(model).skinWeightsCount == model.skeleton.boneCount() - 1;
    EXPECT_EQ(imported.bonesLoaded(), everyBoneWritten);
  }
  std::filesystem::remove(path);
}
}  // namespace posewright
