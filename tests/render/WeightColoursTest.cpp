// The weight view on the CPU twin of the skinning program: the ramp, and the
// colours of a two-bone tube's vertices for each bone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/RecordingDevice.h"
#include "render/SceneRenderer.h"
#include "render/VertexProcessor.h"
#include "render/WeightColours.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"
#include "support/TwoBoneTube.h"

namespace posewright {

namespace {
RegisterFile WeightRegisters(float bone) {
  RegisterFile c;
  c[kRegConstants] = kShaderConstants;
  c.setMatrix(kRegViewProjection, Identity());
  for (uint32_t k = 0; k < kPaletteEntries; ++k) {
    c.setMatrix(PaletteRegister(k), Identity());
  }
  c[kRegWeightBone] = D3DXVECTOR4(bone, 0, 0, 0);
  return c;
}

void ExpectColour(const D3DXVECTOR4& actual, const D3DXVECTOR4& expected, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6f) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-6f) << what;
  EXPECT_NEAR(actual.z, expected.z, 1e-6f) << what;
}

TEST(WeightColours, RampRunsBlueGreenRedAndClamps) {
  const struct {
    float weight;
    D3DXVECTOR4 colour;
  } cases[] = {{0.0f, {0, 0, 1, 1}}, {0.25f, {0, 0.5f, 0.5f, 1}},
               {0.5f, {0, 1, 0, 1}}, {0.75f, {0.5f, 0.5f, 0, 1}},
               {1.0f, {1, 0, 0, 1}}, {-0.3f, {0, 0, 1, 1}},
               {1.7f, {1, 0, 0, 1}}, {std::numeric_limits<float>::quiet_NaN(), {0, 0, 1, 1}}};
  for (const auto& c : cases) {
    ExpectColour(WeightRampColour(c.weight), c.colour, "weight " + std::to_string(c.weight));
  }
}

TEST(WeightColours, TubeVerticesTakeTheirBonesWeightColour) {
  // Bone 1 fades out along the tube, bone 2 in; the empty slots name the
  // root (weight 0 here); bone 3 is in no slot.
  const struct {
    int bone;
    int ring;
    D3DXVECTOR4 colour;
  } cases[] = {{1, 0, {1, 0, 0, 1}},          {1, 1, {0.5f, 0.5f, 0, 1}}, {1, 2, {0, 1, 0, 1}},
               {1, 4, {0, 0, 1, 1}},          {2, 0, {0, 0, 1, 1}},       {2, 3, {0.5f, 0.5f, 0, 1}},
               {2, 4, {1, 0, 0, 1}},          {0, 2, {0, 0, 1, 1}},       {3, 2, kUnboundWeightColour},
               {255, 1, kUnboundWeightColour}};
  for (const auto& c : cases) {
    const RegisterFile registers = WeightRegisters(static_cast<float>(c.bone));
    for (int side = 0; side < tube::kSides; side += 3) {
      const SkinVertex v = tube::TubeVertex(c.ring, side);
      const ProcessedVertex weighted = ProcessVertex(v, registers, VertexColouring::BoneWeight);
      ExpectColour(weighted.color, c.colour,
                   "bone " + std::to_string(c.bone) + " ring " + std::to_string(c.ring));
      EXPECT_EQ(weighted.clip, ProcessVertex(v, registers).clip) << "placed as the lit program places it";
    }
  }
}

TEST(WeightColours, WeightViewColoursOnlyTheMeshBySelectedBone) {
  RecordingDevice device;
  RenderResources resources;
  SkinnedModel model;
  model.skinnedMesh.vertices = tube::TubeVertices();
  model.skinnedMesh.indices = tube::TubeIndices();
  fixtures::Finish(model, {fixtures::Material(1, 1, 1)}, fixtures::ChainSkeleton(3));
  Camera camera;
  refreshCamera(camera, 0, 0, 0);
  RectSelectionRequest request;
  FrameOptions options;
  options.selectedBone = 2;
  options.weightView = true;
  SceneRenderer(device, resources).drawFrame(model, camera, options, request);

  ASSERT_FALSE(device.draws.empty());
  const RecordedDraw& mesh = device.draws.front();
  EXPECT_TRUE(mesh.weightShader);
  EXPECT_EQ(mesh.registers[kRegWeightBone].x, 2.0f);
  EXPECT_EQ(mesh.texture, 0u);
  EXPECT_EQ(mesh.primitiveCount, model.skinnedMesh.faceCount()) << "every face in one draw";
  for (std::size_t i = 1; i < device.draws.size(); ++i) {
    EXPECT_FALSE(device.draws[i].weightShader) << "draw " << i << ": bones, ring and overlays stay lit";
  }
}
}  // namespace
}  // namespace posewright
