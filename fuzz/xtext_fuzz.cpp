// Fuzzes the text .x reader: the input is the file after its header.
#include <cstdint>
#include <string>

#include "fuzz/XFileFuzzCommon.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string file = "xof 0303txt 0032";
  file.append(reinterpret_cast<const char*>(data), size);
  LoadXFileForFuzzing(file);
  return 0;
}
}  // namespace posewright
