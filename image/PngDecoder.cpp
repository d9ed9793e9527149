// PNG decoding through libpng's simplified reading interface.
#include <png.h>

#include "image/ImageDecoders.h"

namespace posewright {

std::optional<TextureImage> DecodePng(std::string_view bytes, std::string* why) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
    return std::nullopt;
  }
  if (!CheckTextureSize(image.width, image.height, why)) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  TextureImage out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}
}  // namespace posewright
