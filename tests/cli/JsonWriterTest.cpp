// The --json writer: strings come out as valid JSON in valid UTF-8 whatever
// bytes a file's names hold.
#include <gtest/gtest.h>

#include <string>

#include "cli/JsonWriter.h"

namespace posewright {

namespace {
std::string Quoted(const std::string& text) {
  JsonWriter j;
  j.value(std::string_view(text));
  return j.text();
}

TEST(JsonWriter, StringsAreEscapedAndInvalidUtf8BecomesReplacementCharacters) {
  const struct {
    std::string in;
    std::string out;
  } rows[] = {
      {"Arm", "\"Arm\""},
      {"a\"b\\c\n\t\x01", "\"a\\\"b\\\\c\\n\\t\\u0001\""},
      {"\xC3\xA9paule \xE8\x85\x95 \xF0\x9F\xA6\xB4",
       "\"\xC3\xA9paule \xE8\x85\x95 \xF0\x9F\xA6\xB4\""},       // kept
      {"\x98\x72", "\"\\ufffdr\""},                              // Shift JIS: lead byte replaced
      {"\x83\x41rm", "\"\\ufffdArm\""},                          // Shift JIS
      {"caf\xE9", "\"caf\\ufffd\""},                             // Latin-1
      {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                        // overlong '/'
      {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},             // a surrogate
      {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // beyond U+10FFFF
      {"\xE8\x85", "\"\\ufffd\\ufffd\""},                        // cut short at the end
      {"\xE8\x85x", "\"\\ufffd\\ufffdx\""},                      // cut short before ASCII
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Quoted(row.in), row.out);
  }
}
}  // namespace
}  // namespace posewright
