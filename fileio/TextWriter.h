// Builds the text of a file line by line with printf formats and CR LF line
// ends; the caller writes the finished text with WriteFileAtomically.
#pragma once

#include <string>

namespace posewright {

class TextWriter {
 public:
  /// Appends printf-formatted text (no line end).
  void append(const char* format, ...) __attribute__((format(printf, 2, 3)));
  /// Appends printf-formatted text followed by CR LF.
  void line(const char* format, ...) __attribute__((format(printf, 2, 3)));
  /// Appends raw text.
  void raw(const std::string& text) { text_ += text; }
  const std::string& text() const { return text_; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};
}  // namespace posewright
