// Numbers in Posewright's files and panel fields use '.' as the decimal mark,
// whatever locale the process runs in: a desktop session under a comma locale
// (de_DE, fr_FR, ...) must write and read the same bytes as the C locale.
// These helpers format and parse through an explicit "C" locale object and
// never touch the process-wide locale.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace posewright {

/// vsnprintf in the "C" locale.
int FormatCV(char* out, std::size_t size, const char* format, va_list args);
/// snprintf in the "C" locale.
int FormatC(char* out, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
/// strtod in the "C" locale.
double ParseCDouble(const char* text, char** end = nullptr);
}  // namespace posewright
