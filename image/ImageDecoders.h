// Decoders of the image formats textures come in. Each returns an RGBA8 image
// with row 0 the image's top row, or nothing when the bytes are not a complete
// image of its format or the image is larger than the texture budget. Each
// checks the size its header declares before it allocates anything for the
// pixels; when why is set it receives the reason for nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/TextureImage.h"

namespace posewright {

/// The texture budget: at most 8192 pixels wide and 8192 high (256 MiB decoded).
inline constexpr int kMaxTextureSide = 8192;

/// True when width × height is a size a texture may have: 1 to 8192 each way.
inline bool IsAcceptableTextureSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide;
}

/// IsAcceptableTextureSize, and when false and why is set, the reason: "the
/// image is W x H pixels, more than the 8192 x 8192 a texture may have" (or
/// that it has no pixels).
bool CheckTextureSize(long long width, long long height, std::string* why);

/// PNG through libpng (any bit depth and colour type; transparency kept).
std::optional<TextureImage> DecodePng(std::string_view bytes, std::string* why = nullptr);
/// JPEG through libjpeg (grey or colour; CMYK is refused).
std::optional<TextureImage> DecodeJpeg(std::string_view bytes, std::string* why = nullptr);
/// Windows bitmap: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with
/// bit-field masks, bottom-up or top-down. 32-bit pixels are opaque unless the
/// header gives an alpha mask.
std::optional<TextureImage> DecodeBmp(std::string_view bytes, std::string* why = nullptr);
/// Truevision TGA: colour-mapped, true-colour and grey images, raw or
/// run-length encoded, 8 to 32 bits per pixel, either origin. 32-bit pixels
/// carry alpha when the descriptor announces 8 alpha bits, else are opaque.
std::optional<TextureImage> DecodeTga(std::string_view bytes, std::string* why = nullptr);
}  // namespace posewright
