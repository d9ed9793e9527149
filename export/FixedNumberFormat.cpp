#include "export/FixedNumberFormat.h"

#include <cstdio>
#include <cstring>

#include "fileio/CNumbers.h"

namespace posewright {

namespace {
constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of value, most significant first, without leading zeros
// ("0" for zero).
char* WriteDecimal(char* out, uint64_t value) {
  char scratch[20];
  char* p = scratch + sizeof scratch;
  while (value >= 100) {
    const unsigned pair = static_cast<unsigned>(value % 100) * 2;
    value /= 100;
    p -= 2;
    p[0] = kDigitPairs[pair];
    p[1] = kDigitPairs[pair + 1];
  }
  if (value >= 10) {
    const unsigned pair = static_cast<unsigned>(value) * 2;
    p -= 2;
    p[0] = kDigitPairs[pair];
    p[1] = kDigitPairs[pair + 1];
  } else {
    *--p = static_cast<char>('0' + value);
  }
  const std::size_t n = static_cast<std::size_t>(scratch + sizeof scratch - p);
  std::memcpy(out, p, n);
  return out + n;
}

// Exactly six digits of value (< 1,000,000), leading zeros kept.
char* WriteSixDigits(char* out, uint32_t value) {
  const uint32_t high = value / 10000;
  const uint32_t rest = value % 10000;
  const uint32_t mid = rest / 100;
  const uint32_t low = rest % 100;
  out[0] = kDigitPairs[high * 2];
  out[1] = kDigitPairs[high * 2 + 1];
  out[2] = kDigitPairs[mid * 2];
  out[3] = kDigitPairs[mid * 2 + 1];
  out[4] = kDigitPairs[low * 2];
  out[5] = kDigitPairs[low * 2 + 1];
  return out + 6;
}

char* FormatWithPrintf(char* out, float value) {
  const int n = FormatC(out, kMaxFixed6Length, "%.6f", static_cast<double>(value));
  return out + (n > 0 ? n : 0);
}
}  // namespace

char* FormatFixed6(char* out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 31) != 0;
  const uint32_t exponentField = (bits >> 23) & 0xFFu;
  const uint64_t fraction = bits & 0x7FFFFFu;
  if (exponentField == 0xFFu) {
    return FormatWithPrintf(out, value);
  }
  // value = mantissa × 2^exponent exactly.
  const uint64_t mantissa = exponentField == 0 ? fraction : (fraction | 0x800000u);
  const int exponent = exponentField == 0 ? -149 : static_cast<int>(exponentField) - 150;
  // mantissa × 10^6 < 2^44, so the scaled value stays exact in 64 bits for
  // every exponent up to 19; larger magnitudes (above 2^43) are rare enough
  // to leave to printf.
  const uint64_t scaledMantissa = mantissa * 1000000u;
  uint64_t micros = 0;
  if (exponent >= 0) {
    if (exponent > 19) {
      return FormatWithPrintf(out, value);
    }
    micros = scaledMantissa << exponent;
  } else if (exponent > -64) {
    const unsigned shift = static_cast<unsigned>(-exponent);
    const uint64_t quotient = scaledMantissa >> shift;
    const uint64_t remainder = scaledMantissa & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    micros = quotient + ((remainder > half || (remainder == half && (quotient & 1u) != 0)) ? 1u : 0u);
  }
  // Below 2^-64 the scaled value is under 2^-20 and rounds to 0.
  if (negative) {
    *out++ = '-';
  }
  const uint64_t whole = micros / 1000000u;
  if (whole < 10) {
    *out++ = static_cast<char>('0' + whole);
  } else {
    out = WriteDecimal(out, whole);
  }
  *out++ = '.';
  return WriteSixDigits(out, static_cast<uint32_t>(micros % 1000000u));
}

char* FormatUnsigned(char* out, uint32_t value) {
  return WriteDecimal(out, value);
}

char* FormatSigned(char* out, int32_t value) {
  if (value < 0) {
    *out++ = '-';
    return WriteDecimal(out, uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(value)));
  }
  return WriteDecimal(out, static_cast<uint64_t>(value));
}
}  // namespace posewright
