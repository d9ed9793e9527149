// The model import on arbitrary bytes read as glTF 2.0: as binary glTF when
// they start with its magic word, else as glTF text (ImportFuzzCommon.h).
#include <cstring>

#include "ImportFuzzCommon.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool binary = size >= 4 && std::memcmp(data, "glTF", 4) == 0;
  return import_fuzz::FuzzImport(data, size, binary ? "glb" : "gltf");
}
}  // namespace posewright
