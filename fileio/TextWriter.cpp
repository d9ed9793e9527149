#include "fileio/TextWriter.h"

#include <cstdarg>
#include <cstdio>

#include "fileio/CNumbers.h"

namespace posewright {

namespace {
void AppendV(std::string& out, const char* format, va_list args) {
  char buffer[512];
  va_list copy;
  va_copy(copy, args);
  const int n = FormatCV(buffer, sizeof buffer, format, copy);
  va_end(copy);
  if (n < 0) {
    return;
  }
  if (static_cast<std::size_t>(n) < sizeof buffer) {
    out.append(buffer, static_cast<std::size_t>(n));
    return;
  }
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(n) + 1);
  FormatCV(out.data() + old, static_cast<std::size_t>(n) + 1, format, args);
  out.resize(old + static_cast<std::size_t>(n));
}
}  // namespace

void TextWriter::append(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendV(text_, format, args);
  va_end(args);
}

void TextWriter::line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendV(text_, format, args);
  va_end(args);
  text_ += "\r\n";
}
}  // namespace posewright
