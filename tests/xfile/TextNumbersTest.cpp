// Text numbers must read as the correctly rounded float of their decimal
// value, whatever path the reader takes for them.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>

#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
TEST(TextNumbers, EveryFormReadsAsTheCorrectlyRoundedFloat) {
  std::vector<std::string> numbers = {"0",
                                      "-0",
                                      "-0.000000",
                                      "1.",
                                      ".5",
                                      "-.25",
                                      "+2.5",
                                      "16777217",
                                      "16777219",
                                      "0.1",
                                      "3.4028234e38",
                                      "1e-45",
                                      "1.17549435e-38",
                                      "1.0000000596046448",
                                      "96.078430",
                                      "123456789012345678",
                                      "0.000000000000000000000001",
                                      "340282346638528859811704183484516925440",
                                      "1E5",
                                      "2.5e-3"};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digits(1, 18);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 3000; ++i) {
    std::string s = (i % 2 == 0) ? "-" : "";
    const int before = digits(random) % 9;
    const int after = digits(random);
    for (int k = 0; k < before; ++k) s += static_cast<char>('0' + digit(random));
    if (before == 0) s += '0';
    s += '.';
    for (int k = 0; k < after; ++k) s += static_cast<char>('0' + digit(random));
    numbers.push_back(s);
  }
  std::string body = "Mesh { " + std::to_string(numbers.size()) + ";\n";
  for (const std::string& n : numbers) body += n + ";" + n + ";" + n + ";,\n";
  body += "0; }";
  XFileDocument doc;
  const Status s = ParseXFile(TextX(body), "numbers.x", doc);
  ASSERT_TRUE(s.ok) << s.describe();
  ASSERT_EQ(doc.meshes[0].positions.size(), numbers.size());
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::string& n = numbers[i];
    double exact = 0.0;
    const char* first = n.data() + (n[0] == '+' ? 1 : 0);
    std::from_chars(first, n.data() + n.size(), exact);
    float expected = 0.0f;
    if (std::from_chars(first, n.data() + n.size(), expected).ec != std::errc()) {
      expected = static_cast<float>(exact);  // below the float range: nearest float
    }
    const float got = doc.meshes[0].positions[i].x;
    EXPECT_EQ(std::memcmp(&got, &expected, 4), 0) << n << " read as " << got << ", expected " << expected;
  }
}
}  // namespace
}  // namespace posewright
