// The command line's argument tables: what a command's syntax accepts, what
// it refuses and why, and the usage text it makes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace posewright {

namespace {
const cli::Syntax kCopy{"copy",
                        {"FROM"},
                        {{"--anim", "FILE.anm", "an animation", false, true},
                         {"--points", "", "points only"},
                         {"-o", "OUT", "where to write", true}},
                        "copies a file"};

// The words of line split at each space; "a -o " ends with an empty word.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t start = 0;;) {
    const std::size_t space = line.find(' ', start);
    words.push_back(line.substr(start, space - start));
    if (space == std::string::npos) return words;
    start = space + 1;
  }
}

TEST(Arguments, ParseTakesOperandsAndOptionsInOrderOrSaysWhatIsWrong) {
  using Options = std::vector<std::pair<std::string, std::string>>;
  const struct {
    std::string args;
    std::string error;
    std::vector<std::string> operands;
    Options options;
  } rows[] = {
      {"a -o b", "", {"a"}, {{"-o", "b"}}},
      {"-o b a --points", "", {"a"}, {{"-o", "b"}, {"--points", ""}}},
      {"a --anim -x.anm --anim y.anm -o b",
       "",
       {"a"},
       {{"--anim", "-x.anm"}, {"--anim", "y.anm"}, {"-o", "b"}}},
      {"a -o b -o c", "", {"a"}, {{"-o", "b"}, {"-o", "c"}}},
      {"a -o", "-o needs a value", {}, {}},
      {"a --bogus -o b", "unknown option --bogus", {}, {}},
      {"a b -o c", "only one FROM may be given", {}, {}},
      {"-o b", "missing FROM", {}, {}},
      {"a", "missing -o OUT", {}, {}},
      {"a -o ", "missing -o OUT", {}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    const cli::ParseResult r = cli::Parse(kCopy, Words(row.args));
    EXPECT_EQ(r.error, row.error);
    if (!row.error.empty()) continue;
    EXPECT_EQ(r.arguments.operands, row.operands);
    EXPECT_EQ(r.arguments.options, row.options);
  }
}

TEST(Arguments, TheLastValueCountsUnlessAllAreAskedFor) {
  const cli::ParseResult r = cli::Parse(kCopy, Words("a --anim x --anim y -o b"));
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.arguments.value("--anim"), "y");
  EXPECT_EQ(r.arguments.values("--anim"), (std::vector<std::string>{"x", "y"}));
  EXPECT_FALSE(r.arguments.has("--points"));
  EXPECT_EQ(r.arguments.value("--points"), std::nullopt);
}

TEST(Arguments, TwoOperandsAndARequiredFlag) {
  const cli::Syntax pair{"pair", {"A", "B"}, {{"--must", "", "a required flag", true}}, ""};
  EXPECT_EQ(cli::Parse(pair, Words("x y --must")).error, "");
  EXPECT_EQ(cli::Parse(pair, Words("x y")).error, "missing --must");
  EXPECT_EQ(cli::Parse(pair, Words("x y z")).error, "unexpected argument z");
  EXPECT_EQ(cli::Parse(pair, Words("x")).error, "missing B");
}

TEST(Arguments, UsageAndHelpComeFromTheTable) {
  EXPECT_EQ(cli::UsageLine(kCopy), "copy FROM [--anim FILE.anm]... [--points] -o OUT");
  const cli::Syntax second{
      "copy", {"FROM"}, {{"--fast", "", "quickly"}, {"-o", "OUT", "other help", true}}, ""};
  EXPECT_EQ(cli::HelpText({kCopy, second}),
            "usage: posewright-cli copy FROM [--anim FILE.anm]... [--points] -o OUT\n"
            "       posewright-cli copy FROM [--fast] -o OUT\n"
            "\n"
            "options:\n"
            "  --anim FILE.anm   an animation\n"
            "  --points          points only\n"
            "  -o OUT            where to write\n"
            "  --fast            quickly\n");
}

TEST(Arguments, TimeIsAFrameTheTimeSliderCanShow) {
  const struct {
    const char* text;
    std::optional<int32_t> frame;
  } rows[] = {
      {"0", 0},
      {"15", 15},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-1", std::nullopt},
      {"3x", std::nullopt},
      {"", std::nullopt},
      {"x", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(cli::ParseTime(row.text), row.frame) << row.text;
}
}  // namespace
}  // namespace posewright
