// Fuzzes the binary .x reader. The first input byte picks the float size
// (odd: 64-bit); the rest is the file after its header.
#include <cstdint>
#include <string>

#include "fuzz/XFileFuzzCommon.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  std::string file = (data[0] & 1) != 0 ? "xof 0303bin 0064" : "xof 0303bin 0032";
  file.append(reinterpret_cast<const char*>(data + 1), size - 1);
  LoadXFileForFuzzing(file);
  return 0;
}
}  // namespace posewright
