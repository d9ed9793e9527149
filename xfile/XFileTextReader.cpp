#include "xfile/XFileTextReader.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace posewright {

namespace {
enum CharClass : uint8_t { kWord = 0, kFiller = 1, kDelimiter = 2 };

/// Filler: white space and the separators, skipped between tokens. Delimiter:
/// a character that ends a word or number without being part of it.
constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> t{};
  for (unsigned char c : {' ', '\t', '\r', '\n', '\v', '\f', ',', ';'}) t[c] = kFiller;
  for (unsigned char c : {'{', '}', '"', '<', '>'}) t[c] = kDelimiter;
  return t;
}
constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

inline uint8_t ClassOf(char c) {
  return kClasses[static_cast<unsigned char>(c)];
}
inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

/// True when c may follow a number: the input's end, filler or a delimiter.
inline bool EndsNumber(const char* p, const char* end) {
  return p == end || ClassOf(*p) != kWord;
}

/// Exact powers of ten as doubles (10^22 is the largest exact one).
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// The common plain decimal ("-0.820374", "96.078430", "12") read exactly:
/// with at most 15 significant digits the digits and the power of ten are
/// exact doubles, so one multiplication or division rounds correctly to
/// double; rounding that double to float is correct unless it lies exactly
/// halfway between two floats, which is left to the general path. Returns
/// false (nothing consumed) for any other form.
bool FastDecimal(const char*& p, const char* end, float& out) {
  const char* q = p;
  const bool negative = q != end && *q == '-';
  if (negative) ++q;
  uint64_t digits = 0;
  int significant = 0;
  int scale = 0;  // digits after the point
  const char* start = q;
  while (q != end && IsDigit(*q)) {
    digits = digits * 10 + static_cast<uint64_t>(*q - '0');
    significant += (digits != 0);
    ++q;
  }
  const bool hadInteger = q != start;
  bool hadFraction = false;
  if (q != end && *q == '.') {
    ++q;
    while (q != end && IsDigit(*q)) {
      digits = digits * 10 + static_cast<uint64_t>(*q - '0');
      significant += (digits != 0);
      ++scale;
      ++q;
      hadFraction = true;
    }
  }
  if ((!hadInteger && !hadFraction) || significant > 15 || scale > 22 ||
      (q != end && (*q == 'e' || *q == 'E'))) {
    return false;
  }
  double d = static_cast<double>(digits) / kPowersOfTen[scale];
  if (negative) d = -d;
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  const bool halfway = (bits & 0x1FFFFFFFu) == 0x10000000u;
  if (d != 0.0 && (exponent < -126 || exponent > 126 || halfway)) {
    return false;  // subnormal or out of float range, or a tie: the general path decides
  }
  out = static_cast<float>(d);
  p = q;
  return true;
}
}  // namespace

XFileTextReader::XFileTextReader(std::string_view text, int firstLine)
    : begin_(text.data()),
      p_(text.data()),
      end_(text.data() + text.size()),
      tokenStart_(text.data()),
      firstLine_(firstLine) {}

void XFileTextReader::skipFiller() {
  while (p_ != end_) {
    const char c = *p_;
    if (ClassOf(c) == kFiller) {
      ++p_;
    } else if (c == '#' || (c == '/' && p_ + 1 != end_ && p_[1] == '/')) {
      const void* nl = std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_));
      p_ = nl != nullptr ? static_cast<const char*>(nl) + 1 : end_;
    } else {
      return;
    }
  }
}

std::string_view XFileTextReader::wordAt(const char* p) const {
  const char* q = p;
  while (q != end_ && ClassOf(*q) == kWord) {
    ++q;
  }
  return {p, static_cast<std::size_t>(q - p)};
}

XToken XFileTextReader::next() {
  skipFiller();
  tokenStart_ = p_;
  if (p_ == end_) {
    return {XTokenKind::End, {}};
  }
  const char c = *p_;
  switch (c) {
    case '{':
      ++p_;
      return {XTokenKind::OpenBrace, {tokenStart_, 1}};
    case '}':
      ++p_;
      return {XTokenKind::CloseBrace, {tokenStart_, 1}};
    case '>':
      ++p_;
      return {XTokenKind::Other, {tokenStart_, 1}};
    case '<': {
      const void* close = std::memchr(p_, '>', static_cast<std::size_t>(end_ - p_));
      if (close == nullptr) {
        fail("a GUID starting with '<' is never closed by '>'");
        return {XTokenKind::Error, {}};
      }
      const char* q = static_cast<const char*>(close);
      const std::string_view text(p_ + 1, static_cast<std::size_t>(q - p_ - 1));
      p_ = q + 1;
      return {XTokenKind::Guid, text};
    }
    case '"': {
      const void* close = std::memchr(p_ + 1, '"', static_cast<std::size_t>(end_ - p_ - 1));
      if (close == nullptr) {
        fail("a string is never closed by '\"'");
        return {XTokenKind::Error, {}};
      }
      const char* q = static_cast<const char*>(close);
      const std::string_view text(p_ + 1, static_cast<std::size_t>(q - p_ - 1));
      p_ = q + 1;
      return {XTokenKind::String, text};
    }
    default:
      break;
  }
  const std::string_view word = wordAt(p_);
  p_ += word.size();
  if (IsDigit(c) || c == '-' || c == '+' || c == '.') {
    return {XTokenKind::Number, word};
  }
  if (word == "template") {
    return {XTokenKind::Template, word};
  }
  return {XTokenKind::Name, word};
}

XTokenKind XFileTextReader::peek() {
  const char* saved = p_;
  const char* savedStart = tokenStart_;
  const XTokenKind kind = next().kind;
  if (kind != XTokenKind::Error) {
    p_ = saved;
    tokenStart_ = savedStart;
  }
  return kind;
}

bool XFileTextReader::readUInt(uint32_t& value, const char* what) {
  skipFiller();
  tokenStart_ = p_;
  const char* q = p_;
  if (q == end_ || !IsDigit(*q)) {
    return failExpected(what);
  }
  uint64_t v = 0;
  while (q != end_ && IsDigit(*q)) {
    v = v * 10 + static_cast<uint64_t>(*q - '0');
    if (v > 0xFFFFFFFFu) {
      return fail(std::string("expected ") + what + ", found a number beyond the 32-bit range");
    }
    ++q;
  }
  if (!EndsNumber(q, end_)) {
    return failExpected(what);
  }
  value = static_cast<uint32_t>(v);
  p_ = q;
  return true;
}

bool XFileTextReader::readFloat(float& value, const char* what) {
  skipFiller();
  tokenStart_ = p_;
  const char* q = p_;
  if (q != end_ && *q == '+') {
    ++q;
  }
  // Only decimal forms: "inf", "nan" and hexadecimal floats are not numbers here.
  const char* digits = (q != end_ && *q == '-' && p_ == q) ? q + 1 : q;
  if (digits == end_ || !(IsDigit(*digits) || *digits == '.')) {
    return failExpected(what);
  }
  float f = 0.0f;
  const char* fast = q;
  if (FastDecimal(fast, end_, f)) {
    if (!EndsNumber(fast, end_)) {
      return failExpected(what);
    }
    value = f;
    p_ = fast;
    return true;
  }
  auto [ptr, ec] = std::from_chars(q, end_, f, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Values below the float range read as their nearest float (possibly 0);
    // values above it are refused.
    double d = 0.0;
    auto [dptr, dec] = std::from_chars(q, end_, d, std::chars_format::general);
    if (dec != std::errc() || std::fabs(d) > static_cast<double>(FLT_MAX)) {
      return fail(std::string("expected ") + what + ", found '" + std::string(wordAt(p_)) +
                  "', which is beyond the float range");
    }
    f = static_cast<float>(d);
    ptr = dptr;
    ec = std::errc();
  }
  if (ec != std::errc() || !EndsNumber(ptr, end_)) {
    return failExpected(what);
  }
  value = f;
  p_ = ptr;
  return true;
}

bool XFileTextReader::readString(std::string& value, const char* what) {
  skipFiller();
  tokenStart_ = p_;
  if (p_ == end_ || *p_ != '"') {
    return failExpected(what);
  }
  const XToken t = next();
  if (t.kind != XTokenKind::String) {
    return false;
  }
  value.assign(t.text);
  return true;
}

bool XFileTextReader::skipBody() {
  const char* open = tokenStart_;
  int depth = 1;
  char previous = ' ';
  while (p_ != end_) {
    const char c = *p_++;
    const bool tokenStart = ClassOf(previous) != kWord;
    previous = c;
    switch (c) {
      case '{':
        ++depth;
        break;
      case '}':
        if (--depth == 0) {
          return true;
        }
        break;
      case '"': {
        const void* close = std::memchr(p_, '"', static_cast<std::size_t>(end_ - p_));
        if (close == nullptr) {
          tokenStart_ = p_ - 1;
          return fail("a string is never closed by '\"'");
        }
        p_ = static_cast<const char*>(close) + 1;
        break;
      }
      case '#':
      case '/':
        if (tokenStart && (c == '#' || (p_ != end_ && *p_ == '/'))) {
          const void* nl = std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_));
          p_ = nl != nullptr ? static_cast<const char*>(nl) + 1 : end_;
          previous = '\n';
        }
        break;
      default:
        break;
    }
  }
  tokenStart_ = open;
  return fail("the object opened here is never closed by '}'");
}

bool XFileTextReader::canHold(uint64_t count) const {
  if (count == 0) {
    return true;
  }
  const auto left = static_cast<uint64_t>(end_ - p_);
  return count <= left && 2 * count - 1 <= left;
}

std::string XFileTextReader::location() const {
  return locationAt(mark());
}

std::string XFileTextReader::locationAt(std::size_t mark) const {
  // Counted only when a message needs it, so reading never pays for lines.
  const auto line = firstLine_ + std::count(begin_, begin_ + mark, '\n');
  return "line " + std::to_string(line);
}

bool XFileTextReader::fail(const std::string& what) {
  if (error_.empty()) {
    error_ = location() + ": " + what;
  }
  return false;
}

bool XFileTextReader::failExpected(const char* what) {
  if (p_ == end_) {
    return fail(std::string("expected ") + what + ", found the end of the file");
  }
  std::string_view found = wordAt(p_);
  if (found.empty()) {
    found = std::string_view(p_, 1);
  }
  if (found.size() > 32) {
    found = found.substr(0, 32);
  }
  return fail(std::string("expected ") + what + ", found '" + std::string(found) + "'");
}
}  // namespace posewright
