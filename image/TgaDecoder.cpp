// Truevision TGA decoding: image types 1, 2, 3 (raw) and 9, 10, 11 (run-length
// encoded), with the origin and right-to-left bits of the descriptor.
#include <cstdint>
#include <cstring>

#include "image/ImageDecoders.h"

namespace posewright {

namespace {
uint32_t U16(const unsigned char* p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8));
}

/// Converts one stored pixel of `bytes` bytes to RGBA.
struct PixelFormat {
  bool grey = false;
  uint32_t bytes = 0;
  bool alpha = false;

  void convert(const unsigned char* s, uint8_t* d) const {
    if (grey) {
      d[0] = d[1] = d[2] = s[0];
      d[3] = bytes == 2 ? s[1] : 255;
      return;
    }
    switch (bytes) {
      case 2: {  // A1 R5 G5 B5
        const uint32_t v = U16(s);
        d[0] = static_cast<uint8_t>((((v >> 10) & 31) * 255 + 15) / 31);
        d[1] = static_cast<uint8_t>((((v >> 5) & 31) * 255 + 15) / 31);
        d[2] = static_cast<uint8_t>(((v & 31) * 255 + 15) / 31);
        d[3] = alpha ? ((v & 0x8000) != 0 ? 255 : 0) : 255;
        break;
      }
      case 3:
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
        d[3] = 255;
        break;
      default:
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
        d[3] = alpha ? s[3] : 255;
        break;
    }
  }
};
}  // namespace

std::optional<TextureImage> DecodeTga(std::string_view bytes, std::string* why) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  if (size < 18) {
    return std::nullopt;
  }
  const uint32_t idLength = data[0];
  const uint32_t mapType = data[1];
  const uint32_t imageType = data[2];
  const uint32_t mapFirst = U16(data + 3);
  const uint32_t mapLength = U16(data + 5);
  const uint32_t mapBits = data[7];
  const uint32_t width = U16(data + 12);
  const uint32_t height = U16(data + 14);
  const uint32_t pixelBits = data[16];
  const uint32_t descriptor = data[17];
  const uint32_t alphaBits = descriptor & 0x0F;
  const bool rle = imageType >= 9;
  const uint32_t kind = rle ? imageType - 8 : imageType;
  if ((kind != 1 && kind != 2 && kind != 3) || (imageType > 3 && !rle) || imageType > 11 || mapType > 1 ||
      !CheckTextureSize(width, height, why)) {
    return std::nullopt;
  }

  PixelFormat format;  // of the stored pixels (or of the colour map entries)
  std::size_t pos = 18 + std::size_t{idLength};
  std::vector<uint8_t> colourMap;  // RGBA entries for colour-mapped images
  if (kind == 1) {
    if (mapType != 1 || pixelBits != 8 ||
        (mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32)) {
      return std::nullopt;
    }
    const PixelFormat entry{false, (mapBits + 7) / 8,
                            (mapBits == 32 && alphaBits == 8) || (mapBits == 16 && alphaBits == 1)};
    if (pos > size || (size - pos) / entry.bytes < mapLength) {
      return std::nullopt;
    }
    colourMap.assign(256 * 4, 0);
    for (uint32_t i = 0; i < mapLength; ++i) {
      const uint32_t index = mapFirst + i;
      if (index < 256) entry.convert(data + pos + i * entry.bytes, colourMap.data() + 4 * index);
    }
    pos += std::size_t{mapLength} * entry.bytes;
    format = PixelFormat{true, 1, false};  // indices, looked up below
  } else {
    if (mapType == 1) {  // a colour map that true-colour pixels do not use
      const std::size_t skip = std::size_t{mapLength} * ((mapBits + 7) / 8);
      if (pos > size || size - pos < skip) return std::nullopt;
      pos += skip;
    }
    if (kind == 3) {
      if (pixelBits != 8 && pixelBits != 16) return std::nullopt;
      format = PixelFormat{true, pixelBits / 8, pixelBits == 16};
    } else {
      if (pixelBits != 15 && pixelBits != 16 && pixelBits != 24 && pixelBits != 32) return std::nullopt;
      format = PixelFormat{false, (pixelBits + 7) / 8, false};
      format.alpha = (pixelBits == 16 && alphaBits == 1) || (pixelBits == 32 && alphaBits == 8);
    }
  }
  if (pos > size) {
    return std::nullopt;
  }

  // Unpack the stored pixels in file order.
  const std::size_t count = std::size_t{width} * height;
  const std::size_t pixelBytes = format.bytes;
  // The fewest bytes that can hold the pixels: raw, or packets of 128 repeats.
  const std::size_t least = rle ? (count + 127) / 128 * (1 + pixelBytes) : count * pixelBytes;
  if (size - pos < least) {
    return std::nullopt;
  }
  std::vector<uint8_t> stored(count * pixelBytes);
  if (!rle) {
    std::memcpy(stored.data(), data + pos, stored.size());
  } else {
    std::size_t done = 0;
    while (done < count) {
      if (pos >= size) return std::nullopt;
      const uint32_t packet = data[pos++];
      const std::size_t run = std::min<std::size_t>((packet & 0x7F) + 1, count - done);
      if ((packet & 0x80) != 0) {
        if (size - pos < pixelBytes) return std::nullopt;
        for (std::size_t i = 0; i < run; ++i) {
          std::memcpy(stored.data() + (done + i) * pixelBytes, data + pos, pixelBytes);
        }
        pos += pixelBytes;
      } else {
        const std::size_t need = ((packet & 0x7F) + 1) * pixelBytes;
        if (size - pos < need) return std::nullopt;
        std::memcpy(stored.data() + done * pixelBytes, data + pos, run * pixelBytes);
        pos += need;
      }
      done += run;
    }
  }

  TextureImage out;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.rgba.resize(count * 4);
  const bool topOrigin = (descriptor & 0x20) != 0;
  const bool rightToLeft = (descriptor & 0x10) != 0;
  for (std::size_t y = 0; y < height; ++y) {
    const std::size_t row = topOrigin ? y : height - 1 - y;
    for (std::size_t x = 0; x < width; ++x) {
      const std::size_t column = rightToLeft ? width - 1 - x : x;
      const uint8_t* s = stored.data() + (y * width + x) * pixelBytes;
      uint8_t* d = out.rgba.data() + (row * width + column) * 4;
      if (kind == 1) {
        std::memcpy(d, colourMap.data() + 4 * std::size_t{s[0]}, 4);
      } else {
        format.convert(s, d);
      }
    }
  }
  return out;
}
}  // namespace posewright
