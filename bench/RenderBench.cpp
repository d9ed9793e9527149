// Rubber-band selection and frame drawing on the largest model the editor
// holds: 65,535 vertices on a 255 × 257 sheet (130,048 triangles), each with
// four influences among a chain of 256 posed bones.
//
// BM_SelectInRect runs the whole selection (projection of every vertex
// through the palette, flags, point list); its baseline BM_ProjectRigid
// projects the same vertices by view × projection alone, without skinning.
// BM_OffscreenFrame draws whole frames at the editor's 800 × 581 on the
// offscreen OpenGL host; its baseline (arg 0) is a frame that only clears
// and presents.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "render/Camera.h"
#include "render/RectangleSelection.h"
#include "render/RecordingDevice.h"
#include "render/SceneRenderer.h"
#include "render/VertexProcessor.h"
#include "model/SkinnedModel.h"
#ifdef POSEWRIGHT_HAVE_GL
#include "gl/OffscreenViewport.h"
#endif

namespace {
constexpr int kColumns = 255;
constexpr int kRows = 257;
constexpr int kBones = 256;

SkinnedModel& BigModel() {
  static SkinnedModel model = [] {
    SkinnedModel m;
    Skeleton& s = m.skeleton;
    // A chain of bones across the sheet, each turned a little about Z, so the
    // sheet bends smoothly as a skinned limb does.
    for (int i = 0; i < kBones; ++i) {
      Bone b;
      b.name = "B" + std::to_string(i);
      b.parentId = i == 0 ? 0 : i - 1;
      b.symmetricId = i;
      b.begin = D3DXVECTOR3(-3.0f + 6.0f * static_cast<float>(i) / (kBones - 1), 0.0f, 0.0f);
      b.end = b.begin + D3DXVECTOR3(6.0f / (kBones - 1), 0.0f, 0.0f);
      ResetBonePose(b);
      const D3DXVECTOR3 axis(0.0f, 0.2f, 1.0f);
      D3DXQUATERNION pose;
      D3DXQuaternionRotationAxis(&pose, &axis, 0.002f);
      SetBonePose(b, pose);
      s.bones.push_back(b);
    }
    s.resizePerBoneArrays();
    s.bonesLoaded = true;
    auto& mesh = m.skinnedMesh;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        SkinVertex v;
        v.position = D3DXVECTOR3(-3.0f + 6.0f * static_cast<float>(c) / (kColumns - 1),
                                 -2.0f + 4.0f * static_cast<float>(r) / (kRows - 1), 0.0f);
        // The four bones nearest along the sheet, the nearest weighing most.
        const int nearest = std::min(kBones - 3, std::max(1, c * (kBones - 1) / (kColumns - 1)));
        v.setBoneIndex(0, static_cast<uint8_t>(nearest));
        v.setBoneIndex(1, static_cast<uint8_t>(nearest - 1));
        v.setBoneIndex(2, static_cast<uint8_t>(nearest + 1));
        v.setBoneIndex(3, static_cast<uint8_t>(nearest + 2));
        v.blendWeights[0] = 0.5f;
        v.blendWeights[1] = 0.2f;
        v.blendWeights[2] = 0.2f;
        v.normal = D3DXVECTOR3(0, 0, -1);
        mesh.vertices.push_back(v);
      }
    }
    for (int r = 0; r + 1 < kRows; ++r) {
      for (int c = 0; c + 1 < kColumns; ++c) {
        const auto a = static_cast<uint16_t>(r * kColumns + c);
        const auto b = static_cast<uint16_t>(a + 1);
        const auto d = static_cast<uint16_t>(a + kColumns);
        const auto e = static_cast<uint16_t>(d + 1);
        for (uint16_t i : {a, b, e, a, e, d}) {
          mesh.indices.push_back(i);
        }
        mesh.faceAttributes.push_back(0);
        mesh.faceAttributes.push_back(0);
      }
    }
    D3DXMATERIAL material;
    material.MatD3D.Diffuse = {0.8f, 0.6f, 0.4f, 1.0f};
    material.MatD3D.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
    m.materialList = {material};
    m.materials = {material.MatD3D};
    m.attributeTable = {{0, 0, static_cast<uint32_t>(mesh.faceCount()), 0, static_cast<uint32_t>(mesh.vertices.size())}};
    m.textures.resize(1);
    m.pointVertices = mesh.vertices;
    m.selection.reset(mesh.vertices.size());
    m.meshLoaded = true;
    return m;
  }();
  return model;
}

Camera FrontCamera() {
  Camera camera;
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
  return camera;
}

// The registers of a drawn frame (posed palette, camera).
const RegisterFile& FrameRegisters() {
  static const RegisterFile registers = [] {
    RecordingDevice device;
    RenderResources resources;
    SceneRenderer renderer(device, resources);
    RectSelectionRequest none;
    renderer.drawScene(BigModel(), FrontCamera(), 0, false, none);
    return renderer.registers();
  }();
  return registers;
}

void BM_SelectInRect(benchmark::State& state) {
  SkinnedModel& model = BigModel();
  const RegisterFile& registers = FrameRegisters();
  for (auto _ : state) {
    selectInRect(model, registers, 800, 581, {200, 150}, {600, 450}, false, false);
    benchmark::DoNotOptimize(model.selection.pointList.data());
  }
  state.counters["selected"] = static_cast<double>(model.selection.selectedCount());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(model.vertexCount()));
}
BENCHMARK(BM_SelectInRect)->Unit(benchmark::kMillisecond);

void BM_ProjectRigid(benchmark::State& state) {
  const SkinnedModel& model = BigModel();
  const RegisterFile& registers = FrameRegisters();
  const D3DXMATRIX vp = registers.matrix(kRegViewProjection);
  std::vector<ScreenPosition> out(model.vertexCount());
  for (auto _ : state) {
    for (std::size_t i = 0; i < out.size(); ++i) {
      D3DXVECTOR4 clip;
      D3DXVec3Transform(&clip, &model.skinnedMesh.vertices[i].position, &vp);
      out[i] = ClipToScreen(clip, 800, 581);
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(model.vertexCount()));
}
BENCHMARK(BM_ProjectRigid)->Unit(benchmark::kMillisecond);

#ifdef POSEWRIGHT_HAVE_GL
double ProcessCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Arg 0: clear and present only; 1: the whole frame, solid mesh; 2: the
// whole frame with every vertex drawn as a point.
void BM_OffscreenFrame(benchmark::State& state) {
  std::string why;
  static std::unique_ptr<OffscreenViewport> viewport =
      OffscreenViewport::Create(OffscreenViewport::kEditorWidth, OffscreenViewport::kEditorHeight, &why);
  if (!viewport) {
    state.SkipWithError(("no offscreen OpenGL: " + why).c_str());
    return;
  }
  SkinnedModel& model = BigModel();
  const Camera camera = FrontCamera();
  FrameOptions options;
  options.vertexMode = state.range(0) == 2;
  SkinnedModel empty;
  SkinnedModel& drawn = state.range(0) == 0 ? empty : model;
  empty.meshLoaded = true;
  empty.skeleton.bonesLoaded = true;
  viewport->drawFrame(drawn, camera, options);  // uploads the model once
  viewport->finish();
  const double cpuBefore = ProcessCpuMilliseconds();
  for (auto _ : state) {
    viewport->drawFrame(drawn, camera, options);
    viewport->finish();
  }
  // CPU time of every thread (the rasterizer's included) per frame: what a
  // frame costs when the machine has cores to spare, unlike the wall time on a
  // loaded machine.
  state.counters["cpu_ms_per_frame"] =
      (ProcessCpuMilliseconds() - cpuBefore) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(viewport->host().renderer());
}
BENCHMARK(BM_OffscreenFrame)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"scene"})->Unit(benchmark::kMillisecond)->UseRealTime();
#endif
}  // namespace
