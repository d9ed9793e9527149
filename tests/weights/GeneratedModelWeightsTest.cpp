// The weight computation on the generator's models, including its adversarial
// variants: vertices exactly on anchor faces and border boxes, vertices in no
// anchor, and a hub inside six anchors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ReferenceWeights.h"
#include "model/MeshLoader.h"
#include "tools/gen/ParamModel.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
struct Bound {
  GeneratedModel generated;
  SkinnedModel model;
};

Bound Bind(const ModelOptions& o) {
  Bound b;
  b.generated = BuildModel(o);
  b.model.sourceMesh.vertices = b.generated.mesh.vertices;
  b.model.meshLoaded = true;
  BindMesh(b.model);
  b.model.skeleton = b.generated.skeleton;
  return b;
}

std::size_t CountKind(const GeneratedModel& g, VertexKind kind) {
  return static_cast<std::size_t>(std::count(g.kinds.begin(), g.kinds.end(), kind));
}

TEST(GeneratedModelWeights, AgreeWithTheStepByStepComputationOnEveryVariant) {
  struct Case {
    const char* variant;
    int faces;
  };
  for (const Case c : {Case{"plain", 48}, Case{"on-faces", 12}, Case{"on-faces", 4}, Case{"outside", 6},
                       Case{"crowded", 32}}) {
    SCOPED_TRACE(std::string(c.variant) + ", " + std::to_string(c.faces) + " faces");
    ModelOptions o;
    o.vertices = 1500;
    o.bones = 12;
    o.anchorFaces = c.faces;
    ASSERT_TRUE(ApplyModelVariant(o, c.variant));
    Bound b = Bind(o);
    const std::vector<SkinVertex> before = b.model.skinnedMesh.vertices;
    const BlendWeightCounts counts = ComputeBlendWeights(b.model, 2);
    for (std::size_t i = 0; i < before.size(); ++i) {
      const SkinVertex expected = ReferenceWeights(b.model.skeleton, before[i]);
      ASSERT_EQ(std::memcmp(&expected, &b.model.skinnedMesh.vertices[i], sizeof(SkinVertex)), 0)
          << "vertex " << i;
    }
    if (o.outside) {
      EXPECT_GE(counts.verticesInNoAnchor, CountKind(b.generated, VertexKind::Outside));
      EXPECT_GT(counts.verticesInNoAnchor, 0u);
    }
    if (o.crowded) {
      EXPECT_GE(counts.verticesInMoreThanFourAnchors, CountKind(b.generated, VertexKind::Crowded));
    }
    if (!o.outside && !o.onFaces && !o.crowded) {
      EXPECT_EQ(counts.verticesInNoAnchor, 0u);
    }
  }
}
}  // namespace
}  // namespace posewright
