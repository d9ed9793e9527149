// The public .x files written by other exporters. Expected counts were read
// off the files by hand (and, for the binary ones, from a token dump).
#include <gtest/gtest.h>

#include "model/MeshLoader.h"
#include "support/MathMatchers.h"
#include "xfile/SkinInfluences.h"
#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
std::string Data(const std::string& name) {
  return XTestDataDir() + "/" + name;
}

void ExpectClosedSurface(const SkinnedModel& model) {
  const std::size_t faces = model.sourceMesh.faceCount();
  ASSERT_EQ(model.adjacency.size(), 3 * faces);
  for (std::size_t e = 0; e < model.adjacency.size(); ++e) {
    const uint32_t other = model.adjacency[e];
    ASSERT_LT(other, faces) << "edge " << e << " has no neighbour";
    // The neighbour lists this face back.
    const uint32_t self = static_cast<uint32_t>(e / 3);
    EXPECT_TRUE(model.adjacency[3 * other] == self || model.adjacency[3 * other + 1] == self ||
                model.adjacency[3 * other + 2] == self);
  }
}

// The skinned cube: frames Root (which swaps y and z) > Cube (identity), a
// mesh of 24 vertices and 12 triangles whose normal indices equal its vertex
// indices (no splits), one referenced material, one SkinWeights on "Cube".
void ExpectSkinnedCube(const std::string& file, XFileEncoding encoding) {
  SCOPED_TRACE(file);
  XFileDocument doc;
  ASSERT_TRUE(ReadXFile(Data(file), doc).ok);
  EXPECT_EQ(doc.encoding, encoding);
  ASSERT_EQ(doc.frames.size(), 2u);
  EXPECT_EQ(doc.frames[0].name, "Root");
  EXPECT_EQ(doc.frames[0].parent, -1);
  EXPECT_EQ(doc.frames[1].name, "Cube");
  EXPECT_EQ(doc.frames[1].parent, 0);
  EXPECT_EQ(doc.ticksPerSecond, 24u);
  ASSERT_EQ(doc.meshes.size(), 1u);
  const XMesh& m = doc.meshes[0];
  EXPECT_EQ(m.frame, 1);
  EXPECT_EQ(m.positions.size(), 24u);
  EXPECT_EQ(m.faceCount(), 12u);
  EXPECT_EQ(m.normals.size(), 24u);
  EXPECT_EQ(m.texCoords.size(), 48u);
  ASSERT_EQ(m.materials.size(), 1u);
  EXPECT_NEAR(m.materials[0].MatD3D.Diffuse.r, 0.639216f, 1e-6f);
  EXPECT_FLOAT_EQ(m.materials[0].MatD3D.Power, 96.078430f);
  EXPECT_NEAR(m.materials[0].MatD3D.Specular.g, 0.498039f, 1e-6f);
  EXPECT_TRUE(m.hasSkinHeader);
  EXPECT_EQ(m.skinHeader.bones, 1u);
  ASSERT_EQ(m.skinWeights.size(), 1u);
  EXPECT_EQ(m.skinWeights[0].transformNodeName, "Cube");
  EXPECT_EQ(m.skinWeights[0].vertexIndices.size(), 24u);
  EXPECT_EQ(m.skinWeights[0].vertexIndices[23], 23u);
  EXPECT_FLOAT_EQ(m.skinWeights[0].weights[5], 1.0f);
  EXPECT_EQ(SkinBoneNames(doc), std::vector<std::string>{"Cube"});

  SkinnedModel model;
  ASSERT_TRUE(LoadMesh(model, Data(file)).ok);
  EXPECT_TRUE(model.meshLoaded);
  EXPECT_EQ(model.sourceMesh.vertices.size(), 24u);
  EXPECT_EQ(model.sourceMesh.faceCount(), 12u);
  ASSERT_EQ(model.materialCount(), 1u);
  EXPECT_EQ(model.attributeTable, (std::vector<D3DXATTRIBUTERANGE>{{0, 0, 12, 0, 24}}));
  // Vertex 0 (−1, −1, 1) with normal (0, −1, 0) under Root's y/z swap.
  ExpectNear(model.sourceMesh.vertices[0].position, D3DXVECTOR3(-1, 1, -1));
  ExpectNear(model.sourceMesh.vertices[0].normal, D3DXVECTOR3(0, 0, -1));
  ExpectClosedSurface(model);
}

TEST(RealFiles, SkinnedCubeAsTextBinaryAndCompressed) {
  ExpectSkinnedCube("test_cube_text.x", XFileEncoding::Text);
  ExpectSkinnedCube("test_cube_binary.x", XFileEncoding::Binary);
  ExpectSkinnedCube("test_cube_compressed.x", XFileEncoding::CompressedBinary);
}

TEST(RealFiles, LargeBinaryMeshFromAnotherExporter) {
  // Frame FeedTheDinoGPU-0 with a translation; 4132 vertices, 6656 triangles;
  // MeshNormals with the same face indices (no splits); one material.
  SkinnedModel model;
  const Status s = LoadMesh(model, Data("fromtruespace_bin32.x"));
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(model.sourceMesh.vertices.size(), 4132u);
  EXPECT_EQ(model.sourceMesh.faceCount(), 6656u);
  ASSERT_EQ(model.materialCount(), 1u);
  EXPECT_FLOAT_EQ(model.materialList[0].MatD3D.Diffuse.r, 0.5372549295425415f);
  EXPECT_FLOAT_EQ(model.materialList[0].MatD3D.Power, 71.0f);
  EXPECT_EQ(model.attributeTable, (std::vector<D3DXATTRIBUTERANGE>{{0, 0, 6656, 0, 4132}}));
  ASSERT_EQ(model.textures.size(), 1u);
  EXPECT_EQ(model.textures[0], nullptr);
  // (−6.372312, −0.687067, 0.052653) under the frame's transform.
  ExpectNear(model.sourceMesh.vertices[0].position, D3DXVECTOR3(-7.3316956f, 0.8833693f, 1.5884641f), 1e-5f);
}

TEST(RealFiles, VertexColoursAndThreeMaterialsWithMissingTextures) {
  SkinnedModel model;
  const Status s = LoadMesh(model, Data("kwxport_test_cubewithvcolors.x"));
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(model.sourceMesh.vertices.size(), 24u);
  EXPECT_EQ(model.sourceMesh.faceCount(), 12u);
  ASSERT_EQ(model.materialCount(), 3u);
  EXPECT_FLOAT_EQ(model.materialList[1].MatD3D.Power, 52.999996f);
  EXPECT_FLOAT_EQ(model.materialList[2].MatD3D.Specular.r, 0.7f);
  EXPECT_EQ(model.materialList[0].textureFilename,
            "C:\\\\code\\\\sourceforge\\\\kwxport\\\\trunkMerged\\\\test\\\\data\\\\bottom.tga");
  // Faces use materials 0 0 1 1 2 2 2 2 2 2 2 2.
  EXPECT_EQ(model.attributeTable,
            (std::vector<D3DXATTRIBUTERANGE>{{0, 0, 2, 0, 4}, {1, 2, 2, 4, 4}, {2, 4, 8, 8, 16}}));
  ASSERT_EQ(model.textures.size(), 3u);
  for (const auto& t : model.textures) {
    EXPECT_EQ(t, nullptr);
  }
  // The frame moves the box down by 0.492126.
  ExpectNear(model.sourceMesh.vertices[0].position, D3DXVECTOR3(-0.492126f, -0.492126f, -0.492126f));
  ExpectClosedSurface(model);
}

TEST(RealFiles, TexturedCubeWithRelativeTextureName) {
  SkinnedModel model;
  const Status s = LoadMesh(model, Data("test.x"));
  ASSERT_TRUE(s.ok) << s.describe();
  EXPECT_EQ(model.sourceMesh.vertices.size(), 24u);
  EXPECT_EQ(model.sourceMesh.faceCount(), 12u);
  ASSERT_EQ(model.materialCount(), 1u);
  EXPECT_EQ(model.materialList[0].textureFilename, ".\\\\test.png");
  ASSERT_EQ(model.textures.size(), 1u);
  ASSERT_NE(model.textures[0], nullptr);
  EXPECT_EQ(model.textures[0]->width, 512);
  EXPECT_EQ(model.textures[0]->height, 512);
  EXPECT_FLOAT_EQ(model.sourceMesh.vertices[1].u, 0.280665f);
  EXPECT_FLOAT_EQ(model.sourceMesh.vertices[1].v, -0.358017f);
}
}  // namespace
}  // namespace posewright
