// Loading of a material's texture file into a decoded image.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/TextureImage.h"

/// Decodes PNG, JPEG, BMP or TGA bytes, recognised by their content (PNG, JPEG
/// and BMP by their signatures; anything else is tried as TGA, which has none).
/// Nothing when the bytes are no decodable image.
std::optional<TextureImage> DecodeTextureImage(std::string_view bytes);

/// Reads and decodes the image file at path; nothing when it is missing,
/// unreadable or not decodable.
std::optional<TextureImage> LoadTextureImage(const std::string& path);
