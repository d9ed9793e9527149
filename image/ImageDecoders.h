// Decoders of the image formats textures come in. Each returns an RGBA8 image
// with row 0 the image's top row, or nothing when the bytes are not a complete
// image of its format or the image is larger than kMaxTexturePixels.
#pragma once

#include <optional>
#include <string_view>

#include "image/TextureImage.h"

/// Largest side and largest pixel count a texture may have (64 MiB decoded).
inline constexpr int kMaxTextureSide = 16384;
inline constexpr long long kMaxTexturePixels = 1LL << 24;

/// True when width × height is a size a texture may have.
inline bool IsAcceptableTextureSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
         width * height <= kMaxTexturePixels;
}

/// PNG through libpng (any bit depth and colour type; transparency kept).
std::optional<TextureImage> DecodePng(std::string_view bytes);
/// JPEG through libjpeg (grey or colour; CMYK is refused).
std::optional<TextureImage> DecodeJpeg(std::string_view bytes);
/// Windows bitmap: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with
/// bit-field masks, bottom-up or top-down. 32-bit pixels are opaque unless the
/// header gives an alpha mask.
std::optional<TextureImage> DecodeBmp(std::string_view bytes);
/// Truevision TGA: colour-mapped, true-colour and grey images, raw or
/// run-length encoded, 8 to 32 bits per pixel, either origin. 32-bit pixels
/// carry alpha when the descriptor announces 8 alpha bits, else are opaque.
std::optional<TextureImage> DecodeTga(std::string_view bytes);
