#include "image/TextureLoader.h"

#include "fileio/FileBytes.h"
#include "image/ImageDecoders.h"

std::optional<TextureImage> DecodeTextureImage(std::string_view bytes) {
  if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
    return DecodePng(bytes);
  }
  if (bytes.substr(0, 3) == "\xFF\xD8\xFF") {
    return DecodeJpeg(bytes);
  }
  if (bytes.substr(0, 2) == "BM") {
    return DecodeBmp(bytes);
  }
  return DecodeTga(bytes);
}

std::optional<TextureImage> LoadTextureImage(const std::string& path) {
  // Images far beyond the largest accepted texture are not read at all.
  const std::optional<std::string> bytes = ReadFileBytes(path, std::size_t{1} << 28);
  if (!bytes) {
    return std::nullopt;
  }
  return DecodeTextureImage(*bytes);
}
