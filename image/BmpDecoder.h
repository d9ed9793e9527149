// Windows bitmap decoding. Returns an RGBA8 image with row 0 the image's top row, or nothing
// when the bytes are not a complete image of the format or the image is
// larger than a texture may be (IsAcceptableTextureSize).
#pragma once

#include <optional>
#include <string_view>

#include "image/TextureImage.h"

/// Windows bitmap: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with
/// bit-field masks, bottom-up or top-down. 32-bit pixels are opaque unless the
/// header gives an alpha mask.
std::optional<TextureImage> DecodeBmp(std::string_view bytes);
