// The fast number text must equal printf's for every value the export meets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "export/FixedNumberFormat.h"
#include "support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {
std::string Fast(float value) {
  char buffer[kMaxFixed6Length];
  return std::string(buffer, FormatFixed6(buffer, value));
}

std::string Printf(float value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
  return buffer;
}

float FromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

void ExpectSameAsPrintf(float value) {
  ASSERT_EQ(Fast(value), Printf(value)) << "bits of the float: " << std::hex << [&] {
    uint32_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
  }();
}
}  // namespace

TEST(FixedNumberFormat, TiesRoundToEvenOnTheExactBinaryValue) {
  EXPECT_EQ(Fast(0.0078125f), "0.007812");  // 1/128: 7812.5 millionths
  EXPECT_EQ(Fast(0.0234375f), "0.023438");  // 3/128: 23437.5
  EXPECT_EQ(Fast(-0.0078125f), "-0.007812");
  EXPECT_EQ(Fast(0.1f), "0.100000");  // 0.100000001490116… rounds down
  EXPECT_EQ(Fast(2.5e-7f), "0.000000");
  EXPECT_EQ(Fast(5e-7f), "0.000000");  // the float lies just below half a millionth
  EXPECT_EQ(Fast(6e-7f), "0.000001");
  // Every k / 2^n with n ≤ 24 whose millionths end in exactly one half.
  for (int n = 7; n <= 24; ++n) {
    for (uint32_t k = 1; k < 4096; k += 2) {
      ExpectSameAsPrintf(std::ldexp(static_cast<float>(k), -n));
      ExpectSameAsPrintf(-std::ldexp(static_cast<float>(k), -n));
    }
  }
}

TEST(FixedNumberFormat, SignsZerosAndNonFiniteValuesMatchPrintf) {
  EXPECT_EQ(Fast(0.0f), "0.000000");
  EXPECT_EQ(Fast(-0.0f), "-0.000000");
  EXPECT_EQ(Fast(-1e-9f), "-0.000000");
  EXPECT_EQ(Fast(-1.0f), "-1.000000");
  EXPECT_EQ(Fast(std::numeric_limits<float>::denorm_min()), "0.000000");
  for (float special : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN()}) {
    ExpectSameAsPrintf(special);
  }
}

TEST(FixedNumberFormat, LargeValuesAndThePrintfBoundaryMatch) {
  EXPECT_EQ(Fast(16777216.0f), "16777216.000000");
  EXPECT_EQ(Fast(std::numeric_limits<float>::max()), "340282346638528859811704183484516925440.000000");
  for (int e = 0; e <= 127; ++e) {
    for (float m : {1.0f, 1.5f, 1.9999999f}) {
      ExpectSameAsPrintf(std::ldexp(m, e));
      ExpectSameAsPrintf(-std::ldexp(m, e));
      ExpectSameAsPrintf(std::nextafter(std::ldexp(m, e), 0.0f));
    }
  }
}

TEST(FixedNumberFormat, RandomBitPatternsAndEveryExponentMatchPrintf) {
  synthetic::Random random(2024);
  for (int i = 0; i < 1000000; ++i) {
    ExpectSameAsPrintf(FromBits(static_cast<uint32_t>(random.next() >> 32)));
  }
  // The range a model really uses, densely: every exponent from 2^-30 to 2^20.
  for (uint32_t exponent = 97; exponent <= 147; ++exponent) {
    for (int i = 0; i < 4000; ++i) {
      const uint32_t fraction = static_cast<uint32_t>(random.next() >> 41);
      ExpectSameAsPrintf(FromBits((exponent << 23) | fraction));
      ExpectSameAsPrintf(FromBits(0x80000000u | (exponent << 23) | fraction));
    }
  }
}

TEST(FixedNumberFormat, IntegersMatchPrintf) {
  for (uint32_t u : {0u, 7u, 9u, 10u, 99u, 100u, 65535u, 1000000u, 4294967295u}) {
    char buffer[kMaxIntegerLength];
    EXPECT_EQ(std::string(buffer, FormatUnsigned(buffer, u)), std::to_string(u));
  }
  for (int32_t d :
       {0, -1, 5, -80, 2320, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
    char buffer[kMaxIntegerLength];
    EXPECT_EQ(std::string(buffer, FormatSigned(buffer, d)), std::to_string(d));
  }
}
}  // namespace posewright
