#include "image/PngWriter.h"

#include <png.h>

#include <csetjmp>

#include "fileio/FileBytes.h"

namespace posewright {

namespace {
void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// Everything that must survive a longjmp lives outside this function, so no
// object with a destructor is skipped when libpng reports an error.
bool Encode(int width, int height, bool alpha, PngCompression compression, const std::vector<png_bytep>& rows,
            std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) {
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (compression == PngCompression::Unfiltered) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
  }
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool AnyTranslucent(const std::vector<uint8_t>& rgba) {
  for (std::size_t i = 3; i < rgba.size(); i += 4) {
    if (rgba[i] != 255) {
      return true;
    }
  }
  return false;
}
}  // namespace

std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba, PngChannels channels,
                      PngCompression compression) {
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  if (width <= 0 || height <= 0 || rgba.size() != w * h * 4) {
    return {};
  }
  const bool alpha =
      channels == PngChannels::Rgba || (channels == PngChannels::RgbaWhenTranslucent && AnyTranslucent(rgba));
  const std::size_t n = alpha ? 4 : 3;
  std::vector<png_byte> pixels(w * h * n);
  for (std::size_t i = 0; i < w * h; ++i) {
    for (std::size_t c = 0; c < n; ++c) {
      pixels[i * n + c] = rgba[i * 4 + c];
    }
  }
  std::vector<png_bytep> rows(h);
  for (std::size_t y = 0; y < h; ++y) {
    rows[y] = pixels.data() + y * w * n;
  }
  std::string out;
  if (!Encode(width, height, alpha, compression, rows, &out)) {
    return {};
  }
  return out;
}

Status WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
                PngChannels channels) {
  const std::string bytes = EncodePng(width, height, rgba, channels);
  if (bytes.empty()) {
    return Status::Error("Cannot encode the picture", path);
  }
  return WriteFileAtomically(path, bytes);
}
}  // namespace posewright
