#include "tools/gen/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {
void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// Everything that must survive a longjmp lives outside this function, so no
// object with a destructor is skipped when libpng reports an error.
bool Encode(const TextureImage& image, bool alpha, const std::vector<png_bytep>& rows, std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) {
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

std::optional<std::string> EncodePng(const TextureImage& image) {
  const std::size_t w = static_cast<std::size_t>(image.width);
  const std::size_t h = static_cast<std::size_t>(image.height);
  if (image.width <= 0 || image.height <= 0 || image.rgba.size() != w * h * 4) {
    return std::nullopt;
  }
  bool alpha = false;
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
    alpha = alpha || image.rgba[i] != 255;
  }
  const std::size_t channels = alpha ? 4 : 3;
  std::vector<png_byte> pixels(w * h * channels);
  for (std::size_t i = 0; i < w * h; ++i) {
    for (std::size_t c = 0; c < channels; ++c) {
      pixels[i * channels + c] = image.rgba[i * 4 + c];
    }
  }
  std::vector<png_bytep> rows(h);
  for (std::size_t y = 0; y < h; ++y) {
    rows[y] = pixels.data() + y * w * channels;
  }
  std::string out;
  if (!Encode(image, alpha, rows, &out)) {
    return std::nullopt;
  }
  return out;
}
