// Windows bitmap decoding: the file header, the core (12-byte) and the info
// (40-byte and longer) headers, palettes, and uncompressed or bit-field pixels.
#include <cstdint>
#include <cstring>

#include "image/ImageDecoders.h"

namespace posewright {

namespace {
uint32_t U16(const unsigned char* p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const unsigned char* p) {
  return U16(p) | (U16(p + 2) << 16);
}

/// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (mask == 0) {
      return;
    }
    while (((mask >> shift) & 1u) == 0) {
      ++shift;
    }
    max = mask >> shift;
  }
  uint8_t from(uint32_t pixel, uint8_t absent) const {
    if (mask == 0) {
      return absent;
    }
    const uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};
}  // namespace

std::optional<TextureImage> DecodeBmp(std::string_view bytes, std::string* why) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  if (size < 26 || data[0] != 'B' || data[1] != 'M') {
    return std::nullopt;
  }
  const uint32_t pixelOffset = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);
  if (headerSize < 12 || 14 + std::size_t{headerSize} > size) {
    return std::nullopt;
  }
  const unsigned char* h = data + 14;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bits = 0;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == 12) {
    width = U16(h + 4);
    height = static_cast<int16_t>(U16(h + 6));
    bits = U16(h + 10);
    paletteEntrySize = 3;
  } else if (headerSize >= 40) {
    width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    bits = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  } else {
    return std::nullopt;
  }
  const bool topDown = height < 0;
  if (topDown) {
    height = -height;
  }
  if (!CheckTextureSize(width, height, why)) {
    return std::nullopt;
  }

  // Bit-field masks: in the header from the V2 layout (52 bytes) on, else just
  // after a 40-byte header.
  uint32_t masks[4] = {0, 0, 0, 0};
  std::size_t afterHeader = 14 + std::size_t{headerSize};
  const bool bitFields = compression == 3 || compression == 6;
  if (compression != 0 && !bitFields) {
    return std::nullopt;  // run-length and embedded PNG/JPEG bitmaps are not supported
  }
  if (bitFields) {
    const std::size_t maskCount = compression == 6 ? 4 : 3;
    const unsigned char* m = h + 40;
    if (headerSize == 40) {
      if (afterHeader + 4 * maskCount > size) return std::nullopt;
      m = data + afterHeader;
      afterHeader += 4 * maskCount;
    } else if (headerSize < 40 + 4 * maskCount) {
      return std::nullopt;
    }
    for (std::size_t i = 0; i < maskCount; ++i) masks[i] = U32(m + 4 * i);
    if (headerSize >= 56) masks[3] = U32(h + 52);
  } else if (bits == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bits == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
  if (bitFields && bits != 16 && bits != 32) {
    return std::nullopt;
  }

  std::vector<uint8_t> palette;  // RGBA entries
  if (bits == 1 || bits == 4 || bits == 8) {
    const uint32_t entries = colorsUsed == 0 || colorsUsed > (1u << bits) ? (1u << bits) : colorsUsed;
    if (afterHeader + entries * paletteEntrySize > size) return std::nullopt;
    palette.resize(std::size_t{1} << bits << 2, 0);
    for (uint32_t i = 0; i < entries; ++i) {
      const unsigned char* e = data + afterHeader + i * paletteEntrySize;
      palette[4 * i] = e[2];
      palette[4 * i + 1] = e[1];
      palette[4 * i + 2] = e[0];
      palette[4 * i + 3] = 255;
    }
    for (std::size_t i = entries; i < (std::size_t{1} << bits); ++i) palette[4 * i + 3] = 255;
  } else if (bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }

  const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  const auto rows = static_cast<std::size_t>(height);
  if (pixelOffset > size || (size - pixelOffset) / stride < rows) {
    return std::nullopt;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  TextureImage out;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.rgba.resize(static_cast<std::size_t>(width) * rows * 4);
  for (std::size_t y = 0; y < rows; ++y) {
    const unsigned char* src = data + pixelOffset + (topDown ? y : rows - 1 - y) * stride;
    uint8_t* dst = out.rgba.data() + y * static_cast<std::size_t>(width) * 4;
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x, dst += 4) {
      if (bits <= 8) {
        const std::size_t bit = x * bits;
        const uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        std::memcpy(dst, &palette[4 * index], 4);
      } else if (bits == 24) {
        dst[0] = src[3 * x + 2];
        dst[1] = src[3 * x + 1];
        dst[2] = src[3 * x];
        dst[3] = 255;
      } else {
        const uint32_t pixel = bits == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
        dst[0] = red.from(pixel, 0);
        dst[1] = green.from(pixel, 0);
        dst[2] = blue.from(pixel, 0);
        dst[3] = alpha.from(pixel, 255);
      }
    }
  }
  return out;
}
}  // namespace posewright
