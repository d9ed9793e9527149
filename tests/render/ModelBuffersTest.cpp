#include <gtest/gtest.h>

#include "render/ModelBuffers.h"
#include "render/RecordingDevice.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
TEST(ModelBuffers, TexturesFollowTheModel) {
  SkinnedModel model;
  fixtures::AddQuad(model, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0, 0);
  fixtures::Finish(model, {fixtures::Material(1, 1, 1), fixtures::Material(1, 1, 1)},
                   fixtures::ChainSkeleton(1));
  model.textures[0] = std::make_shared<const TextureImage>(TextureImage{1, 1, {1, 2, 3, 4}});
  model.textures[1] =
      std::make_shared<const TextureImage>(TextureImage{2, 1, {1, 2, 3}});  // wrong size: untextured
  RecordingDevice device;
  ModelBuffers buffers;
  buffers.syncMesh(device, model);
  const TextureId first = buffers.texture(0);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(device.textures[first].rgba, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(buffers.texture(1), 0u);
  EXPECT_EQ(buffers.texture(7), 0u);

  buffers.syncMesh(device, model);
  EXPECT_EQ(buffers.texture(0), first) << "unchanged: not uploaded again";
  EXPECT_EQ(device.logLines("createTexture").size(), 1u);

  model.textures[0] = std::make_shared<const TextureImage>(TextureImage{1, 1, {9, 2, 3, 4}});
  buffers.syncMesh(device, model);
  EXPECT_NE(buffers.texture(0), first);
  EXPECT_EQ(device.textures.count(first), 0u) << "the old texture is released";

  model.textures.resize(1);
  model.textures[0].reset();
  buffers.syncMesh(device, model);
  EXPECT_EQ(buffers.texture(0), 0u);
  EXPECT_TRUE(device.textures.empty());

  buffers.release(device);
  EXPECT_TRUE(device.vertexBuffers.empty());
  EXPECT_TRUE(device.indexBuffers.empty());
}

TEST(ModelBuffers, MaterialsSharingAnImageShareOneDeviceTexture) {
  SkinnedModel model;
  fixtures::AddQuad(model, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0, 0);
  const D3DXMATERIAL white = fixtures::Material(1, 1, 1);
  fixtures::Finish(model, {white, white, white, white}, fixtures::ChainSkeleton(1));
  const SharedTexture shared = std::make_shared<const TextureImage>(TextureImage{1, 1, {1, 2, 3, 4}});
  const SharedTexture other = std::make_shared<const TextureImage>(TextureImage{1, 1, {5, 6, 7, 8}});
  model.textures = {shared, other, shared, shared};
  RecordingDevice device;
  ModelBuffers buffers;
  buffers.syncMesh(device, model);
  EXPECT_EQ(device.logLines("createTexture").size(), 2u);
  EXPECT_EQ(buffers.texture(2), buffers.texture(0));
  EXPECT_EQ(buffers.texture(3), buffers.texture(0));
  EXPECT_NE(buffers.texture(1), buffers.texture(0));

  // Material 0 drops the image: the others keep their texture, nothing is uploaded again.
  model.textures[0] = nullptr;
  buffers.syncMesh(device, model);
  EXPECT_EQ(device.logLines("createTexture").size(), 2u);
  EXPECT_EQ(device.textures.size(), 2u);
  EXPECT_EQ(buffers.texture(0), 0u);
  buffers.release(device);
  EXPECT_TRUE(device.textures.empty());
}

TEST(ModelBuffers, ANewModelOfTheSameSizeIsUploaded) {
  SkinnedModel a;
  fixtures::AddQuad(a, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0, 0);
  fixtures::Finish(a, {fixtures::Material(1, 1, 1)}, fixtures::ChainSkeleton(1));
  SkinnedModel b = a;
  b.skinnedMesh.vertices[3].position.x = 5;
  RecordingDevice device;
  ModelBuffers buffers;
  buffers.syncMesh(device, a);
  buffers.syncMesh(device, b);
  ASSERT_EQ(device.vertexBuffers[buffers.meshVertices()].size(), 4u);
  EXPECT_EQ(device.vertexBuffers[buffers.meshVertices()][3].position.x, 5.0f);
  EXPECT_EQ(device.logLines("updateVertexBuffer").size(), 1u);
  EXPECT_EQ(device.logLines("updateIndexBuffer").size(), 0u) << "same faces: indices kept";
}
}  // namespace
}  // namespace posewright
