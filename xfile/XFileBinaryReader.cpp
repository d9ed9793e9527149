#include "xfile/XFileBinaryReader.h"

#include <bit>

namespace posewright {

static_assert(std::endian::native == std::endian::little,
              "the binary .x reader loads little-endian values directly");

XFileBinaryReader::XFileBinaryReader(std::string_view data, int floatBits, std::size_t baseOffset,
                                     bool inflated)
    : begin_(data.data()),
      p_(data.data()),
      end_(data.data() + data.size()),
      tokenStart_(data.data()),
      floatSize_(floatBits == 64 ? 8 : 4),
      baseOffset_(baseOffset),
      inflated_(inflated) {}

bool XFileBinaryReader::rawToken(uint16_t& code, std::string_view& text) {
  tokenStart_ = p_;
  if (left() < 2) {
    return fail("a token is cut short by the end of the file");
  }
  code = static_cast<uint16_t>(static_cast<unsigned char>(p_[0]) | (static_cast<unsigned char>(p_[1]) << 8));
  p_ += 2;
  text = {};
  switch (code) {
    case kXTokenName:
    case kXTokenString: {
      if (left() < 4) {
        return fail("a name or string length is cut short by the end of the file");
      }
      const uint32_t length = loadU32(p_);
      p_ += 4;
      if (length > left()) {
        return fail("a name or string of " + std::to_string(length) + " bytes does not fit the bytes left");
      }
      text = {p_, length};
      p_ += length;
      if (code == kXTokenString && left() >= 2 && p_[1] == 0 &&
          (p_[0] == kXTokenSemicolon || p_[0] == kXTokenComma)) {
        p_ += 2;  // the string's terminator
      }
      return true;
    }
    case kXTokenInteger:
      return takeFixed(4, "an integer", text);
    case kXTokenGuid:
      return takeFixed(16, "a GUID", text);
    case kXTokenIntegerList:
    case kXTokenFloatList: {
      if (left() < 4) {
        return fail("a list count is cut short by the end of the file");
      }
      const uint32_t count = loadU32(p_);
      p_ += 4;
      const std::size_t size = code == kXTokenIntegerList ? 4 : floatSize_;
      if (count > left() / size) {
        return fail("a list of " + std::to_string(count) + " values does not fit the bytes left");
      }
      (code == kXTokenIntegerList ? intsLeft_ : floatsLeft_) = count;
      return true;
    }
    default:
      if ((code >= kXTokenOpenBrace && code <= kXTokenSemicolon) || code == kXTokenTemplate ||
          (code >= kXTokenWord && code <= kXTokenArray)) {
        return true;
      }
      return fail("unknown token code " + std::to_string(code));
  }
}

XToken XFileBinaryReader::next() {
  if (intsLeft_ > 0 || floatsLeft_ > 0) {
    tokenStart_ = p_;
    return {XTokenKind::Number, {}};
  }
  for (;;) {
    if (p_ == end_) {
      tokenStart_ = p_;
      return {XTokenKind::End, {}};
    }
    uint16_t code = 0;
    std::string_view text;
    if (!rawToken(code, text)) {
      return {XTokenKind::Error, {}};
    }
    switch (code) {
      case kXTokenName:
        return {XTokenKind::Name, text};
      case kXTokenString:
        return {XTokenKind::String, text};
      case kXTokenGuid:
        return {XTokenKind::Guid, text};
      case kXTokenInteger:
        return {XTokenKind::Number, {}};
      case kXTokenIntegerList:
      case kXTokenFloatList:
        if (intsLeft_ > 0 || floatsLeft_ > 0) {
          return {XTokenKind::Number, {}};
        }
        continue;  // an empty list carries nothing
      case kXTokenOpenBrace:
        return {XTokenKind::OpenBrace, {}};
      case kXTokenCloseBrace:
        return {XTokenKind::CloseBrace, {}};
      case kXTokenComma:
      case kXTokenSemicolon:
        continue;
      case kXTokenTemplate:
        return {XTokenKind::Template, {}};
      default:
        return {XTokenKind::Other, {}};
    }
  }
}

XTokenKind XFileBinaryReader::peek() {
  const char* saved = p_;
  const char* savedStart = tokenStart_;
  const uint32_t ints = intsLeft_;
  const uint32_t floats = floatsLeft_;
  const XTokenKind kind = next().kind;
  if (kind != XTokenKind::Error) {
    p_ = saved;
    tokenStart_ = savedStart;
    intsLeft_ = ints;
    floatsLeft_ = floats;
  }
  return kind;
}

bool XFileBinaryReader::readUInt(uint32_t& value, const char* what) {
  for (;;) {
    if (intsLeft_ > 0) {
      tokenStart_ = p_;
      value = loadU32(p_);
      p_ += 4;
      --intsLeft_;
      return true;
    }
    if (floatsLeft_ > 0) {
      tokenStart_ = p_;
      return fail(std::string("expected ") + what + ", found a float");
    }
    if (p_ == end_) {
      tokenStart_ = p_;
      return fail(std::string("expected ") + what + ", found the end of the file");
    }
    uint16_t code = 0;
    std::string_view text;
    if (!rawToken(code, text)) {
      return false;
    }
    if (code == kXTokenInteger) {
      value = loadU32(text.data());
      return true;
    }
    if (code == kXTokenIntegerList || code == kXTokenComma || code == kXTokenSemicolon) {
      continue;
    }
    return failExpected(what, code);
  }
}

bool XFileBinaryReader::readFloat(float& value, const char* what) {
  for (;;) {
    if (floatsLeft_ > 0) {
      tokenStart_ = p_;
      if (floatSize_ == 8) {
        double d;
        std::memcpy(&d, p_, 8);
        value = static_cast<float>(d);
      } else {
        std::memcpy(&value, p_, 4);
      }
      p_ += floatSize_;
      --floatsLeft_;
      return true;
    }
    if (intsLeft_ > 0) {
      tokenStart_ = p_;
      value = static_cast<float>(loadU32(p_));
      p_ += 4;
      --intsLeft_;
      return true;
    }
    if (p_ == end_) {
      tokenStart_ = p_;
      return fail(std::string("expected ") + what + ", found the end of the file");
    }
    uint16_t code = 0;
    std::string_view text;
    if (!rawToken(code, text)) {
      return false;
    }
    if (code == kXTokenInteger) {
      value = static_cast<float>(loadU32(text.data()));
      return true;
    }
    if (code == kXTokenFloatList || code == kXTokenIntegerList || code == kXTokenComma ||
        code == kXTokenSemicolon) {
      continue;
    }
    return failExpected(what, code);
  }
}

bool XFileBinaryReader::readString(std::string& value, const char* what) {
  if (intsLeft_ > 0 || floatsLeft_ > 0) {
    tokenStart_ = p_;
    return fail(std::string("expected ") + what + ", found a number");
  }
  for (;;) {
    if (p_ == end_) {
      tokenStart_ = p_;
      return fail(std::string("expected ") + what + ", found the end of the file");
    }
    uint16_t code = 0;
    std::string_view text;
    if (!rawToken(code, text)) {
      return false;
    }
    if (code == kXTokenString || code == kXTokenName) {
      value.assign(text);
      return true;
    }
    if (code != kXTokenComma && code != kXTokenSemicolon) {
      return failExpected(what, code);
    }
  }
}

bool XFileBinaryReader::skipBody() {
  const char* open = tokenStart_;
  intsLeft_ = 0;
  floatsLeft_ = 0;
  int depth = 1;
  while (p_ != end_) {
    uint16_t code = 0;
    std::string_view text;
    if (!rawToken(code, text)) {
      return false;
    }
    if (code == kXTokenIntegerList) {
      p_ += std::size_t{intsLeft_} * 4;
      intsLeft_ = 0;
    } else if (code == kXTokenFloatList) {
      p_ += std::size_t{floatsLeft_} * floatSize_;
      floatsLeft_ = 0;
    } else if (code == kXTokenOpenBrace) {
      ++depth;
    } else if (code == kXTokenCloseBrace && --depth == 0) {
      return true;
    }
  }
  tokenStart_ = open;
  return fail("the object opened here is never closed by '}'");
}

std::string XFileBinaryReader::location() const {
  return locationAt(mark());
}

std::string XFileBinaryReader::locationAt(std::size_t mark) const {
  return "byte " + std::to_string(baseOffset_ + mark) + (inflated_ ? " of the inflated data" : "");
}

bool XFileBinaryReader::fail(const std::string& what) {
  if (error_.empty()) {
    error_ = location() + ": " + what;
  }
  return false;
}

bool XFileBinaryReader::failExpected(const char* what, uint16_t code) {
  const char* found = "a structure token";
  switch (code) {
    case kXTokenName:
      found = "a name";
      break;
    case kXTokenString:
      found = "a string";
      break;
    case kXTokenGuid:
      found = "a GUID";
      break;
    case kXTokenFloatList:
      found = "a float list";
      break;
    case kXTokenOpenBrace:
      found = "'{'";
      break;
    case kXTokenCloseBrace:
      found = "'}'";
      break;
    default:
      break;
  }
  return fail(std::string("expected ") + what + ", found " + found);
}
}  // namespace posewright
