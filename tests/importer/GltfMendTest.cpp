#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "ImportTestSupport.h"
#include "importer/AssimpReader.h"
#include "importer/GltfMend.h"
#include "tools/gen/RigExport.h"
#include "tools/gen/RigModels.h"

namespace posewright {

namespace {
using namespace import_test;
using Json = nlohmann::json;

// The bent tube written as a .gltf with its buffer beside it, and its JSON.
struct TubeGltf {
  TempDir folder{"gltfmend"};
  std::string path = folder.path("tube.gltf");
  Json doc;

  TubeGltf() {
    EXPECT_TRUE(ExportRigModel(BentTubeRig(), "gltf2", path));
    doc = Json::parse(*ReadFileBytes(path));
  }
  void write(const Json& changed) const { std::ofstream(path, std::ios::binary) << changed.dump(); }
};

std::string DeeplyNested(int depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

TEST(GltfMend, SkinsWithoutInverseBindMatricesReadAsIdentity) {
  TubeGltf tube;
  Json bare = tube.doc;
  for (Json& skin : bare["skins"]) skin.erase("inverseBindMatrices");
  tube.write(bare);

  // From disk (the buffer is still found beside the file) and from memory.
  RiggedImport fromDisk;
  const Status s = ImportRiggedModel(tube.path, fromDisk);
  ASSERT_TRUE(s) << s.detail;
  EXPECT_EQ(fromDisk.rig.skeleton.boneCount(), 4);
  std::string mended;
  bool changed = false;
  ASSERT_TRUE(MendGltfForAssimp(bare.dump(), "tube.gltf", mended, changed));
  ASSERT_TRUE(changed);
  const Json back = Json::parse(mended);
  const Json& accessor = back["accessors"][back["skins"][0]["inverseBindMatrices"].get<std::size_t>()];
  EXPECT_EQ(accessor["type"], "MAT4");
  EXPECT_EQ(accessor["count"], back["skins"][0]["joints"].size());

  // A file that needs nothing is read as it is.
  ASSERT_TRUE(MendGltfForAssimp(tube.doc.dump(), "tube.gltf", mended, changed));
  EXPECT_FALSE(changed);
}

TEST(GltfMend, SkinsThatCannotBeReadAreRefusedWithTheReason) {
  TubeGltf tube;
  const std::size_t positions = tube.doc["meshes"][0]["primitives"][0]["attributes"]["POSITION"];
  const struct {
    const char* what;
    std::function<void(Json&)> change;
    const char* reason;
  } cases[] = {
      {"no joints", [](Json& d) { d["skins"][0]["joints"] = Json::array(); }, "skin 0 names no joints"},
      {"joint not a node", [](Json& d) { d["skins"][0]["joints"][0] = 999; },
       "names a joint that is not a node"},
      {"joint a string", [](Json& d) { d["skins"][0]["joints"][0] = "a"; },
       "names a joint that is not a node"},
      {"matrices out of range", [](Json& d) { d["skins"][0]["inverseBindMatrices"] = 999; },
       "are not an accessor"},
      {"matrices are positions", [&](Json& d) { d["skins"][0]["inverseBindMatrices"] = positions; },
       "fewer float 4x4 inverse bind matrices than joints"},
      {"too few matrices", [](Json& d) { d["skins"][0]["joints"].push_back(0); },
       "fewer float 4x4 inverse bind matrices than joints"},
      {"skins an object", [](Json& d) { d["skins"] = Json::object(); }, "skins are not a list"},
      {"nodes an object", [](Json& d) { d["nodes"] = Json::object(); }, "nodes are not a list"},
      {"deep nesting", [](Json& d) { d["extras"] = Json::parse(DeeplyNested(80)); }, "nests too deeply"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Json changed = tube.doc;
    c.change(changed);
    tube.write(changed);
    RiggedImport out;
    const Status s = ImportRiggedModel(tube.path, out);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.detail.rfind("tube.gltf: ", 0), 0u) << s.detail;
    EXPECT_NE(s.detail.find(c.reason), std::string::npos) << s.detail;
  }
}

// Files found by fuzzing that crashed the import inside Assimp (a skin that
// lost its inverse bind matrices, an indexed line loop) are now read, from
// memory and from disk: the first opens, the second holds only lines and is
// refused for that.
TEST(GltfMend, TheKeptCrashFilesAreRead) {
  const fs::path corpus = fs::path(POSEWRIGHT_SOURCE_DIR) / "fuzz" / "corpus" / "gltfimport";
  TempDir folder("gltfcrash");
  const std::pair<const char*, bool> files[] = {{"assimp-skin-without-matrices.glb", true},
                                                {"assimp-indexed-line-loop.glb", false}};
  for (const auto& [name, opens] : files) {
    SCOPED_TRACE(name);
    const std::optional<std::string> bytes = ReadFileBytes((corpus / name).string());
    ASSERT_TRUE(bytes);
    AssimpScene scene;
    EXPECT_EQ(static_cast<bool>(ReadAssimpSceneFromMemory(*bytes, "glb", name, scene)), opens);
    ASSERT_TRUE(WriteFileAtomically(folder.path(name), *bytes));
    RiggedImport out;
    const Status s = ImportRiggedModel(folder.path(name), out);
    EXPECT_EQ(static_cast<bool>(s), opens) << s.detail;
    if (!opens) {
      EXPECT_NE(s.detail.find("has no faces"), std::string::npos) << s.detail;
    }
  }
}

TEST(GltfMend, LineLoopsAreReadAsStrips) {
  const Json loop =
      Json::parse(R"({"asset":{"version":"2.0"},"meshes":[{"primitives":[{"mode":2},{"mode":4}]}]})");
  std::string mended;
  bool changed = false;
  ASSERT_TRUE(MendGltfForAssimp(loop.dump(), "loop.gltf", mended, changed));
  ASSERT_TRUE(changed);
  const Json back = Json::parse(mended);
  EXPECT_EQ(back["meshes"][0]["primitives"][0]["mode"], 3);
  EXPECT_EQ(back["meshes"][0]["primitives"][1]["mode"], 4);
}

TEST(Base64, EncodesTheStandardVectors) {
  const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"}};
  for (const auto& [in, out] : vectors) EXPECT_EQ(Base64(in), out);
}
}  // namespace
}  // namespace posewright
