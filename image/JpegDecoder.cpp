// JPEG decoding through libjpeg, with its fatal errors turned into a failed
// decode instead of an exit.
// jpeglib.h needs size_t and FILE declared before it.
// clang-format off
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "image/ImageDecoders.h"

namespace posewright {

namespace {
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings on damaged data are not printed

/// Decodes into out; false on any error. Kept free of objects with destructors
/// between setjmp and the possible longjmp.
bool DecodeInto(std::string_view bytes, TextureImage& out, std::vector<uint8_t>& row, std::string* why) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatalError;
  errors.base.emit_message = OnMessage;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
      !CheckTextureSize(info.image_width, info.image_height, why) || info.jpeg_color_space == JCS_CMYK ||
      info.jpeg_color_space == JCS_YCCK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgba.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 4);
  row.resize(static_cast<std::size_t>(out.width) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    const std::size_t y = info.output_scanline;
    if (jpeg_read_scanlines(&info, rows, 1) != 1) {
      jpeg_destroy_decompress(&info);
      return false;
    }
    uint8_t* dst = out.rgba.data() + y * static_cast<std::size_t>(out.width) * 4;
    for (int x = 0; x < out.width; ++x) {
      dst[4 * x] = row[3 * static_cast<std::size_t>(x)];
      dst[4 * x + 1] = row[3 * static_cast<std::size_t>(x) + 1];
      dst[4 * x + 2] = row[3 * static_cast<std::size_t>(x) + 2];
      dst[4 * x + 3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
}  // namespace

std::optional<TextureImage> DecodeJpeg(std::string_view bytes, std::string* why) {
  TextureImage out;
  std::vector<uint8_t> row;
  if (!DecodeInto(bytes, out, row, why)) {
    return std::nullopt;
  }
  return out;
}
}  // namespace posewright
