// Generating the large benchmark model (65,535 vertices, 64 bones, 48-face
// anchors): building it in memory (the baseline), and building plus writing
// its files as text and as binary .x.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "tools/gen/ModelFiles.h"

namespace posewright {

namespace {
ModelOptions LargeModel() {
  ModelOptions o;
  o.vertices = 65535;
  o.bones = 64;
  o.anchorFaces = 48;
  o.keys = 10;
  return o;
}

void BM_BuildModelInMemory(benchmark::State& state) {
  const ModelOptions o = LargeModel();
  for (auto _ : state) {
    GeneratedModel m = BuildModel(o);
    benchmark::DoNotOptimize(m.mesh.vertices.data());
  }
}
BENCHMARK(BM_BuildModelInMemory)->Unit(benchmark::kMillisecond);

void BM_GenerateModelFiles(benchmark::State& state) {
  ModelOptions o = LargeModel();
  o.binary = state.range(0) == 1;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pw_bench_gen_" + std::to_string(::getpid()));
  for (auto _ : state) {
    if (!GenerateModelFiles(o, folder.string())) {
      state.SkipWithError("generation failed");
      break;
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GenerateModelFiles)->Arg(0)->Arg(1)->ArgNames({"binary"})->Unit(benchmark::kMillisecond);
}  // namespace
}  // namespace posewright
