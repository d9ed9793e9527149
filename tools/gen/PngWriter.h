// PNG encoding of an RGBA texture through libpng (8-bit RGB when every pixel
// is opaque, RGBA otherwise), with fixed settings so the bytes depend only on
// the pixels and the libpng/zlib build.
#pragma once

#include <optional>
#include <string>

#include "image/TextureImage.h"

/// The PNG bytes, or nothing when the image is empty or libpng fails.
std::optional<std::string> EncodePng(const TextureImage& image);
