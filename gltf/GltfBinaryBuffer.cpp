#include "gltf/GltfBinaryBuffer.h"

namespace gltf {

std::size_t BinaryBuffer::appendBytes(std::string_view bytes) {
  const std::size_t offset = alignTo4();
  bytes_.append(bytes);
  return offset;
}

std::size_t BinaryBuffer::alignTo4() {
  bytes_.resize((bytes_.size() + 3) & ~std::size_t{3}, '\0');
  return bytes_.size();
}

}  // namespace gltf
