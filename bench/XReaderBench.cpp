// Load time of the generated 65,535-vertex benchmark model (64 bones, 48-face
// anchors; tube faces within the 65,535-face limit) as text and binary .x: our
// reader (parse only, and the whole LoadMesh with merge, attribute sort and
// adjacency) against Assimp's importer with no post-processing, on the same
// files in the same run.
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <filesystem>
#include <string>

#include "model/MeshLoader.h"
#include "tools/gen/ModelFiles.h"
#include "xfile/XFileParser.h"

namespace posewright {

namespace {
/// The two benchmark files, generated once per run into a scratch folder.
struct Inputs {
  std::string text;
  std::string binary;
  std::filesystem::path folder;
  Inputs() {
    folder = std::filesystem::temp_directory_path() / ("posewright-bench-" + std::to_string(getpid()));
    ModelOptions options;
    options.vertices = 65535;
    options.bones = 64;
    options.anchorFaces = 48;
    ModelFiles files;
    options.name = "text";
    if (GenerateModelFiles(options, folder.string(), nullptr, &files).ok) text = files.x;
    options.name = "binary";
    options.binary = true;
    if (GenerateModelFiles(options, folder.string(), nullptr, &files).ok) binary = files.x;
  }
  ~Inputs() { std::filesystem::remove_all(folder); }
};

const Inputs& Files() {
  static const Inputs inputs;
  return inputs;
}

const std::string& FileOf(int which) {
  return which == 0 ? Files().text : Files().binary;
}

void BM_XLoad_Ours(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SkinnedModel model;
    const Status s = LoadMesh(model, path);
    if (!s.ok || model.sourceMesh.vertices.size() != 65535) {
      state.SkipWithError(("LoadMesh failed: " + s.describe()).c_str());
      break;
    }
    benchmark::DoNotOptimize(model.adjacency.data());
  }
}

void BM_XParse_Ours(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    XFileDocument doc;
    if (!ReadXFile(path, doc).ok) {
      state.SkipWithError("ReadXFile failed");
      break;
    }
    benchmark::DoNotOptimize(doc.meshes.data());
  }
}

void BM_XLoad_Assimp(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (scene == nullptr || scene->mNumMeshes == 0) {
      state.SkipWithError(("Assimp failed: " + std::string(importer.GetErrorString())).c_str());
      break;
    }
    benchmark::DoNotOptimize(scene);
  }
}

BENCHMARK(BM_XLoad_Ours)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XParse_Ours)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XLoad_Assimp)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
}  // namespace
}  // namespace posewright
