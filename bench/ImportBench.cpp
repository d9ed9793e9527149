// The rigged model import on the generated 65,535-vertex, 64-bone benchmark
// model, bound with its anchors and written as binary glTF: Assimp's own
// import of the file (with the import's post-processing), against the anchor
// generation for the skeleton and weights it brings (goal: at most 200 ms),
// the reach fitting and the whole import, in the same run. The anchor
// generation also reports how many anchors hold each vertex and on how many
// vertices the automatic weights from its anchors keep the file's heaviest bone.
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <filesystem>
#include <string>

#include "importer/AssimpReader.h"
#include "importer/ModelImport.h"
#include "importer/WeightAgreement.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "tools/gen/ModelFiles.h"
#include "tools/gen/RigExport.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
/// The rigged file and what the import reads from it, made once per run.
struct RiggedInput {
  std::filesystem::path folder;
  std::string file;
  RiggedImport import;
  std::vector<D3DXVECTOR3> positions;
  WeightAgreement agreement;
  std::string error;

  RiggedInput() {
    folder = std::filesystem::temp_directory_path() / ("posewright-import-bench-" + std::to_string(getpid()));
    ModelOptions options;
    options.vertices = 65535;
    options.bones = 64;
    options.anchorFaces = 48;
    ModelFiles files;
    SkinnedModel model;
    Status s = GenerateModelFiles(options, folder.string(), nullptr, &files);
    if (s) s = LoadMesh(model, files.x);
    if (s) s = LoadBoneData(model, files.boneData);
    if (s) {
      ComputeBlendWeights(model);
      file = (folder / "rigged.glb").string();
      s = ExportRigModel(RigModelOf(model, "rigged"), "glb2", file);
    }
    if (s) s = ImportRiggedModel(file, import);
    if (!s) error = s.describe();
    positions = PositionsOf(import.mesh.sourceMesh);
    if (s) {
      SkinnedModel installed;
      RiggedImport copy = import;
      InstallRiggedImport(installed, std::move(copy));
      agreement = MeasureWeightAgreement(installed, import.rig.influences);
    }
  }
  ~RiggedInput() { std::filesystem::remove_all(folder); }
};

const RiggedInput& Input() {
  static const RiggedInput input;
  return input;
}

void BM_RiggedFile_AssimpImport(benchmark::State& state) {
  const RiggedInput& in = Input();
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(in.file, AssimpImportFlags());
    if (scene == nullptr) {
      state.SkipWithError(("Assimp failed: " + std::string(importer.GetErrorString())).c_str());
      break;
    }
    benchmark::DoNotOptimize(scene->mMeshes);
  }
}

void BM_AnchorGeneration(benchmark::State& state) {
  const RiggedInput& in = Input();
  if (!in.error.empty()) {
    state.SkipWithError(in.error.c_str());
    return;
  }
  for (auto _ : state) {
    Skeleton skeleton = in.import.rig.skeleton;
    GenerateAnchors(skeleton, in.positions, in.import.rig.influences);
    benchmark::DoNotOptimize(skeleton.anchors.data());
  }
  state.counters["vertices"] = static_cast<double>(in.positions.size());
  state.counters["bones"] = in.import.rig.skeleton.boneCount();
  state.counters["same_heaviest_%"] = 100.0 * in.agreement.share();
  state.counters["anchors_min"] = in.agreement.coverage.fewest;
  state.counters["anchors_max"] = in.agreement.coverage.most;
}

void BM_ReachFitting(benchmark::State& state) {
  const RiggedInput& in = Input();
  for (auto _ : state) {
    Skeleton skeleton = in.import.rig.skeleton;
    FitBlendingParameters(skeleton, in.positions, in.import.rig.influences);
    benchmark::DoNotOptimize(skeleton.blendParams.data());
  }
}

void BM_RiggedImport_Whole(benchmark::State& state) {
  const RiggedInput& in = Input();
  for (auto _ : state) {
    RiggedImport import;
    if (!ImportRiggedModel(in.file, import)) {
      state.SkipWithError("the import failed");
      break;
    }
    benchmark::DoNotOptimize(import.rig.skeleton.anchors.data());
  }
}
}  // namespace

BENCHMARK(BM_RiggedFile_AssimpImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnchorGeneration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReachFitting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RiggedImport_Whole)->Unit(benchmark::kMillisecond);
}  // namespace posewright
