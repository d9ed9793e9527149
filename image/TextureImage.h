// A decoded texture: RGBA8 pixels, row 0 the image's top row; and the sizes a
// texture may have.
#pragma once

#include <cstdint>
#include <vector>

struct TextureImage {
  int width = 0;
  int height = 0;
  /// width × height × 4 bytes, R, G, B, A.
  std::vector<uint8_t> rgba;
};

/// Largest side and largest pixel count a texture may have (64 MiB decoded).
inline constexpr int kMaxTextureSide = 16384;
inline constexpr long long kMaxTexturePixels = 1LL << 24;

/// True when width × height is a size a texture may have.
inline bool IsAcceptableTextureSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
         width * height <= kMaxTexturePixels;
}
