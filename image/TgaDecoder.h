// Truevision TGA decoding. Returns an RGBA8 image with row 0 the image's top row, or nothing
// when the bytes are not a complete image of the format or the image is
// larger than a texture may be (IsAcceptableTextureSize).
#pragma once

#include <optional>
#include <string_view>

#include "image/TextureImage.h"

/// Truevision TGA: colour-mapped, true-colour and grey images, raw or
/// run-length encoded, 8 to 32 bits per pixel, either origin. 32-bit pixels
/// carry alpha when the descriptor announces 8 alpha bits, else are opaque.
std::optional<TextureImage> DecodeTga(std::string_view bytes);
