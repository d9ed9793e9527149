#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fileio/KeyedLineReader.h"

namespace posewright {

namespace {
std::vector<KeyedLine> ReadAll(std::string_view text) {
  KeyedLineReader reader(text);
  std::vector<KeyedLine> lines;
  KeyedLine line;
  while (reader.next(line)) lines.push_back(line);
  return lines;
}

TEST(KeyedLineReader, CrLfAndLfReadTheSame) {
  const auto lf = ReadAll("numBones: 2\nroot_point: 1 2 3\n");
  const auto crlf = ReadAll("numBones: 2\r\nroot_point: 1 2 3\r\n");
  ASSERT_EQ(lf.size(), 2u);
  ASSERT_EQ(crlf.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(lf[i].tokens, crlf[i].tokens);
  }
  EXPECT_EQ(crlf[1].number, 2);
  EXPECT_TRUE(crlf[0].hasKey("numBones:"));
  EXPECT_FALSE(crlf[0].hasKey("NumBones:"));
}

TEST(KeyedLineReader, EmptyLinesAndMissingTokens) {
  const auto lines = ReadAll("\n  \t\r\nlast");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].tokens.empty());
  EXPECT_TRUE(lines[1].tokens.empty());
  EXPECT_EQ(lines[2].token(0), "last");
  EXPECT_EQ(lines[2].token(5), "");
  EXPECT_EQ(lines[2].floatAt(3), 0.0f);
  EXPECT_TRUE(ReadAll("").empty());
}

TEST(KeyedLineReader, OverlongLineIsCutButNextLineKeepsItsPlace) {
  std::string longLine = "key:";
  for (int i = 0; i < 100; ++i) longLine += " 123";
  const std::string text = longLine + "\r\nnext: 7\r\n";
  const auto lines = ReadAll(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].truncated);
  EXPECT_FALSE(lines[1].truncated);
  EXPECT_EQ(lines[1].token(0), "next:");
  EXPECT_EQ(lines[1].intAt(1), 7);
  std::size_t chars = 0;
  for (auto t : lines[0].tokens) chars += t.size() + 1;
  EXPECT_LE(chars, kMaxKeyedLineLength + 1);
  // Exactly 255 characters plus CR is not cut.
  const std::string exactText = std::string(255, 'a') + "\r\n";
  const auto exact = ReadAll(exactText);
  EXPECT_FALSE(exact[0].truncated);
  EXPECT_EQ(exact[0].token(0).size(), 255u);
}

TEST(KeyedLineReader, NumbersFromLongestLeadingDecimalPart) {
  EXPECT_EQ(ParseKeyedInt("42abc"), 42);
  EXPECT_EQ(ParseKeyedInt("-7"), -7);
  EXPECT_EQ(ParseKeyedInt("+3.9"), 3);
  EXPECT_EQ(ParseKeyedInt("abc"), 0);
  EXPECT_EQ(ParseKeyedInt("0x10"), 0);
  EXPECT_EQ(ParseKeyedInt("99999999999"), INT32_MAX);
  EXPECT_EQ(ParseKeyedInt("-99999999999"), INT32_MIN);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("0.7071"), 0.7071f);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("-.5x"), -0.5f);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("1e3"), 1000.0f);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("2e"), 2.0f);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("2e+"), 2.0f);
  EXPECT_FLOAT_EQ(ParseKeyedFloat("5."), 5.0f);
  EXPECT_EQ(ParseKeyedFloat("."), 0.0f);
  EXPECT_EQ(ParseKeyedFloat("nan"), 0.0f);
  EXPECT_EQ(ParseKeyedFloat("inf"), 0.0f);
  EXPECT_EQ(ParseKeyedFloat("0x1p3"), 0.0f);
  EXPECT_EQ(ParseKeyedFloat(""), 0.0f);
}
}  // namespace

namespace {
TEST(KeyedLineReader, WholeLineTextKeepsInnerAndTrailingSpaces) {
  const std::string text = "a  b.png  \r\nc\n" + std::string(300, 'x') + "\n";
  KeyedLineReader reader(text);
  KeyedLine line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.text, "a  b.png  ");
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.text, "c");
  ASSERT_TRUE(reader.next(line));
  EXPECT_TRUE(line.truncated);
  EXPECT_EQ(line.text.size(), kMaxKeyedLineLength);
}

TEST(KeyedLineReader, UnsignedWordsKeepTheFullRange) {
  EXPECT_EQ(ParseKeyedUnsigned32("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseKeyedUnsigned32("3355443713\t"), 3355443713u);
  EXPECT_EQ(ParseKeyedUnsigned32("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseKeyedUnsigned32("4294967296"), 0u);
  EXPECT_EQ(ParseKeyedUnsigned32("12abc"), 12u);
  EXPECT_EQ(ParseKeyedUnsigned32("x"), 0u);
}
}  // namespace
}  // namespace posewright
