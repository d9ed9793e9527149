// The model import on arbitrary bytes read as an OBJ file (ImportFuzzCommon.h).
#include "ImportFuzzCommon.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return import_fuzz::FuzzImport(data, size, "obj");
}
}  // namespace posewright
