// PNG decoding. Returns an RGBA8 image with row 0 the image's top row, or nothing
// when the bytes are not a complete image of the format or the image is
// larger than a texture may be (IsAcceptableTextureSize).
#pragma once

#include <optional>
#include <string_view>

#include "image/TextureImage.h"

/// PNG through libpng (any bit depth and colour type; transparency kept).
std::optional<TextureImage> DecodePng(std::string_view bytes);
