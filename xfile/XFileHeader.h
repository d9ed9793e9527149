// The 16-byte header every .x file starts with: "xof ", a four-digit version,
// the encoding ("txt ", "bin ", "tzip", "bzip") and the float size ("0032",
// "0064").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fileio/Status.h"
#include "xfile/XFileDocument.h"

namespace posewright {

inline constexpr std::size_t kXFileHeaderSize = 16;

struct XFileHeader {
  XFileEncoding encoding = XFileEncoding::Text;
  /// 32 or 64.
  int floatBits = 32;
};

/// Reads the header at the start of bytes. Fails, naming fileName and the byte
/// offset of the bad field, when the file is shorter than 16 bytes, lacks the
/// "xof " magic or names an unknown encoding or float size.
Status ParseXFileHeader(std::string_view bytes, const std::string& fileName, XFileHeader& header);

/// The message every .x reading failure carries; the detail says where and why.
inline constexpr const char* kXFileErrorMessage = "File Format Error";
}  // namespace posewright
