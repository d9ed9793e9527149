#include "gltf/GltfBinaryBuffer.h"

namespace posewright {

namespace gltf {

std::size_t BinaryBuffer::extend(std::size_t bytes) {
  const std::size_t offset = alignTo4();
  bytes_.resize(headroom_ + offset + bytes);
  return offset;
}

std::size_t BinaryBuffer::appendBytes(std::string_view bytes) {
  const std::size_t offset = extend(bytes.size());
  if (!bytes.empty()) std::memcpy(at(offset), bytes.data(), bytes.size());
  return offset;
}

std::size_t BinaryBuffer::alignTo4() {
  bytes_.resize(headroom_ + ((size() + 3) & ~std::size_t{3}), '\0');
  return size();
}

}  // namespace gltf
}  // namespace posewright
