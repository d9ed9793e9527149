// Fuzzes the texture decoders (PNG, JPEG, BMP, TGA; picked by content).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "image/TextureLoader.h"

namespace posewright {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto image = DecodeTextureImage(std::string_view(reinterpret_cast<const char*>(data), size));
  if (image && image->rgba.size() != static_cast<std::size_t>(image->width) * image->height * 4) {
    std::abort();
  }
  return 0;
}
}  // namespace posewright
