// A mouse position in viewport pixels (x to the right, y down from the top
// left), with its 32-bit packed form: x in the low 16 bits, y in the high 16
// bits, both signed.
#pragma once

#include <cstdint>

namespace posewright {

struct ClientPoint {
  int16_t x = 0;
  int16_t y = 0;
  friend bool operator==(const ClientPoint&, const ClientPoint&) = default;
};

constexpr uint32_t PackClientPoint(ClientPoint p) {
  return static_cast<uint32_t>(static_cast<uint16_t>(p.x)) |
         (static_cast<uint32_t>(static_cast<uint16_t>(p.y)) << 16);
}

constexpr ClientPoint UnpackClientPoint(uint32_t packed) {
  return ClientPoint{static_cast<int16_t>(static_cast<uint16_t>(packed & 0xFFFFu)),
                     static_cast<int16_t>(static_cast<uint16_t>(packed >> 16))};
}
}  // namespace posewright
