// Tokenizer for the text .x encoding.
//
// White space, the separators ';' and ',' and comments ('#' or '//' to the end
// of the line, at the start of a token) are skipped everywhere: real files
// disagree about separators (";;", ";,", a missing one at the end of a list),
// and the parser reads every template's members by count, so separators carry
// no information. Numbers must end at a delimiter, so "1.#QNAN" or "12abc" is
// refused rather than read in part. Strings are kept exactly as written
// between their double quotes (backslashes are not escapes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xfile/XFileToken.h"

namespace posewright {

class XFileTextReader {
 public:
  /// Reads text (the file after its 16-byte header), which must outlive the
  /// reader. firstLine is the line number of text's first character.
  explicit XFileTextReader(std::string_view text, int firstLine = 1);

  /// The next structural token, consumed.
  XToken next();
  /// The kind of the next structural token, not consumed.
  XTokenKind peek();

  /// Reads an unsigned 32-bit integer; false (with error() set) when the next
  /// value is not one. what names the expected value for the message.
  bool readUInt(uint32_t& value, const char* what);
  /// Reads a real as a 32-bit float (correctly rounded); false when the next
  /// value is not a real in the float range.
  bool readFloat(float& value, const char* what);
  /// Reads a double-quoted string.
  bool readString(std::string& value, const char* what);

  /// With the opening brace consumed, skips to just after the matching closing
  /// brace (strings and comments respected). False when the input ends first.
  bool skipBody();

  /// False when count more values cannot possibly follow in the bytes left
  /// (each value needs a character and a delimiter): a guard before allocating.
  bool canHold(uint64_t count) const;

  /// "line N" of the last token or value read.
  std::string location() const;
  /// The first error: where and what was expected.
  const std::string& error() const { return error_; }
  /// A mark of the last token's position, for a later locationAt().
  std::size_t mark() const { return static_cast<std::size_t>(tokenStart_ - begin_); }
  /// The location of a mark, worded as location() words it.
  std::string locationAt(std::size_t mark) const;
  /// Records an error at the last token's location; returns false.
  bool fail(const std::string& what);

 private:
  void skipFiller();
  std::string_view wordAt(const char* p) const;
  bool failExpected(const char* what);

  const char* begin_;
  const char* p_;
  const char* end_;
  const char* tokenStart_;
  int firstLine_;
  std::string error_;
};
}  // namespace posewright
