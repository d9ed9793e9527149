#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "editor/panels/WeightControlPanel.h"
#include "support/SelectionTestModel.h"

namespace posewright {

namespace {
// Widgets as plain values, with a log of the messages and visibility changes.
class FakeView : public WeightControlView {
 public:
  std::array<int, 4> boxItems{};
  std::array<int, 4> boxSelection{-1, -1, -1, -1};
  std::array<std::string, 4> edits;
  std::array<int, 4> sliders{};
  std::array<int, 4> sliderMax{};
  std::array<std::string, 4> averages;
  std::vector<std::string> messages;
  int fills = 0;
  bool shown = false;

  void setSliderRange(int slot, int minimum, int maximum, int tick) override {
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(tick, 5);
    sliderMax[static_cast<std::size_t>(slot)] = maximum;
  }
  void fillBoneIndexBox(int slot, int itemCount) override {
    boxItems[static_cast<std::size_t>(slot)] = itemCount;
    boxSelection[static_cast<std::size_t>(slot)] = 0;
    ++fills;
  }
  int boneIndexBoxSelection(int slot) const override { return boxSelection[static_cast<std::size_t>(slot)]; }
  std::string weightText(int slot) const override { return edits[static_cast<std::size_t>(slot)]; }
  void setWeightText(int slot, const std::string& text) override {
    edits[static_cast<std::size_t>(slot)] = text;
  }
  int sliderPosition(int slot) const override { return sliders[static_cast<std::size_t>(slot)]; }
  void setSliderPosition(int slot, int p) override { sliders[static_cast<std::size_t>(slot)] = p; }
  void setAverageText(int slot, const std::string& text) override {
    averages[static_cast<std::size_t>(slot)] = text;
  }
  void showMessage(std::string_view text, std::string_view caption) override {
    EXPECT_EQ(caption, "Error");
    messages.emplace_back(text);
  }
  void showPanel() override { shown = true; }
  void hidePanel() override { shown = false; }

  void set(std::array<int, 4> boxes, std::array<const char*, 4> weights) {
    boxSelection = boxes;
    for (std::size_t k = 0; k < 4; ++k) edits[k] = weights[k];
  }
};

struct WeightPanel : ::testing::Test {
  FakeView view;
  WeightControlPanel panel{view};
  SkinnedModel model = ModelWithBoneQuads({{1, 0, 0, 0}, {2, 5, 0, 0}, {5, 2, 0, 0}, {3, 0, 0, 0}});

  void SetUp() override {
    panel.onCreated();
    view.sliders = {20, 0, 0, 0};
    model.selection.selected = {1, 1, 0, 0};
    RebuildPointList(model.selection);
  }
};

TEST_F(WeightPanel, FirstEventWithSkeletonFillsBoxesOnceAndShows) {
  EXPECT_EQ(view.sliderMax, (std::array<int, 4>{20, 20, 20, 20}));
  SkinnedModel empty;
  panel.onSliderMoved(empty, 0);
  EXPECT_EQ(view.fills, 0);
  EXPECT_EQ(view.edits[0], "");  // nothing happens without a skeleton
  EXPECT_FALSE(panel.ready());

  EXPECT_TRUE(panel.prepare(model));
  EXPECT_EQ(view.boxItems, (std::array<int, 4>{6, 6, 6, 6}));
  EXPECT_EQ(view.boxSelection, (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(view.edits, (std::array<std::string, 4>{"1.0000", "0.0000", "0.0000", "0.0000"}));
  EXPECT_TRUE(view.shown);

  view.boxSelection = {3, 0, 0, 0};
  view.edits[0] = "typed";
  panel.onHide();
  EXPECT_FALSE(view.shown);
  EXPECT_TRUE(panel.prepare(model));
  EXPECT_EQ(view.fills, 4);  // not refilled for the same skeleton
  EXPECT_EQ(view.boxSelection[0], 3);
  EXPECT_EQ(view.edits[0], "typed");
  EXPECT_FALSE(view.shown);  // only the first fill shows the panel

  // A skeleton with another bone count gets fresh boxes, capped at 256 bones.
  SkinnedModel big = ModelWithBoneQuads({{1, 0, 0, 0}}, 300);
  EXPECT_TRUE(panel.prepare(big));
  EXPECT_EQ(view.boxItems[2], 256);
  EXPECT_EQ(view.boxSelection[0], 0);
}

TEST_F(WeightPanel, ApplySingleBoneNormalisesAndWritesSelectedVertices) {
  panel.prepare(model);
  view.set({3, 0, 0, 0}, {"0.33", "0", "", "0.0"});
  panel.onApply(model);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.edits, (std::array<std::string, 4>{"1.0000", "0.0000", "0.0000", "0.0000"}));
  EXPECT_EQ(view.sliders, (std::array<int, 4>{20, 0, 0, 0}));
  for (std::size_t v : {0u, 1u}) {
    EXPECT_EQ(model.skinnedMesh.vertices[v].boneIndices, 3u);
    EXPECT_EQ(model.skinnedMesh.vertices[v].blendWeights[0], 1.0f);
    EXPECT_EQ(model.skinnedMesh.vertices[v].blendWeights[1], 0.0f);
  }
  EXPECT_EQ(model.skinnedMesh.vertices[2].boneIndices, 0x0205u);
}

TEST_F(WeightPanel, ApplyTwoBonesShowsQuartersOnSliders) {
  panel.prepare(model);
  view.set({2, 5, 0, 0}, {"1", "3", "0", "0"});
  panel.onApply(model);
  EXPECT_EQ(view.edits[0], "0.2500");
  EXPECT_EQ(view.edits[1], "0.7500");
  EXPECT_EQ(view.sliders, (std::array<int, 4>{5, 15, 0, 0}));
  EXPECT_EQ(model.skinnedMesh.vertices[0].blendWeights[0], 0.25f);
  EXPECT_EQ(model.skinnedMesh.vertices[0].blendWeights[1], 0.75f);
  EXPECT_EQ(model.skinnedMesh.vertices[0].boneIndices, 0x0502u);
}

TEST_F(WeightPanel, FailedChecksShowTheirMessageAndChangeNothing) {
  panel.prepare(model);
  const SkinnedModel before = model;
  const struct {
    std::array<int, 4> boxes;
    std::array<const char*, 4> weights;
    const char* message;
  } cases[] = {
      {{0, 0, 0, 0}, {"1", "1", "0", "0"}, "インデックスが全て0になっています"},
      {{2, 2, 0, 0}, {"1", "1", "0", "0"}, "0以外の同じインデックスが存在します"},
      {{2, 0, 0, 0}, {"1", "0.5", "0", "0"}, "ウェイト値が不正です"},
      {{2, 4, 0, 0}, {"1", "-1", "0", "0"}, "ウェイト値が不正です"},
  };
  for (const auto& c : cases) {
    view.set(c.boxes, c.weights);
    view.sliders = {1, 2, 3, 4};
    view.messages.clear();
    panel.onApply(model);
    ASSERT_EQ(view.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(view.edits[1], c.weights[1]);
    EXPECT_EQ(view.sliders, (std::array<int, 4>{1, 2, 3, 4}));
  }
  view.set({0, 0, 0, 0}, {"1", "0", "0", "0"});
  view.messages.clear();
  panel.onSelect(model);
  panel.onChoose(model);
  EXPECT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(model.selection.selected, before.selection.selected);
  EXPECT_EQ(model.skinnedMesh.vertices[1].boneIndices, before.skinnedMesh.vertices[1].boneIndices);
}

TEST_F(WeightPanel, SelectAndChooseUseTheBoxes) {
  panel.prepare(model);
  view.boxSelection = {5, 2, 0, 0};
  panel.onSelect(model);
  EXPECT_EQ(model.selection.selected, (std::vector<uint8_t>{0, 1, 1, 0}));
  EXPECT_EQ(model.selection.pointList, (std::vector<uint16_t>{1, 2, 3, 0}));
  view.boxSelection = {3, 0, 0, 0};
  panel.onChoose(model);
  EXPECT_EQ(model.selection.unselectedCount, 4u);
}

TEST_F(WeightPanel, SliderMoveShowsWeightButLeavesModel) {
  panel.prepare(model);
  view.sliders[2] = 7;
  panel.onSliderMoved(model, 2);
  EXPECT_EQ(view.edits[2], "0.3500");
  EXPECT_EQ(model.skinnedMesh.vertices[0].boneIndices, 1u);
  panel.onSliderMoved(model, 9);  // no such slider: ignored
}

TEST_F(WeightPanel, ApplyWithNothingSelectedStillNormalisesTheDisplay) {
  panel.prepare(model);
  model.selection.reset(model.vertexCount());
  const auto before = model.skinnedMesh.vertices;
  view.set({1, 2, 0, 0}, {"1", "1", "0", "0"});
  panel.onApply(model);
  EXPECT_EQ(view.edits[0], "0.5000");
  EXPECT_EQ(view.sliders[1], 10);
  for (std::size_t v = 0; v < before.size(); ++v) {
    EXPECT_EQ(model.skinnedMesh.vertices[v].boneIndices, before[v].boneIndices);
  }
}
}  // namespace

TEST_F(WeightPanel, AveragesShowWhatTheSelectionHoldsPerBox) {
  // Vertices 0 and 1 are selected: bone 1 weighs 0.5 on vertex 0; bone 2
  // weighs 0.5 and bone 5 0.25 on vertex 1 (0.125 prints as 0.12).
  panel.prepare(model);
  view.boxSelection = {1, 2, 5, 0};
  panel.showAverages(model);
  EXPECT_EQ(view.averages, (std::array<std::string, 4>{"avg 0.25", "avg 0.25", "avg 0.12", ""}))
      << "box 0 names no bone";
  model.selection.reset(model.vertexCount());
  panel.showAverages(model);
  EXPECT_EQ(view.averages, (std::array<std::string, 4>{"", "", "", ""})) << "nothing selected";
}
}  // namespace posewright
