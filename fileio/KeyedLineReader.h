// Reader of the editor's keyed-line text formats (bone data, blending
// parameters, skinned mesh, animation keyframes).
//
// A line is split into tokens at white space (space, tab, CR, LF, VT, FF).
// Lines end at LF, so CR LF and LF files read the same. A line is at most 255
// characters: the characters after the 255th are dropped up to the line's end
// (the next line still starts at the next LF, so later lines never shift), and
// the line is marked truncated so a reader can refuse or warn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace posewright {

/// Longest line the formats carry, in characters, without the line end.
inline constexpr std::size_t kMaxKeyedLineLength = 255;

struct KeyedLine {
  /// 1-based line number in the file.
  int number = 0;
  /// The tokens of the line (views into the reader's text).
  std::vector<std::string_view> tokens;
  /// True when the line was longer than 255 characters and was cut.
  bool truncated = false;
  /// The line as written, without its LF or CR LF end (cut like the tokens when
  /// truncated). For values that are a whole line, such as file names, where
  /// inner and trailing spaces count.
  std::string_view text;

  /// Token k, or an empty view when the line has fewer tokens.
  std::string_view token(std::size_t k) const { return k < tokens.size() ? tokens[k] : std::string_view(); }
  /// True when the first token equals key byte for byte.
  bool hasKey(std::string_view key) const { return token(0) == key; }
  /// Token k read as an integer (see ParseKeyedInt).
  int32_t intAt(std::size_t k) const;
  /// Token k read as a real (see ParseKeyedFloat).
  float floatAt(std::size_t k) const;
  /// Token k read as an unsigned 32-bit word (see ParseKeyedUnsigned32).
  uint32_t uint32At(std::size_t k) const;
};

class KeyedLineReader {
 public:
  /// Reads lines from text, which must outlive the reader.
  explicit KeyedLineReader(std::string_view text) : text_(text) {}

  /// The next line; false at the end of the text (an empty text has no lines).
  bool next(KeyedLine& line);

  /// Number of the last line returned (0 before the first).
  int lineNumber() const { return lineNumber_; }

  /// Characters not yet read. Every further line takes at least one of them,
  /// so a count of lines still to come can be checked against it before
  /// anything is allocated for them.
  std::size_t bytesLeft() const { return pos_ < text_.size() ? text_.size() - pos_ : 0; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
};

/// The integer of the longest leading part of token that is a decimal integer
/// (optional sign, digits), clamped to the 32-bit range; 0 when there is none.
int32_t ParseKeyedInt(std::string_view token);

/// The real of the longest leading part of token that is a decimal number
/// (optional sign, digits with an optional point, optional exponent), read as
/// a double and stored as a 32-bit float; 0 when there is none. Words such as
/// "inf" or "nan" and hexadecimal forms are not numbers here and give 0.
float ParseKeyedFloat(std::string_view token);

/// The integer of the longest leading decimal integer part of token taken
/// modulo 2^32, so that every value written with "%u" reads back unchanged
/// ("-1" gives 0xFFFFFFFF, as C's strtoul does); 0 when there is none.
/// Values beyond the 64-bit range saturate before the reduction.
uint32_t ParseKeyedUnsigned32(std::string_view token);

/// Length of the longest leading decimal real in token (0 when none).
std::size_t KeyedNumberPrefixLength(std::string_view token, bool allowFraction);
}  // namespace posewright
