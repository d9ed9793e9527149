#include "xfile/XFileHeader.h"

#include <cctype>

namespace posewright {

namespace {
bool IsDigits(std::string_view s) {
  for (char c : s) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
      return false;
    }
  }
  return true;
}
}  // namespace

Status ParseXFileHeader(std::string_view bytes, const std::string& fileName, XFileHeader& header) {
  auto fail = [&](std::size_t offset, const std::string& what) {
    return Status::Error(kXFileErrorMessage, fileName + ", byte " + std::to_string(offset) + ": " + what);
  };
  if (bytes.size() < kXFileHeaderSize || bytes.substr(0, 4) != "xof ") {
    return fail(0, "expected the .x header \"xof \" followed by version, format and float size");
  }
  if (!IsDigits(bytes.substr(4, 4))) {
    return fail(4, "expected a four-digit version such as 0303");
  }
  const std::string_view format = bytes.substr(8, 4);
  if (format == "txt ") {
    header.encoding = XFileEncoding::Text;
  } else if (format == "bin ") {
    header.encoding = XFileEncoding::Binary;
  } else if (format == "tzip") {
    header.encoding = XFileEncoding::CompressedText;
  } else if (format == "bzip") {
    header.encoding = XFileEncoding::CompressedBinary;
  } else {
    return fail(8, "expected the format \"txt \", \"bin \", \"tzip\" or \"bzip\"");
  }
  const std::string_view floatSize = bytes.substr(12, 4);
  if (floatSize == "0032") {
    header.floatBits = 32;
  } else if (floatSize == "0064") {
    header.floatBits = 64;
  } else {
    return fail(12, "expected the float size \"0032\" or \"0064\"");
  }
  return Status::Ok();
}
}  // namespace posewright
