// ComputePose cost per call for 256 bones, as a chain (each bone the child of
// the previous) and as a bushy tree (each bone the child of bone (i−1)/4).
#include <benchmark/benchmark.h>

#include <cmath>

#include "skeleton/Skeleton.h"

namespace posewright {

namespace {
Skeleton MakeSkeleton(int count, bool chain) {
  Skeleton s;
  for (int i = 0; i < count; ++i) {
    Bone b;
    b.name = "B" + std::to_string(i);
    b.parentId = i == 0 ? 0 : (chain ? i - 1 : (i - 1) / 4);
    b.begin = D3DXVECTOR3(static_cast<float>(i) * 0.1f, std::sin(static_cast<float>(i)), 0.0f);
    b.end = b.begin + D3DXVECTOR3(0, 0, 1);
    const D3DXVECTOR3 axis(1.0f, static_cast<float>(i % 7), 0.5f);
    D3DXQUATERNION pose;
    D3DXQuaternionRotationAxis(&pose, &axis, 0.01f * static_cast<float>(i));
    SetBonePose(b, pose);
    s.bones.push_back(b);
  }
  s.resizePerBoneArrays();
  return s;
}

void BM_ComputePose(benchmark::State& state) {
  Skeleton s = MakeSkeleton(256, state.range(0) == 0);
  for (auto _ : state) {
    ComputePose(s);
    benchmark::DoNotOptimize(s.skinMatrices.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(BM_ComputePose)->Arg(0)->Arg(1)->ArgNames({"bushy"});
}  // namespace
}  // namespace posewright
