// The binary buffer of a glTF asset: plain little-endian arrays, each starting
// on a 4-byte boundary (what every accessor and the GLB chunk need).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace gltf {

class BinaryBuffer {
 public:
  /// Appends the values little-endian after zero padding to a multiple of 4;
  /// returns the byte offset of the first one.
  template <typename T>
  std::size_t append(std::span<const T> values) {
    static_assert(std::is_arithmetic_v<T>);
    const std::size_t offset = alignTo4();
    const std::size_t size = values.size() * sizeof(T);
    bytes_.resize(offset + size);
    char* out = bytes_.data() + offset;
    if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
      if (size != 0) std::memcpy(out, values.data(), size);
    } else {
      for (const T& v : values) {
        unsigned char raw[sizeof(T)];
        std::memcpy(raw, &v, sizeof(T));
        for (std::size_t b = 0; b < sizeof(T); ++b) *out++ = static_cast<char>(raw[sizeof(T) - 1 - b]);
      }
    }
    return offset;
  }

  /// Appends raw bytes (an image file) after padding; returns their offset.
  std::size_t appendBytes(std::string_view bytes);

  /// Pads with zeros to a multiple of 4 and returns the new size.
  std::size_t alignTo4();

  std::size_t size() const { return bytes_.size(); }
  const std::string& bytes() const { return bytes_; }
  /// Reserves room for about n more bytes.
  void reserve(std::size_t n) { bytes_.reserve(bytes_.size() + n); }

 private:
  std::string bytes_;
};

}  // namespace gltf
