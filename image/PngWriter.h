// PNG encoding of 8-bit RGBA pictures (top row first): rendered views and the
// generated sample texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/Status.h"

namespace posewright {

/// Which channels the file stores.
enum class PngChannels {
  Rgb,                 ///< alpha dropped
  Rgba,                ///< alpha kept
  RgbaWhenTranslucent  ///< alpha kept only when some pixel is not fully opaque
};

/// How the rows are packed.
enum class PngCompression {
  Default,    ///< libpng's adaptive row filters and zlib's default level: quick
  Unfiltered  ///< unfiltered rows at zlib level 9, as the committed sample texture is written
};

/// The PNG file bytes of a width × height RGBA picture; empty when the size
/// does not match the pixels or libpng fails. The bytes depend only on the
/// pixels, the settings and the libpng/zlib build.
std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba,
                      PngChannels channels = PngChannels::Rgb,
                      PngCompression compression = PngCompression::Default);

/// EncodePng written to path atomically.
Status WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
                PngChannels channels = PngChannels::Rgb);
}  // namespace posewright
