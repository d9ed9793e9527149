#include "tools/gen/ClothesTexture.h"

#include <array>

namespace posewright {

namespace {
using Rgb = std::array<uint8_t, 3>;

Rgb PixelAt(int x, int y) {
  if (y < 25) {  // shirt: plaid of light vertical stripes and dark lines
    if (x % 8 < 2) {
      return {212, 96, 80};
    }
    return y % 8 == 4 ? Rgb{150, 40, 36} : Rgb{178, 52, 46};
  }
  if (y < 28) {  // belt
    return {58, 40, 28};
  }
  if (y < 60) {  // trousers: a diagonal weave
    return (x + y) % 4 == 0 ? Rgb{62, 82, 132} : Rgb{48, 66, 112};
  }
  return {34, 30, 28};  // shoes
}
}  // namespace

TextureImage MakeClothesTexture() {
  TextureImage image;
  image.width = 64;
  image.height = 64;
  image.rgba.reserve(64 * 64 * 4);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Rgb c = PixelAt(x, y);
      image.rgba.insert(image.rgba.end(), {c[0], c[1], c[2], 255});
    }
  }
  return image;
}
}  // namespace posewright
