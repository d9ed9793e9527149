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

namespace posewright {

namespace gltf {

/// Stores v at out little-endian and returns the position after it.
template <typename T>
inline char* StoreLittleEndian(char* out, T v) {
  static_assert(std::is_arithmetic_v<T>);
  if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
    std::memcpy(out, &v, sizeof(T));
  } else {
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    for (std::size_t b = 0; b < sizeof(T); ++b) out[b] = static_cast<char>(raw[sizeof(T) - 1 - b]);
  }
  return out + sizeof(T);
}

class BinaryBuffer {
 public:
  /// A buffer preceded by headroom unused bytes (a multiple of 4), room for
  /// the container's headers in front of the data. Offsets, size() and
  /// at() count from the end of the headroom.
  explicit BinaryBuffer(std::size_t headroom = 0) : bytes_(headroom, '\0'), headroom_(headroom) {}

  /// Pads with zeros to a multiple of 4, then makes room for bytes more;
  /// returns the offset of that room. Fill it through at(offset).
  std::size_t extend(std::size_t bytes);

  /// Appends the values little-endian after padding; returns the offset of
  /// the first one.
  template <typename T>
  std::size_t append(std::span<const T> values) {
    const std::size_t offset = extend(values.size() * sizeof(T));
    if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
      if (!values.empty()) std::memcpy(at(offset), values.data(), values.size() * sizeof(T));
    } else {
      char* out = at(offset);
      for (const T& v : values) out = StoreLittleEndian(out, v);
    }
    return offset;
  }

  /// Appends raw bytes (an image file) after padding; returns their offset.
  std::size_t appendBytes(std::string_view bytes);

  /// Pads with zeros to a multiple of 4 and returns the new size.
  std::size_t alignTo4();

  char* at(std::size_t offset) { return bytes_.data() + headroom_ + offset; }
  std::size_t size() const { return bytes_.size() - headroom_; }
  std::size_t headroom() const { return headroom_; }
  /// Hands the bytes over, headroom first, leaving the buffer empty.
  std::string take() { return std::move(bytes_); }
  /// Reserves room for about n more bytes.
  void reserve(std::size_t n) { bytes_.reserve(bytes_.size() + n); }

 private:
  std::string bytes_;
  std::size_t headroom_ = 0;
};

}  // namespace gltf
}  // namespace posewright
