#include "image/TextureLoader.h"

#include "fileio/FileBytes.h"

namespace posewright {

std::optional<TextureImage> DecodeTextureImage(std::string_view bytes, std::string* why) {
  std::string reason;
  std::optional<TextureImage> image;
  const char* format = "TGA";
  if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
    format = "PNG";
    image = DecodePng(bytes, &reason);
  } else if (bytes.substr(0, 3) == "\xFF\xD8\xFF") {
    format = "JPEG";
    image = DecodeJpeg(bytes, &reason);
  } else if (bytes.substr(0, 2) == "BM") {
    format = "BMP";
    image = DecodeBmp(bytes, &reason);
  } else {
    image = DecodeTga(bytes, &reason);
  }
  if (!image && why != nullptr) {
    *why = reason.empty() ? std::string("it is no complete ") + format + " image" : reason;
  }
  return image;
}

SharedTexture LoadTextureImage(const std::string& path, std::string* why) {
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxTextureFileBytes, why);
  if (!bytes) {
    return nullptr;
  }
  std::optional<TextureImage> image = DecodeTextureImage(*bytes, why);
  if (!image) {
    return nullptr;
  }
  return std::make_shared<const TextureImage>(std::move(*image));
}
}  // namespace posewright
