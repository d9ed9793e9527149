#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ImportTestSupport.h"
#include "image/PngWriter.h"
#include "importer/MeshFormats.h"
#include "importer/SceneMesh.h"
#include "tools/gen/RigModels.h"

namespace posewright {

namespace {
using namespace import_test;

LoadedMesh Import(const std::string& path, ImportNotes* notes = nullptr) {
  LoadedMesh mesh;
  const Status s = ImportMesh(path, mesh, notes);
  EXPECT_TRUE(s) << s.message << ": " << s.detail;
  return mesh;
}

D3DXVECTOR3 FaceNormal(const SourceMesh& mesh, std::size_t f) {
  const D3DXVECTOR3& a = mesh.vertices[mesh.indices[3 * f]].position;
  const D3DXVECTOR3& b = mesh.vertices[mesh.indices[3 * f + 1]].position;
  const D3DXVECTOR3& c = mesh.vertices[mesh.indices[3 * f + 2]].position;
  D3DXVECTOR3 n;
  const D3DXVECTOR3 ab = b - a, ac = c - a;
  D3DXVec3Cross(&n, &ab, &ac);
  return n;
}

// One triangle in glTF's own space (right-handed, +Y up, the model facing
// +Z, so its left side is +X): corners right (−1, 1, 0), left (1, 1, 0) and
// nose (0, 1.5, 0.5), counter-clockwise seen from the front, with the normal
// the right-hand rule gives.
std::string LeftRightTriangleGltf() {
  const float positions[9] = {-1, 1, 0, 1, 1, 0, 0, 1.5f, 0.5f};
  const float n = 0.70710678f;
  const float normals[9] = {0, -n, n, 0, -n, n, 0, -n, n};
  const uint16_t indices[4] = {0, 1, 2, 0};
  std::string buffer(reinterpret_cast<const char*>(positions), sizeof positions);
  buffer.append(reinterpret_cast<const char*>(normals), sizeof normals);
  buffer.append(reinterpret_cast<const char*>(indices), sizeof indices);
  return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1},"indices":2}]}],
"buffers":[{"byteLength":80,"uri":"data:application/octet-stream;base64,)" +
         Base64(buffer) + R"("}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":36},
{"buffer":0,"byteOffset":72,"byteLength":6}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[-1,1,0],"max":[1,1.5,0.5]},
{"bufferView":1,"componentType":5126,"count":3,"type":"VEC3"},
{"bufferView":2,"componentType":5123,"count":3,"type":"SCALAR"}]})";
}

TEST(MeshImport, TheLeftSideStaysLeftAndTheFrontFacesTheCamera) {
  TempDir folder("leftright");
  const LoadedMesh mesh = Import(folder.write("triangle.gltf", LeftRightTriangleGltf()));
  const SourceMesh& m = mesh.sourceMesh;
  ASSERT_EQ(m.vertices.size(), 3u);
  ASSERT_EQ(m.faceCount(), 1u);
  bool sawLeft = false, sawNose = false;
  for (const MeshVertex& v : m.vertices) {
    if (v.position.x > 0.5f) {
      sawLeft = true;  // the model's left hand stays at +X, the viewer's right
      EXPECT_FLOAT_EQ(v.position.x, 1.0f);
    }
    if (v.position.y > 1.25f) {
      sawNose = true;  // the front turns towards the editor's camera at −Z
      EXPECT_FLOAT_EQ(v.position.z, -0.5f);
    }
    EXPECT_NEAR(v.normal.z, -0.70710678f, 1e-5f);
    EXPECT_NEAR(v.normal.y, -0.70710678f, 1e-5f);
  }
  EXPECT_TRUE(sawLeft);
  EXPECT_TRUE(sawNose);
  // The face's corners run clockwise seen from the side its normals face.
  const D3DXVECTOR3 geometric = FaceNormal(m, 0);
  EXPECT_GT(D3DXVec3Dot(&geometric, &m.vertices[0].normal), 0.0f);
}

// The triangle again, with texture coordinates and a material whose base
// colour texture is a PNG inside the file.
std::string TexturedTriangleGltf(const std::string& png) {
  const float positions[9] = {-1, 1, 0, 1, 1, 0, 0, 1.5f, 0.5f};
  const float uvs[6] = {0, 1, 1, 1, 0.5f, 0};
  const uint16_t indices[4] = {0, 1, 2, 0};
  std::string buffer(reinterpret_cast<const char*>(positions), sizeof positions);
  buffer.append(reinterpret_cast<const char*>(uvs), sizeof uvs);
  buffer.append(reinterpret_cast<const char*>(indices), sizeof indices);
  return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0,"TEXCOORD_0":1},"indices":2,"material":0}]}],
"materials":[{"pbrMetallicRoughness":{"baseColorFactor":[0.5,0.25,1,1],"baseColorTexture":{"index":0}},
"emissiveFactor":[0.1,0.2,0.3]}],
"textures":[{"source":0}],"images":[{"uri":"data:image/png;base64,)" +
         Base64(png) + R"("}],
"buffers":[{"byteLength":68,"uri":"data:application/octet-stream;base64,)" +
         Base64(buffer) + R"("}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":24},
{"buffer":0,"byteOffset":60,"byteLength":6}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[-1,1,0],"max":[1,1.5,0.5]},
{"bufferView":1,"componentType":5126,"count":3,"type":"VEC2"},
{"bufferView":2,"componentType":5123,"count":3,"type":"SCALAR"}]})";
}

TEST(MeshImport, MaterialsKeepTheirColoursAndEmbeddedTextures) {
  std::vector<uint8_t> rgba;
  for (int p = 0; p < 6; ++p) rgba.insert(rgba.end(), {static_cast<uint8_t>(40 * p), 200, 10, 255});
  TempDir folder("embedded");
  const LoadedMesh mesh = Import(folder.write("textured.gltf", TexturedTriangleGltf(EncodePng(3, 2, rgba))));
  ASSERT_EQ(mesh.materialList.size(), 1u);
  const D3DMATERIAL8& m = mesh.materialList[0].MatD3D;
  EXPECT_EQ(m.Diffuse, (D3DCOLORVALUE{0.5f, 0.25f, 1.0f, 1.0f}));
  EXPECT_EQ(m.Emissive, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 1.0f}));
  EXPECT_FALSE(mesh.materialList[0].textureFilename.empty());
  ASSERT_TRUE(mesh.textures[0] != nullptr);
  EXPECT_EQ(mesh.textures[0]->width, 3);
  EXPECT_EQ(mesh.textures[0]->height, 2);
  EXPECT_EQ(mesh.textures[0]->rgba[4], 40);      // the second pixel of the top row
  EXPECT_EQ(mesh.materials[0].Ambient.r, 0.5f);  // drawing copies as for .x files
}

// Every kept model opens with unit normals (made where the file has none)
// that face the side its faces' corners run clockwise from.
TEST(MeshImport, KeptModelsOpenWithNormalsMatchingTheirWinding) {
  for (const char* name :
       {"bent_tube.glb", "two_roots.dae", "hand.fbx", "many_influences.dae", "no_normals.glb", "quads.obj"}) {
    SCOPED_TRACE(name);
    const LoadedMesh mesh = Import(KeptRig(name));
    const SourceMesh& m = mesh.sourceMesh;
    ASSERT_GT(m.faceCount(), 0u);
    for (const MeshVertex& v : m.vertices) {
      ASSERT_NEAR(D3DXVec3Length(&v.normal), 1.0f, 1e-3f);
    }
    std::size_t agreeing = 0;
    for (std::size_t f = 0; f < m.faceCount(); ++f) {
      const D3DXVECTOR3 geometric = FaceNormal(m, f);
      D3DXVECTOR3 corners(0, 0, 0);
      for (int k = 0; k < 3; ++k) corners += m.vertices[m.indices[3 * f + k]].normal;
      agreeing += D3DXVec3Dot(&geometric, &corners) > 0.0f ? 1 : 0;
    }
    EXPECT_EQ(agreeing, m.faceCount());
    EXPECT_EQ(mesh.attributeTable.size(), mesh.materialList.size());
  }
}

TEST(MeshImport, ObjQuadsAreSplitAndTheirTextureIsFoundBesideTheFile) {
  const LoadedMesh mesh = Import(KeptRig("quads.obj"));
  EXPECT_EQ(mesh.sourceMesh.faceCount(), 12u);  // six quads
  ASSERT_EQ(mesh.materialList.size(), 1u);
  EXPECT_EQ(mesh.materialList[0].textureFilename, "quads.png");
  ASSERT_TRUE(mesh.textures[0] != nullptr);
  EXPECT_EQ(mesh.textures[0]->width, 16);
  const D3DCOLORVALUE& diffuse = mesh.materialList[0].MatD3D.Diffuse;
  EXPECT_FLOAT_EQ(diffuse.r, 0.8f);
  EXPECT_FLOAT_EQ(mesh.materialList[0].MatD3D.Power, 12.0f);
  // The file's texture v runs up from the bottom; the editor's runs down from
  // the top: the corners of the top face (y = 1) with OBJ's v = 1 get v = 0.
  for (const MeshVertex& v : mesh.sourceMesh.vertices) {
    EXPECT_GE(v.v, 0.0f);
    EXPECT_LE(v.v, 1.0f);
  }
  const RigModel box = TexturedQuadBox();
  for (const MeshVertex& v : mesh.sourceMesh.vertices) {
    bool matched = false;
    for (const MeshVertex& w : box.vertices) {
      if (Distance(v.position, w.position) < 1e-5f && Distance(v.normal, w.normal) < 1e-5f) {
        matched = true;
        EXPECT_NEAR(v.u, w.u, 1e-5f);
        EXPECT_NEAR(v.v, w.v, 1e-5f);
      }
    }
    EXPECT_TRUE(matched) << v.position.x << " " << v.position.y << " " << v.position.z;
  }
}

// A texture named by a path from another machine is found beside the model.
TEST(MeshImport, TexturesWithForeignPathsAreFoundBesideTheModel) {
  TempDir folder("foreigntexture");
  fs::copy_file(KeptRig("quads.png"), folder.path("quads.png"));
  fs::copy_file(KeptRig("quads.obj"), folder.path("quads.obj"));
  folder.write("quads.mtl", "newmtl quads_material\nKd 1 1 1\nmap_Kd C:\\Users\\artist\\maps\\quads.png\n");
  const LoadedMesh mesh = Import(folder.path("quads.obj"));
  ASSERT_EQ(mesh.textures.size(), 1u);
  ASSERT_TRUE(mesh.textures[0] != nullptr);
  EXPECT_EQ(mesh.textures[0]->width, 16);
}

TEST(MeshImport, FacesWithFewerThanThreeDistinctCornersAreLeftOutAndCounted) {
  TempDir folder("degenerate");
  const std::string path = folder.write("degenerate.obj",
                                        "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 1 1 0\n"
                                        "f 1 2 3\nf 2 4 3\nf 1 2 2\nf 2 4 5\nl 1 4\n");
  ImportNotes notes;
  const LoadedMesh mesh = Import(path, &notes);
  EXPECT_EQ(mesh.sourceMesh.faceCount(), 2u);
  EXPECT_EQ(notes.droppedFaces, 3u);
  EXPECT_EQ(notes.droppedFacesText(), "3 faces with fewer than three distinct corners were left out.");
}

// A scene of one mesh with the given vertex and face counts (every face the
// first three vertices).
std::unique_ptr<aiScene> SceneOfSize(unsigned vertices, unsigned faces) {
  auto scene = std::make_unique<aiScene>();
  scene->mNumMeshes = 1;
  scene->mMeshes = new aiMesh*[1];
  auto* mesh = scene->mMeshes[0] = new aiMesh();
  mesh->mNumVertices = vertices;
  mesh->mVertices = new aiVector3D[vertices];
  for (unsigned v = 0; v < vertices; ++v) mesh->mVertices[v] = aiVector3D(static_cast<float>(v), v % 2, 0);
  mesh->mNumFaces = faces;
  mesh->mFaces = new aiFace[faces];
  for (unsigned f = 0; f < faces; ++f) {
    mesh->mFaces[f].mNumIndices = 3;
    mesh->mFaces[f].mIndices = new unsigned[3]{0, 1, 2};
  }
  scene->mRootNode = new aiNode("root");
  scene->mRootNode->mNumMeshes = 1;
  scene->mRootNode->mMeshes = new unsigned[1]{0};
  return scene;
}

TEST(MeshImport, MeshesLargerThanTheFormatsAllowAreRefusedWithBothCounts) {
  const struct {
    unsigned vertices, faces;
    const char* detail;
  } cases[] = {
      {65536, 1, "big.glb: the mesh has 65,536 vertices and 1 faces; at most 65,535 of each can be opened"},
      {3, 65536, "big.glb: the mesh has 3 vertices and 65,536 faces; at most 65,535 of each can be opened"},
  };
  for (const auto& c : cases) {
    SceneMesh out;
    const Status s = BuildSceneMesh(*SceneOfSize(c.vertices, c.faces), 1.0f, "big.glb", out);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.detail, c.detail);
  }
  SceneMesh out;
  EXPECT_TRUE(BuildSceneMesh(*SceneOfSize(65535, 65535), 1.0f, "big.glb", out));
}

TEST(MeshImport, BadFilesAreRefusedNamingTheFileAndTheModelStaysAsItWas) {
  TempDir folder("badmesh");
  const struct {
    std::string name;
    std::string bytes;  // "-" for no file at all
    std::string reason;
  } cases[] = {
      {"model.foo", "solid", "'.foo' is not a mesh format Posewright opens"},
      {"model", "solid", "the file name has no extension that names a mesh format"},
      {"missing.obj", "-", "the file cannot be opened"},
      {"broken.gltf", "{ this is no glTF", "the glTF's JSON cannot be read"},
      {"broken.glb", "glTF\x02\0\0\0garbage", "the .glb file is cut short or has no JSON chunk"},
      {"broken.dae", "<COLLADA>", "the file cannot be read as a mesh ("},
      {"lines.obj", "v 0 0 0\nv 1 0 0\nl 1 2\n", "the file holds no mesh"},
  };
  SkinnedModel model;
  ASSERT_TRUE(LoadAnyMesh(model, KeptRig("quads.obj")));
  const std::size_t vertices = model.sourceMesh.vertices.size();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.bytes == "-" ? folder.path(c.name) : folder.write(c.name, c.bytes);
    const Status s = LoadAnyMesh(model, path);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.message, "File Format Error");
    EXPECT_EQ(s.detail.rfind(c.name + ": " + c.reason, 0), 0u) << s.detail;
    EXPECT_TRUE(model.meshLoaded);
    EXPECT_EQ(model.sourceMesh.vertices.size(), vertices);
  }
}

TEST(MeshImport, FormatsListEveryAssimpExtensionAndX) {
  const std::vector<std::string> extensions = MeshFileExtensions();
  for (const char* ext : {".x", ".obj", ".gltf", ".glb", ".fbx", ".dae", ".ply", ".stl", ".3ds"}) {
    EXPECT_TRUE(std::binary_search(extensions.begin(), extensions.end(), ext)) << ext;
  }
  for (const char* own : {".dat", ".prm", ".skm", ".anm", ".bnf"}) {
    EXPECT_FALSE(IsMeshFile(std::string("a") + own)) << own;
  }
  EXPECT_TRUE(IsMeshFile("Character.GLB"));
  EXPECT_NE(MeshFilePatterns().find("*.obj *.off"), std::string::npos);
}

// FBX files state their unit (centimetres here); the model comes in metres,
// the same size as the glTF export of the same model.
TEST(MeshImport, FbxUnitsAreScaledToMetres) {
  const std::string glb = PublicRigFolder() + "/hand.glb";
  const std::string fbx = PublicRigFolder() + "/hand.fbx";
  if (!fs::exists(glb) || !fs::exists(fbx)) GTEST_SKIP() << "no public rigs in " << PublicRigFolder();
  auto bounds = [](const LoadedMesh& mesh) {
    D3DXVECTOR3 lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f);
    for (const MeshVertex& v : mesh.sourceMesh.vertices) {
      lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y), std::min(lo.z, v.position.z)};
      hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y), std::max(hi.z, v.position.z)};
    }
    return std::make_pair(lo, hi);
  };
  const auto a = bounds(Import(glb));
  const auto b = bounds(Import(fbx));
  EXPECT_LT(Distance(a.first, b.first), 1e-3f);
  EXPECT_LT(Distance(a.second, b.second), 1e-3f);
}
}  // namespace
}  // namespace posewright
