// Rubber-band selection and frame drawing on the largest model the editor
// holds: 65,535 vertices on a 255 × 257 sheet (130,048 triangles), each with
// four influences among a chain of 256 posed bones.
//
// BM_SelectInRect runs the whole selection (projection of every vertex
// through the palette, flags, point list); its baseline BM_ProjectRigid
// projects the same vertices by view × projection alone, without skinning.
// BM_OffscreenFrame draws whole frames at the editor's 800 × 581 on the
// offscreen OpenGL host; its baselines are a frame that only clears and
// presents (arg 0) and the floor (arg 3): the same triangles drawn with a
// pass-through program (one matrix, one colour), what any frame of this mesh
// costs on the device.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "model/SkinnedModel.h"
#include "render/Camera.h"
#include "render/RecordingDevice.h"
#include "render/RectangleSelection.h"
#include "render/SceneRenderer.h"
#include "render/VertexProcessor.h"
#ifdef POSEWRIGHT_HAVE_GL
#include "gl/GlProgram.h"
#include "gl/OffscreenViewport.h"
#endif

namespace posewright {

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
    m.attributeTable = {
        {0, 0, static_cast<uint32_t>(mesh.faceCount()), 0, static_cast<uint32_t>(mesh.vertices.size())}};
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

// The floor: the model's triangles, positions only, through a program that
// transforms by view × projection and writes one colour.
class FloorPass {
 public:
  bool build(const SkinnedModel& model, const Camera& camera, std::string* why) {
    const char* vertex = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 viewProjection;
void main() {
  vec4 clip = viewProjection * vec4(position, 1.0);
  gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
})";
    const char* fragment = R"(#version 330 core
out vec4 colour;
void main() { colour = vec4(0.8, 0.6, 0.4, 1.0); })";
    if (!program_.build(vertex, fragment)) {
      *why = program_.error();
      return false;
    }
    std::vector<float> positions;
    for (const SkinVertex& v : model.skinnedMesh.vertices) {
      positions.insert(positions.end(), {v.position.x, v.position.y, v.position.z});
    }
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(2, buffers_);
    glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(float)), positions.data(),
                 GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[1]);
    const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)),
                 indices.data(), GL_STATIC_DRAW);
    indexCount_ = static_cast<GLsizei>(indices.size());
    glBindVertexArray(0);
    // Row vectors times row-major matrices: GLSL's column-major reading of the
    // same floats gives the same product.
    D3DXMatrixMultiply(&viewProjection_, &camera.view, &camera.projection);
    return true;
  }
  void draw(int width, int height) {
    // Whatever state the scene's frames left: filled triangles, no blending.
    glViewport(0, 0, width, height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glUseProgram(program_.id());
    glUniformMatrix4fv(program_.uniform("viewProjection"), 1, GL_FALSE, &viewProjection_._11);
    glBindVertexArray(vao_);
    glDrawElements(GL_TRIANGLES, indexCount_, GL_UNSIGNED_SHORT, nullptr);
    glBindVertexArray(0);
  }

 private:
  GlProgram program_;
  GLuint vao_ = 0;
  GLuint buffers_[2] = {0, 0};
  GLsizei indexCount_ = 0;
  D3DXMATRIX viewProjection_;
};

// Arg 0: clear and present only; 1: the whole frame, solid mesh; 2: the
// whole frame with every vertex drawn as a point; 3: the floor (FloorPass).
void BM_OffscreenFrame(benchmark::State& state) {
  static std::unique_ptr<OffscreenViewport> viewport;
  static const Status created =
      OffscreenViewport::Create(OffscreenViewport::kEditorWidth, OffscreenViewport::kEditorHeight, viewport);
  if (!created) {
    state.SkipWithError(created.describe().c_str());
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
  static FloorPass floor;
  static bool floorBuilt = false;
  const bool floorPass = state.range(0) == 3;
  if (floorPass && !floorBuilt) {
    viewport->host().makeCurrent();
    std::string why;
    if (!floor.build(model, camera, &why)) {
      state.SkipWithError(("the floor program: " + why).c_str());
      return;
    }
    floorBuilt = true;
  }
  auto frame = [&] {
    if (floorPass) {
      viewport->host().makeCurrent();
      floor.draw(viewport->width(), viewport->height());
    } else {
      viewport->drawFrame(drawn, camera, options);
    }
    viewport->finish();
  };
  frame();  // uploads the model once
  const double cpuBefore = ProcessCpuMilliseconds();
  for (auto _ : state) {
    frame();
  }
  // CPU time of every thread (the rasterizer's included) per frame: what a
  // frame costs when the machine has cores to spare, unlike the wall time on a
  // loaded machine.
  state.counters["cpu_ms_per_frame"] =
      (ProcessCpuMilliseconds() - cpuBefore) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(viewport->host().renderer());
}
BENCHMARK(BM_OffscreenFrame)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->ArgNames({"scene"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif
}  // namespace
}  // namespace posewright
