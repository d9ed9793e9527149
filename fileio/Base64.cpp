#include "fileio/Base64.h"

#include <algorithm>
#include <cstdint>

namespace posewright {

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    uint32_t block = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      block = (block << 8) | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= n ? kDigits[(block >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return out;
}
}  // namespace posewright
