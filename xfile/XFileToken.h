// The structural tokens both .x readers (text and binary) hand to the parser.
#pragma once

#include <string_view>

namespace posewright {

enum class XTokenKind {
  End,         // no more input
  Name,        // an identifier: a template name, an object name, a reference
  OpenBrace,   // {
  CloseBrace,  // }
  Guid,        // <...> in text, a GUID token in binary
  String,      // "..." in text, a STRING token in binary
  Number,      // a value where structure was expected
  Template,    // the keyword template
  Other,       // any other punctuation or keyword
  Error        // malformed input; the reader's error() says what and where
};

struct XToken {
  XTokenKind kind = XTokenKind::End;
  /// The name, string or number text (a view into the reader's input).
  std::string_view text;
};

/// True when a and b are equal ignoring ASCII letter case (template names).
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) {
      return false;
    }
  }
  return true;
}
}  // namespace posewright
