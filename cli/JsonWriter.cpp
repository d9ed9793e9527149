#include "cli/JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "fileio/CNumbers.h"

namespace posewright {

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasElement_.empty()) {
    if (hasElement_.back()) {
      text_ += ',';
    }
    hasElement_.back() = true;
  }
}

JsonWriter& JsonWriter::beginObject() {
  separate();
  text_ += '{';
  hasElement_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  text_ += '}';
  hasElement_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  separate();
  text_ += '[';
  hasElement_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  text_ += ']';
  hasElement_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  value(name);
  text_ += ':';
  afterKey_ = true;
  return *this;
}

namespace {
// Length of the well-formed UTF-8 sequence at the start of s (1 to 4), or 0
// when its first byte starts none: a stray continuation byte, an overlong
// form, a surrogate, a value above U+10FFFF or a sequence cut short.
std::size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(0);
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // the allowed range of the second byte
  unsigned char high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}
}  // namespace

JsonWriter& JsonWriter::value(std::string_view s) {
  separate();
  text_ += '"';
  for (std::size_t at = 0; at < s.size();) {
    const char c = s[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
      // Names in legacy encodings are no UTF-8: each byte outside a
      // well-formed sequence becomes U+FFFD, so the output is always valid.
      const std::size_t length = Utf8SequenceLength(s.substr(at));
      if (length == 0) {
        text_ += "\\ufffd";
        ++at;
      } else {
        text_.append(s.substr(at, length));
        at += length;
      }
      continue;
    }
    ++at;
    switch (c) {
      case '"':
        text_ += "\\\"";
        break;
      case '\\':
        text_ += "\\\\";
        break;
      case '\n':
        text_ += "\\n";
        break;
      case '\r':
        text_ += "\\r";
        break;
      case '\t':
        text_ += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          text_ += escaped;
        } else {
          text_ += c;
        }
    }
  }
  text_ += '"';
  return *this;
}

JsonWriter& JsonWriter::value(long long number) {
  separate();
  text_ += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::value(float number) {
  separate();
  if (!std::isfinite(number)) {
    text_ += "null";
    return *this;
  }
  char buffer[32];
  FormatC(buffer, sizeof buffer, "%.9g", static_cast<double>(number));
  text_ += buffer;
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  separate();
  text_ += flag ? "true" : "false";
  return *this;
}
}  // namespace posewright
