#include "fileio/KeyedLineReader.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "fileio/CNumbers.h"

namespace posewright {

namespace {
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

bool KeyedLineReader::next(KeyedLine& line) {
  if (pos_ >= text_.size()) {
    return false;
  }
  std::size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) {
    end = text_.size();
  }
  std::string_view whole = text_.substr(pos_, end - pos_);
  pos_ = end + 1;
  line.number = ++lineNumber_;
  line.truncated = false;
  // A trailing CR belongs to the line end, not to the 255 characters.
  std::string_view content = whole;
  if (!content.empty() && content.back() == '\r') {
    content.remove_suffix(1);
  }
  if (content.size() > kMaxKeyedLineLength) {
    whole = whole.substr(0, kMaxKeyedLineLength);
    content = whole;
    line.truncated = true;
  }
  line.text = content;
  line.tokens.clear();
  std::size_t i = 0;
  while (i < whole.size()) {
    while (i < whole.size() && IsSpace(whole[i])) ++i;
    const std::size_t start = i;
    while (i < whole.size() && !IsSpace(whole[i])) ++i;
    if (i > start) {
      line.tokens.push_back(whole.substr(start, i - start));
    }
  }
  return true;
}

std::size_t KeyedNumberPrefixLength(std::string_view t, bool allowFraction) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) {
    ++i;
    ++digits;
  }
  if (allowFraction && i < t.size() && t[i] == '.') {
    std::size_t j = i + 1;
    std::size_t fraction = 0;
    while (j < t.size() && IsDigit(t[j])) {
      ++j;
      ++fraction;
    }
    if (digits + fraction > 0) {
      i = j;
      digits += fraction;
    }
  }
  if (digits == 0) {
    return 0;
  }
  if (allowFraction && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && IsDigit(t[j])) {
      while (j < t.size() && IsDigit(t[j])) ++j;
      i = j;
    }
  }
  return i;
}

int32_t ParseKeyedInt(std::string_view token) {
  const std::size_t n = KeyedNumberPrefixLength(token, false);
  if (n == 0) {
    return 0;
  }
  const std::string prefix(token.substr(0, n));
  errno = 0;
  const long long v = std::strtoll(prefix.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

float ParseKeyedFloat(std::string_view token) {
  const std::size_t n = KeyedNumberPrefixLength(token, true);
  if (n == 0) {
    return 0.0f;
  }
  const std::string prefix(token.substr(0, n));
  return static_cast<float>(ParseCDouble(prefix.c_str()));
}

uint32_t ParseKeyedUnsigned32(std::string_view token) {
  const std::size_t n = KeyedNumberPrefixLength(token, false);
  if (n == 0) {
    return 0;
  }
  const std::string prefix(token.substr(0, n));
  const long long v = std::strtoll(prefix.c_str(), nullptr, 10);
  return static_cast<uint32_t>(static_cast<unsigned long long>(v));
}

int32_t KeyedLine::intAt(std::size_t k) const {
  return ParseKeyedInt(token(k));
}
float KeyedLine::floatAt(std::size_t k) const {
  return ParseKeyedFloat(token(k));
}
uint32_t KeyedLine::uint32At(std::size_t k) const {
  return ParseKeyedUnsigned32(token(k));
}
}  // namespace posewright
