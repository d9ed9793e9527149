// The exported files: the GLB container, the .gltf with its companions, the
// document's layout, refusals and failed writes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>

#include "fileio/FileBytes.h"
#include "gltf/GltfExport.h"
#include "support/SyntheticSkinnedModel.h"
#include "support/TempDir.h"

namespace posewright {

namespace {

uint32_t U32(const std::string& bytes, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return v;
}

SkinnedModel Model(int32_t bones, uint32_t materials) {
  synthetic::ModelRecipe recipe;
  recipe.vertexCount = 400;
  recipe.boneCount = bones;
  recipe.materialCount = materials;
  return synthetic::MakeModel(recipe);
}

std::vector<gltf::NamedFile> Format(const SkinnedModel& model,
                                    std::span<const gltf::NamedAnimation> animations,
                                    gltf::Container container) {
  std::vector<gltf::NamedFile> files;
  const Status status = gltf::FormatExport(model, animations, {}, container, "model", files);
  EXPECT_TRUE(status) << status.describe();
  return files;
}

TEST(GltfFiles, GlbHoldsAPaddedJsonChunkAndTheWholeBuffer) {
  const SkinnedModel model = Model(5, 2);
  const std::vector<gltf::NamedFile> files = Format(model, {}, gltf::Container::Binary);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].first, "model.glb");
  const std::string& glb = files[0].second;
  ASSERT_GE(glb.size(), 28u);
  EXPECT_EQ(glb.substr(0, 4), "glTF");
  EXPECT_EQ(U32(glb, 4), 2u);
  EXPECT_EQ(U32(glb, 8), glb.size());
  const uint32_t jsonLength = U32(glb, 12);
  EXPECT_EQ(jsonLength % 4, 0u);
  EXPECT_EQ(glb.substr(16, 4), "JSON");
  const nlohmann::json json = nlohmann::json::parse(glb.substr(20, jsonLength));
  const std::size_t bin = 20 + jsonLength;
  EXPECT_EQ(U32(glb, bin) % 4, 0u);
  EXPECT_EQ(glb.substr(bin + 4, 4), std::string("BIN\0", 4));
  EXPECT_EQ(U32(glb, bin), json["buffers"][0]["byteLength"].get<uint32_t>());
  EXPECT_EQ(bin + 8 + U32(glb, bin), glb.size());
  EXPECT_FALSE(json["buffers"][0].contains("uri"));
}

TEST(GltfFiles, TheGlbMadeAroundTheBufferIsTheGlbMadeByCopying) {
  const std::string binary("\1\2\3\4\5\6\7\10", 8);
  for (const std::string& json : {std::string("{}"), std::string("{\"a\":1}"), std::string(300, ' ')}) {
    for (std::size_t headroom : {0u, 8u, 28u, 36u, 400u}) {
      EXPECT_EQ(gltf::GlbAroundBuffer(json, std::string(headroom, 'x') + binary, headroom),
                gltf::GlbBytes(json, binary))
          << json.size() << " bytes of JSON, headroom " << headroom;
    }
  }
}

TEST(GltfFiles, TheDocumentFollowsTheModel) {
  const struct {
    int32_t bones;
    uint32_t materials;
    std::vector<int32_t> keyTimes;  // of a second animation besides an empty one
  } cases[] = {{1, 1, {}}, {2, 3, {0, 10}}, {30, 2, {5, 9, 40}}, {256, 1, {0, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bones) + " bones");
    const SkinnedModel model = Model(c.bones, c.materials);
    const Animation empty, moving = synthetic::MakeAnimation(c.bones, c.keyTimes, 3);
    const gltf::NamedAnimation animations[] = {{"empty", &empty}, {"moving", &moving}};
    const std::vector<gltf::NamedFile> files = Format(model, animations, gltf::Container::Text);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].first, "model.bin");
    EXPECT_EQ(files[1].first, "model.gltf");
    const nlohmann::json json = nlohmann::json::parse(files[1].second);
    EXPECT_EQ(json["buffers"][0]["uri"], "model.bin");
    EXPECT_EQ(json["buffers"][0]["byteLength"].get<std::size_t>(), files[0].second.size());
    // Bones first, in bone order, with their names and children; then the
    // skinned mesh node; both roots of the scene.
    const nlohmann::json& nodes = json["nodes"];
    ASSERT_EQ(nodes.size(), static_cast<std::size_t>(c.bones) + 1);
    for (int32_t b = 1; b < c.bones; ++b) {
      const nlohmann::json& parent = nodes[static_cast<std::size_t>(model.skeleton.bones[b].parentId)];
      const auto& children = parent["children"];
      EXPECT_NE(std::find(children.begin(), children.end(), b), children.end()) << "bone " << b;
      EXPECT_EQ(nodes[static_cast<std::size_t>(b)]["name"], model.skeleton.bones[b].name);
    }
    EXPECT_EQ(json["scenes"][0]["nodes"], nlohmann::json::array({0, c.bones}));
    EXPECT_EQ(json["skins"][0]["joints"].size(), static_cast<std::size_t>(c.bones));
    EXPECT_EQ(json["accessors"][json["skins"][0]["inverseBindMatrices"].get<int>()]["count"], c.bones);
    // One primitive per material in use, 16-bit indices.
    const nlohmann::json& primitives = json["meshes"][0]["primitives"];
    EXPECT_EQ(primitives.size(), c.materials);
    std::size_t corners = 0;
    for (const nlohmann::json& p : primitives) {
      const nlohmann::json& indices = json["accessors"][p["indices"].get<int>()];
      EXPECT_EQ(indices["componentType"], 5123);
      corners += indices["count"].get<std::size_t>();
    }
    EXPECT_EQ(corners, model.skinnedMesh.indices.size());
    // The animation without keyframes is left out; the other turns every bone.
    const std::size_t animationCount = c.keyTimes.empty() ? 0 : 1;
    EXPECT_EQ(json.value("animations", nlohmann::json::array()).size(), animationCount);
    if (animationCount == 1) {
      EXPECT_EQ(json["animations"][0]["name"], "moving");
      EXPECT_EQ(json["animations"][0]["channels"].size(), static_cast<std::size_t>(c.bones));
    }
  }
}

TEST(GltfFiles, ModelsWithoutMeshOrSkeletonAreRefused) {
  SkinnedModel noSkeleton = Model(3, 1);
  noSkeleton.skeleton.clear();
  SkinnedModel bad = Model(3, 1);
  bad.skinnedMesh.vertices[7].normal.y = std::numeric_limits<float>::quiet_NaN();
  SkinnedModel tooMany = Model(257, 1);
  const struct {
    const SkinnedModel* model;
    const char* why;
  } cases[] = {{&noSkeleton, "no bound mesh with a skeleton"}, {&bad, "vertex 7"}, {&tooMany, "at most 256"}};
  for (const auto& c : cases) {
    std::vector<gltf::NamedFile> files;
    const Status status = gltf::FormatExport(*c.model, {}, {}, gltf::Container::Binary, "m", files);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Mesh Save Error");
    EXPECT_NE(status.detail.find(c.why), std::string::npos) << status.detail;
    EXPECT_TRUE(files.empty());
  }
  // An every-frame export beyond 2^24 rotation samples.
  const SkinnedModel model = Model(10, 1);
  const Animation longAnimation = synthetic::MakeAnimation(10, {0, 2000000}, 1);
  const gltf::NamedAnimation animations[] = {{"long", &longAnimation}};
  gltf::ExportOptions everyFrame;
  everyFrame.sampleEveryFrame = true;
  EXPECT_FALSE(gltf::CheckExport(model, animations, everyFrame));
  EXPECT_TRUE(gltf::CheckExport(model, animations, {}));
}

TEST(GltfFiles, AFailedWriteLeavesThePreviousExportWhole) {
  TempDir folder("gltf_atomic");
  const SkinnedModel model = Model(4, 1);
  const std::string gltfPath = folder.path("model.gltf");
  ASSERT_TRUE(gltf::WriteExport(gltfPath, model, {}, {}));
  const std::string oldJson = ReadFileBytes(gltfPath).value_or("");
  const std::string oldBin = ReadFileBytes(folder.path("model.bin")).value_or("");
  ASSERT_FALSE(oldBin.empty());

  // The buffer's place is taken by a folder: nothing may change.
  const SkinnedModel other = Model(9, 1);
  std::filesystem::remove(folder.path("model.bin"));
  std::filesystem::create_directories(folder.path("model.bin") + "/inside");
  Status status = gltf::WriteExport(gltfPath, other, {}, {});
  EXPECT_FALSE(status);
  EXPECT_EQ(status.message, "Cannot write the file");
  EXPECT_NE(status.detail.find("model.bin"), std::string::npos) << status.detail;
  EXPECT_EQ(ReadFileBytes(gltfPath).value_or(""), oldJson);
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos) << entry.path();
  }

  // A folder that cannot exist (below a file): said, with the file named.
  const std::string glbPath = folder.path("model.gltf") + "/model.glb";
  status = gltf::WriteExport(glbPath, model, {}, {});
  EXPECT_FALSE(status);
  EXPECT_NE(status.detail.find(glbPath), std::string::npos) << status.detail;
  EXPECT_EQ(ReadFileBytes(gltfPath).value_or(""), oldJson);
}

}  // namespace
}  // namespace posewright
