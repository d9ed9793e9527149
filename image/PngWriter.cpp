#include "image/PngWriter.h"

#include <png.h>

#include "fileio/FileBytes.h"

namespace {
void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}
}  // namespace

std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba, bool keepAlpha) {
  if (width <= 0 || height <= 0 ||
      rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    return {};
  }
  const std::size_t channels = keepAlpha ? 4 : 3;
  std::vector<uint8_t> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * channels);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height); i < n; ++i) {
    for (std::size_t c = 0; c < channels; ++c) {
      rows[i * channels + c] = rgba[i * 4 + c];
    }
  }
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) {
    return {};
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               keepAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t stride = static_cast<std::size_t>(width) * channels;
  for (int y = 0; y < height; ++y) {
    png_write_row(png, &rows[static_cast<std::size_t>(y) * stride]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Status WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba, bool keepAlpha) {
  const std::string bytes = EncodePng(width, height, rgba, keepAlpha);
  if (bytes.empty()) {
    return Status::Error("Cannot encode the picture", path);
  }
  return WriteFileAtomically(path, bytes);
}
