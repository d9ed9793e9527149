#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "render/RecordingDevice.h"
#include "render/RenderResources.h"
#include "skeleton/BoneShape.h"

namespace posewright {

namespace {
void ExpectFigureVertices(const std::vector<SkinVertex>& vertices) {
  for (const SkinVertex& v : vertices) {
    EXPECT_EQ(v.blendWeights[0], 1.0f);
    EXPECT_EQ(v.blendWeights[1], 0.0f);
    EXPECT_EQ(v.blendWeights[2], 0.0f);
    EXPECT_EQ(v.boneIndices, 0u);
    EXPECT_EQ(v.pointSize, 0.0f);
    EXPECT_EQ(v.u, 0.0f);
    EXPECT_EQ(v.v, 0.0f);
  }
}

TEST(RenderResources, GridHasTwentyOneLinesEachWay) {
  const LineFigure grid = BuildGrid();
  ASSERT_EQ(grid.vertices.size(), 80u);
  ASSERT_EQ(grid.indices.size(), 84u);
  ExpectFigureVertices(grid.vertices);
  std::set<float> alongZ;  // x of lines parallel to Z
  std::set<float> alongX;  // z of lines parallel to X
  for (std::size_t i = 0; i < grid.indices.size(); i += 2) {
    const D3DXVECTOR3& a = grid.vertices[grid.indices[i]].position;
    const D3DXVECTOR3& b = grid.vertices[grid.indices[i + 1]].position;
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_EQ(b.y, 0.0f);
    if (a.x == b.x) {
      EXPECT_EQ(std::make_pair(a.z, b.z), std::make_pair(-10.0f, 10.0f));
      alongZ.insert(a.x);
    } else {
      ASSERT_EQ(a.z, b.z);
      EXPECT_EQ(std::make_pair(a.x, b.x), std::make_pair(-10.0f, 10.0f));
      alongX.insert(a.z);
    }
  }
  EXPECT_EQ(alongZ.size(), 21u);
  EXPECT_EQ(alongX.size(), 21u);
  EXPECT_EQ(*alongX.begin(), -10.0f);
  EXPECT_EQ(*alongX.rbegin(), 10.0f);
  EXPECT_EQ((std::vector<uint16_t>(grid.indices.end() - 4, grid.indices.end())),
            (std::vector<uint16_t>{0, 40, 1, 41}));
}

TEST(RenderResources, AxesAndBoneShape) {
  const LineFigure axes = BuildAxes();
  ASSERT_EQ(axes.vertices.size(), 4u);
  EXPECT_EQ(axes.indices, (std::vector<uint16_t>{0, 1, 0, 2, 0, 3}));
  EXPECT_EQ(axes.vertices[1].position, D3DXVECTOR3(10, 0, 0));
  EXPECT_EQ(axes.vertices[2].position, D3DXVECTOR3(0, 10, 0));
  EXPECT_EQ(axes.vertices[3].position, D3DXVECTOR3(0, 0, 10));
  ExpectFigureVertices(axes.vertices);

  const LineFigure bone = BuildBoneShape();
  ASSERT_EQ(bone.vertices.size(), 11u);
  ASSERT_EQ(bone.indices.size(), 36u);
  for (std::size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(bone.vertices[i].position, BoneShape::points[i]);
    EXPECT_EQ(bone.vertices[i].normal, D3DXVECTOR3(0, 0, 0));
  }
  ExpectFigureVertices(bone.vertices);
}

TEST(RenderResources, RingKeepsPositionsAndNormalsAndTakesAmbientFromDiffuse) {
  SourceMesh mesh;
  mesh.vertices = {MeshVertex{{0.5f, 0, 0}, {1, 0, 0}, 0.25f, 0.75f},
                   MeshVertex{{0, 0.5f, 0}, {0, 1, 0}, 1, 1}, MeshVertex{{0, 0, 0.5f}, {0, 0, 1}, 0, 0}};
  mesh.indices = {0, 1, 2};
  D3DXMATERIAL blue;
  blue.MatD3D.Diffuse = {0, 0, 0.8f, 1};
  blue.MatD3D.Ambient = {0, 0, 0, 1};
  blue.MatD3D.Power = 5;
  blue.textureFilename = "ignored.png";
  const RingGizmo ring = BuildRingGizmo(mesh, {blue}, {{0, 0, 1, 0, 3}});
  ASSERT_EQ(ring.vertices.size(), 3u);
  ExpectFigureVertices(ring.vertices);
  EXPECT_EQ(ring.vertices[1].position, D3DXVECTOR3(0, 0.5f, 0));
  EXPECT_EQ(ring.vertices[1].normal, D3DXVECTOR3(0, 1, 0));
  ASSERT_EQ(ring.materials.size(), 1u);
  EXPECT_EQ(ring.materials[0].Ambient, ring.materials[0].Diffuse);
  EXPECT_EQ(ring.materials[0].Power, 5.0f);
  EXPECT_EQ(ring.attributeTable.size(), 1u);
}

TEST(RenderResources, UploadOnceAndReleaseVertexThenIndexBuffers) {
  RecordingDevice device;
  RenderResources resources;
  resources.upload(device);
  resources.upload(device);
  EXPECT_EQ(device.logLines("create").size(), 8u);
  EXPECT_EQ(device.vertexBuffers[resources.grid.vertexBuffer].size(), 80u);
  EXPECT_EQ(device.indexBuffers[resources.grid.indexBuffer], resources.grid.indices);
  resources.release(device);
  EXPECT_TRUE(device.vertexBuffers.empty());
  EXPECT_TRUE(device.indexBuffers.empty());
  EXPECT_EQ(resources.axes.vertexBuffer, 0u);
}
}  // namespace
}  // namespace posewright
