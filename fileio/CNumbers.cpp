#include "fileio/CNumbers.h"

#include <locale.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace posewright {

namespace {
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}
}  // namespace

int FormatCV(char* out, std::size_t size, const char* format, va_list args) {
  // uselocale changes only the calling thread's locale, and only until restored.
  const locale_t previous = uselocale(CLocale());
  const int n = std::vsnprintf(out, size, format, args);
  uselocale(previous);
  return n;
}

int FormatC(char* out, std::size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = FormatCV(out, size, format, args);
  va_end(args);
  return n;
}

double ParseCDouble(const char* text, char** end) {
  return strtod_l(text, end, CLocale());
}
}  // namespace posewright
