// Texture decoding: every format gives RGBA rows with row 0 at the image's top.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "image/ImageDecoders.h"
#include "image/TextureLoader.h"
#include "support/TestData.h"

namespace posewright {

namespace {
using Bytes = std::vector<uint8_t>;

std::string Str(const Bytes& b) {
  return std::string(b.begin(), b.end());
}
void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

/// Pixel (x, y) of a decoded image as 0xRRGGBBAA.
uint32_t At(const TextureImage& t, int x, int y) {
  const uint8_t* p = &t.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(t.width) +
                              static_cast<std::size_t>(x)) *
                             4];
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

/// A bitmap with a 40-byte info header; masks (if any) follow the header.
Bytes Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes& extra,
          const Bytes& pixels) {
  Bytes b = {'B', 'M'};
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(extra.size());
  Put32(b, offset + static_cast<uint32_t>(pixels.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, bits);
  Put32(b, compression);
  for (int i = 0; i < 5; ++i) Put32(b, 0);
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

Bytes TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor) {
  Bytes b = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(b, width);
  Put16(b, height);
  b.push_back(bits);
  b.push_back(descriptor);
  return b;
}

/// A baseline JPEG of width × height whose rows are (top(y), 40, 60).
std::string Jpeg(int width, int height, uint8_t (*red)(int y)) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<std::size_t>(width) * 3);
  while (c.next_scanline < c.image_height) {
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
      row[3 * x] = red(static_cast<int>(c.next_scanline));
      row[3 * x + 1] = 40;
      row[3 * x + 2] = 60;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  const std::string jpeg(reinterpret_cast<char*>(out), outSize);
  jpeg_destroy_compress(&c);
  std::free(out);
  return jpeg;
}

/// A PNG of width × height opaque grey pixels.
std::string Png(int width, int height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  const std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4,
                                    128);
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::string png(size, '\0');
  png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr);
  return png;
}

TEST(TextureDecode, BmpDepthsOrientationAndPadding) {
  // 24-bit, 2 × 2, bottom-up: the first stored row is the bottom one.
  const Bytes rgb24 = {0,   0, 255, 0,   255, 0,   0, 0,   // bottom: red, green (+2 padding bytes)
                       255, 0, 0,   255, 255, 255, 0, 0};  // top: blue, white
  auto t = DecodeTextureImage(Str(Bmp(2, 2, 24, 0, {}, rgb24)));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0x0000FFFFu);
  EXPECT_EQ(At(*t, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(*t, 0, 1), 0xFF0000FFu);
  EXPECT_EQ(At(*t, 1, 1), 0x00FF00FFu);

  // 8-bit palette, top-down (negative height), three pixels plus padding.
  Bytes palette;
  for (uint32_t c : {0x000000u, 0x102030u, 0xA0B0C0u}) Put32(palette, c);
  palette.resize(256 * 4, 0);
  t = DecodeBmp(Str(Bmp(3, -1, 8, 0, palette, {2, 1, 0, 0})));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0xA0B0C0FFu);
  EXPECT_EQ(At(*t, 1, 0), 0x102030FFu);

  // 1-bit, 9 pixels wide: bits run from the high bit of the first byte.
  Bytes mono;
  Put32(mono, 0x000000u);
  Put32(mono, 0xFFFFFFu);
  t = DecodeBmp(Str(Bmp(9, 1, 1, 0, mono, {0x80, 0x80, 0, 0})));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(*t, 1, 0), 0x000000FFu);
  EXPECT_EQ(At(*t, 8, 0), 0xFFFFFFFFu);

  // 16-bit 5-6-5 bit fields; 32-bit without an alpha mask is opaque.
  Bytes masks;
  for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) Put32(masks, m);
  t = DecodeBmp(Str(Bmp(1, 1, 16, 3, masks, {0x1F, 0xF8, 0, 0})));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0xFF00FFFFu);
  t = DecodeBmp(Str(Bmp(1, 1, 32, 0, {}, {0x30, 0x20, 0x10, 0x00})));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0x102030FFu);
}

TEST(TextureDecode, BmpRefusesTruncatedOversizedAndCompressed) {
  const Bytes pixels = {0, 0, 255, 0};
  EXPECT_FALSE(DecodeBmp(Str(Bmp(1, 2, 24, 0, {}, pixels))).has_value());      // one row missing
  EXPECT_FALSE(DecodeBmp(Str(Bmp(70000, 1, 24, 0, {}, pixels))).has_value());  // too wide
  EXPECT_FALSE(DecodeBmp(Str(Bmp(1, 1, 8, 1, {}, pixels))).has_value());       // RLE
  EXPECT_FALSE(DecodeBmp(Str(Bmp(1, 1, 7, 0, {}, pixels))).has_value());       // no such depth
  EXPECT_FALSE(DecodeBmp("BM").has_value());
}

TEST(TextureDecode, TgaTypesOriginsAndRunLength) {
  // True colour, 24-bit, bottom-left origin.
  Bytes b = TgaHeader(2, 2, 2, 24, 0);
  for (uint8_t v : {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255})
    b.push_back(v);  // bottom: blue green; top: red white
  auto t = DecodeTextureImage(Str(b));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(At(*t, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(*t, 0, 1), 0x0000FFFFu);

  // Run-length, 32-bit with 8 alpha bits, top-left origin: a run of 3 and one raw pixel.
  b = TgaHeader(10, 2, 2, 32, 0x28);
  for (uint8_t v : {0x82, 1, 2, 3, 128, 0x00, 9, 8, 7, 6}) b.push_back(v);
  t = DecodeTga(Str(b));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0x03020180u);
  EXPECT_EQ(At(*t, 0, 1), 0x03020180u);
  EXPECT_EQ(At(*t, 1, 1), 0x07080906u);

  // 32-bit without alpha bits is opaque; grey; colour-mapped.
  b = TgaHeader(2, 1, 1, 32, 0x20);
  for (uint8_t v : {1, 2, 3, 0}) b.push_back(v);
  EXPECT_EQ(At(*DecodeTga(Str(b)), 0, 0), 0x030201FFu);
  b = TgaHeader(3, 1, 1, 8, 0x20);
  b.push_back(77);
  EXPECT_EQ(At(*DecodeTga(Str(b)), 0, 0), 0x4D4D4DFFu);
  b = {0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0};
  Put16(b, 2);
  Put16(b, 1);
  b.push_back(8);
  b.push_back(0x20);
  for (uint8_t v : {10, 20, 30, 40, 50, 60, 1, 0})
    b.push_back(v);  // map: (30,20,10), (60,50,40); pixels 1, 0
  t = DecodeTga(Str(b));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0x3C3228FFu);
  EXPECT_EQ(At(*t, 1, 0), 0x1E140AFFu);
}

TEST(TextureDecode, TgaRefusesTruncatedAndUnknown) {
  Bytes b = TgaHeader(2, 2, 2, 24, 0);
  b.resize(b.size() + 11);  // one byte short
  EXPECT_FALSE(DecodeTga(Str(b)).has_value());
  b = TgaHeader(10, 200, 200, 24, 0);
  b.push_back(0xFF);  // a run of 128 pixels whose colour is missing
  EXPECT_FALSE(DecodeTga(Str(b)).has_value());
  EXPECT_FALSE(DecodeTga(Str(TgaHeader(5, 1, 1, 24, 0))).has_value());
  EXPECT_FALSE(DecodeTextureImage("not an image at all").has_value());
}

TEST(TextureDecode, PngThroughLibpng) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  const uint8_t pixels[] = {255, 0, 0, 255, 0, 0, 255, 128};
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr));
  std::string png(size, '\0');
  ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixels, 0, nullptr));
  auto t = DecodeTextureImage(png);
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(At(*t, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(At(*t, 1, 0), 0x0000FF80u);
  EXPECT_FALSE(DecodeTextureImage(png.substr(0, png.size() / 2)).has_value());

  const SharedTexture file = LoadTextureImage(SharedTestDataDir() + "/x/test.png");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->width, 512);
  EXPECT_EQ(file->rgba.size(), 512u * 512u * 4u);
  EXPECT_EQ(LoadTextureImage(SharedTestDataDir() + "/x/no-such.png"), nullptr);
}

TEST(TextureDecode, JpegThroughLibjpeg) {
  // Red above, dark below.
  const std::string jpeg = Jpeg(16, 8, [](int y) -> uint8_t { return y < 4 ? 200 : 20; });

  auto t = DecodeTextureImage(jpeg);
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->width, 16);
  EXPECT_EQ(t->height, 8);
  EXPECT_NEAR(t->rgba[0], 200, 8);
  EXPECT_EQ(t->rgba[3], 255);
  EXPECT_NEAR(t->rgba[(7 * 16) * 4], 20, 8);
  EXPECT_FALSE(DecodeTextureImage(jpeg.substr(0, 20)).has_value());
}
// Every decoder reads the size its header declares and refuses one beyond
// 8192 x 8192 with a message before it allocates for the pixels: the headers
// below declare sizes whose pixels are not there at all.
TEST(TextureDecode, ImagesBeyondTheBudgetAreRefusedFromTheirHeader) {
  // The image in each format: a real one of that size, or (declared) a small
  // one whose header claims that size.
  const auto make = [](const std::string& format, int w, int h, bool declared) -> std::string {
    if (format == "BMP")
      return Str(Bmp(w, h, 24, 0, {}, declared ? Bytes{} : Bytes(((w * 3 + 3) / 4) * 4 * h, 7)));
    if (format == "TGA") {
      Bytes b = TgaHeader(2, static_cast<uint16_t>(w), static_cast<uint16_t>(h), 24, 0x20);
      if (!declared) b.resize(b.size() + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 7);
      return Str(b);
    }
    if (format == "PNG") {
      std::string png = Png(declared ? 1 : w, declared ? 1 : h);
      if (declared) {  // IHDR's width and height (big-endian), then its CRC again
        for (int i = 0; i < 4; ++i) {
          png[16 + i] = static_cast<char>(static_cast<uint32_t>(w) >> (24 - 8 * i));
          png[20 + i] = static_cast<char>(static_cast<uint32_t>(h) >> (24 - 8 * i));
        }
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
        for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
      }
      return png;
    }
    std::string jpeg = Jpeg(declared ? 8 : w, declared ? 8 : h, [](int) -> uint8_t { return 99; });
    if (declared) {  // the frame header: FF C0, length, precision, height, width
      const std::size_t sof = jpeg.find("\xFF\xC0");
      jpeg[sof + 5] = static_cast<char>(h >> 8);
      jpeg[sof + 6] = static_cast<char>(h);
      jpeg[sof + 7] = static_cast<char>(w >> 8);
      jpeg[sof + 8] = static_cast<char>(w);
    }
    return jpeg;
  };
  const struct {
    int width;
    int height;
    bool accepted;
  } sizes[] = {{8192, 1, true}, {1, 8192, true}, {8193, 1, false}, {1, 8193, false}, {9000, 9000, false}};
  for (const std::string format : {"PNG", "JPEG", "BMP", "TGA"}) {
    for (const auto& size : sizes) {
      SCOPED_TRACE(format + " " + std::to_string(size.width) + " x " + std::to_string(size.height));
      std::string why;
      const std::optional<TextureImage> image =
          DecodeTextureImage(make(format, size.width, size.height, !size.accepted), &why);
      EXPECT_EQ(image.has_value(), size.accepted) << why;
      if (size.accepted && image) {
        EXPECT_EQ(image->width * image->height, 8192);
      } else {
        EXPECT_EQ(why, "the image is " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                           " pixels, more than the 8192 x 8192 a texture may have");
      }
    }
  }
}
}  // namespace
}  // namespace posewright
