// An OpenGL 3.3 core context with no window and no display: EGL on Mesa's
// surfaceless platform, drawing into a framebuffer object of a fixed size
// (RGBA8 colour, 16-bit depth). For pixel tests, benchmarks and command-line
// pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fileio/Status.h"

namespace posewright {

/// The message of every failure to set up offscreen drawing.
inline constexpr const char* kNoOffscreenOpenGl = "no offscreen OpenGL";

class OffscreenHost {
 public:
  /// Creates the context and the framebuffer into host and makes them current;
  /// fails ("no offscreen OpenGL" and the reason), leaving host null, when no
  /// EGL device or GL 3.3 core is available.
  static Status Create(int width, int height, std::unique_ptr<OffscreenHost>& host);
  ~OffscreenHost();
  OffscreenHost(const OffscreenHost&) = delete;
  OffscreenHost& operator=(const OffscreenHost&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  /// Binds this host's context and framebuffer.
  void makeCurrent();
  /// Waits for drawing to finish and returns the framebuffer as RGBA bytes,
  /// top row first.
  std::vector<uint8_t> readPixels();
  /// The GL_RENDERER string, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)".
  std::string renderer() const;

 private:
  OffscreenHost() = default;
  int width_ = 0;
  int height_ = 0;
  void* display_ = nullptr;
  void* context_ = nullptr;
  /// The context was made current once, so GL objects exist to delete.
  bool current_ = false;
  unsigned framebuffer_ = 0;
  unsigned colorBuffer_ = 0;
  unsigned depthBuffer_ = 0;
};
}  // namespace posewright
