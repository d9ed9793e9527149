// Tokenizer for the binary .x encoding.
//
// Tokens are 16-bit little-endian codes, some followed by data: NAME 1 and
// STRING 2 (32-bit length, characters; a string may be followed by a ';' or ','
// token), INTEGER 3 (32-bit value), GUID 5 (16 bytes), INTEGER_LIST 6 and
// FLOAT_LIST 7 (32-bit count, then the values: 4-byte integers, 4- or 8-byte
// floats). Punctuation: { 10, } 11, ( 12, ) 13, [ 14, ] 15, < 16, > 17, . 18,
// , 19, ; 20; keywords: template 31, WORD 40 … ARRAY 52. Lists run across
// structure boundaries: one INTEGER_LIST may carry a count and a whole face
// array, so values are handed out one at a time from the current list.
// Every length and count is checked against the bytes left before it is used.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "xfile/XBinaryToken.h"
#include "xfile/XFileToken.h"

namespace posewright {

class XFileBinaryReader {
 public:
  /// Reads data (the file after its 16-byte header), which must outlive the
  /// reader. baseOffset is added to positions in messages; inflated tells them
  /// that positions count bytes of the inflated data of a compressed file.
  XFileBinaryReader(std::string_view data, int floatBits, std::size_t baseOffset, bool inflated);

  XToken next();
  XTokenKind peek();

  bool readUInt(uint32_t& value, const char* what);
  /// Reads a float from a FLOAT_LIST (an integer value is accepted too).
  bool readFloat(float& value, const char* what);
  bool readString(std::string& value, const char* what);

  /// With the opening brace consumed, skips to just after the matching one.
  bool skipBody();

  /// False when count more values cannot possibly follow (4 bytes each).
  bool canHold(uint64_t count) const { return count <= static_cast<uint64_t>(end_ - p_) / 4; }

  /// "byte N" (or "byte N of the inflated data") of the last token or value.
  std::string location() const;
  const std::string& error() const { return error_; }
  /// A mark of the last token's position, for a later locationAt().
  std::size_t mark() const { return static_cast<std::size_t>(tokenStart_ - begin_); }
  /// The location of a mark, worded as location() words it.
  std::string locationAt(std::size_t mark) const;
  bool fail(const std::string& what);

 private:
  /// Reads the next raw token code and its payload; false with error() set
  /// when it is unknown or cut short. Lists set the pending-value counters.
  bool rawToken(uint16_t& code, std::string_view& text);
  bool failExpected(const char* what, uint16_t code);
  uint32_t loadU32(const char* p) const {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  std::size_t left() const { return static_cast<std::size_t>(end_ - p_); }
  /// The next bytes of the token as its text, or a failure naming what was
  /// cut short by the end of the file.
  bool takeFixed(std::size_t bytes, const char* what, std::string_view& text) {
    if (left() < bytes) {
      return fail(std::string(what) + " is cut short by the end of the file");
    }
    text = {p_, bytes};
    p_ += bytes;
    return true;
  }

  const char* begin_;
  const char* p_;
  const char* end_;
  const char* tokenStart_;
  std::size_t floatSize_;
  std::size_t baseOffset_;
  bool inflated_;
  /// Values still to hand out from the current INTEGER_LIST or FLOAT_LIST.
  uint32_t intsLeft_ = 0;
  uint32_t floatsLeft_ = 0;
  std::string error_;
};
}  // namespace posewright
