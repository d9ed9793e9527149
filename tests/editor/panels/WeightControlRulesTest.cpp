#include <gtest/gtest.h>

#include <cmath>

#include "editor/panels/WeightControlRules.h"

namespace posewright {

namespace {
TEST(CheckBoneIndices, AllZeroIsCheckedBeforeDuplicates) {
  EXPECT_EQ(CheckBoneIndices({0, 0, 0, 0}), std::string("インデックスが全て0になっています"));
  EXPECT_EQ(CheckBoneIndices({2, 2, 0, 0}), std::string("0以外の同じインデックスが存在します"));
  EXPECT_EQ(CheckBoneIndices({1, 0, 0, 1}), std::string("0以外の同じインデックスが存在します"));
  EXPECT_EQ(CheckBoneIndices({3, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(CheckBoneIndices({1, 2, 3, 4}), std::nullopt);
}

TEST(NormaliseWeights, DividesBySumAndKeepsEmptySlotsZero) {
  WeightQuad w{1.0f, 3.0f, 0.0f, 0.0f};
  EXPECT_EQ(NormaliseWeights({2, 5, 0, 0}, w), std::nullopt);
  EXPECT_EQ(w, (WeightQuad{0.25f, 0.75f, 0.0f, 0.0f}));

  w = {0.33f, 0.0f, 0.0f, 0.0f};
  EXPECT_EQ(NormaliseWeights({7, 0, 0, 0}, w), std::nullopt);
  EXPECT_EQ(w[0], 1.0f);

  // Negative entries are allowed as long as the sum is not 0.
  w = {2.0f, -1.0f, 0.0f, -0.0f};
  EXPECT_EQ(NormaliseWeights({1, 2, 0, 0}, w), std::nullopt);
  EXPECT_EQ(w, (WeightQuad{2.0f, -1.0f, 0.0f, 0.0f}));
  EXPECT_FALSE(std::signbit(w[3]));
}

TEST(NormaliseWeights, MismatchZeroSumAndOverflowAreInvalid) {
  const std::string invalid = "ウェイト値が不正です";
  const WeightQuad cases[] = {
      {0.0f, 0.5f, 0.0f, 0.0f},    // weight on an empty slot
      {0.0f, 0.0f, 0.0f, 0.0f},    // no weight on a bone
      {1.0f, -1.0f, 0.0f, 0.0f},   // sums to 0
      {3e38f, 3e38f, 0.0f, 0.0f},  // sum overflows
  };
  const BoneIndexQuad indices[] = {{2, 0, 0, 0}, {2, 0, 0, 0}, {1, 2, 0, 0}, {1, 2, 0, 0}};
  for (std::size_t c = 0; c < 4; ++c) {
    WeightQuad w = cases[c];
    EXPECT_EQ(NormaliseWeights(indices[c], w), invalid) << "case " << c;
    EXPECT_EQ(w, cases[c]) << "weights must stay as typed";
  }
}

TEST(WeightText, ParsingFormattingAndSliderPositions) {
  EXPECT_EQ(ParseWeightText("0.25"), 0.25f);
  EXPECT_EQ(ParseWeightText("  0.5abc"), 0.5f);
  EXPECT_EQ(ParseWeightText("abc"), 0.0f);
  EXPECT_EQ(ParseWeightText("nan"), 0.0f);
  EXPECT_EQ(ParseWeightText(""), 0.0f);
  // Only the first nine characters count.
  EXPECT_EQ(ParseWeightText("0.12345678"), 0.1234567f);
  EXPECT_EQ(ParseWeightText("123456789123"), 123456789.0f);

  EXPECT_EQ(FormatWeight(1.0f), "1.0000");
  EXPECT_EQ(FormatWeight(0.0f), "0.0000");
  EXPECT_EQ(FormatWeight(0.25f), "0.2500");
  EXPECT_EQ(FormatWeight(1.0f / 3.0f), "0.3333");

  EXPECT_EQ(WeightToSliderPosition(1.0f), 20);
  EXPECT_EQ(WeightToSliderPosition(0.75f), 15);
  EXPECT_EQ(WeightToSliderPosition(0.26f), 5);  // truncated, not rounded
  EXPECT_EQ(WeightToSliderPosition(-1.0f), 0);
  EXPECT_EQ(WeightToSliderPosition(2.0f), 20);
  EXPECT_EQ(FormatWeight(SliderPositionToWeight(7)), "0.3500");
}
}  // namespace
}  // namespace posewright
