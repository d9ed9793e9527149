// Loading of a material's texture file into a decoded image.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "image/ImageDecoders.h"
#include "image/TextureImage.h"

namespace posewright {

/// Largest texture file read: an uncompressed 32-bit image of the largest
/// size a texture may have (8192 x 8192), with room for its header and palette.
inline constexpr std::size_t kMaxTextureFileBytes =
    std::size_t{kMaxTextureSide} * kMaxTextureSide * 4 + (std::size_t{1} << 20);

/// Decodes PNG, JPEG, BMP or TGA bytes, recognised by their content (PNG, JPEG
/// and BMP by their signatures; anything else is tried as TGA, which has none).
/// Nothing when the bytes are no decodable image or the image is beyond the
/// texture budget; why (when set) then says which.
std::optional<TextureImage> DecodeTextureImage(std::string_view bytes, std::string* why = nullptr);

/// Reads and decodes the image file at path; null when it is missing, not a
/// regular file, larger than kMaxTextureFileBytes or not decodable, with the
/// reason in why (when set).
SharedTexture LoadTextureImage(const std::string& path, std::string* why = nullptr);

/// Loads the image file at a resolved path: LoadTextureImage, or a stand-in in
/// tests and tools. Null when there is no image, with the reason in why (when set).
using TextureLoader = std::function<SharedTexture(const std::string& path, std::string* why)>;
}  // namespace posewright
