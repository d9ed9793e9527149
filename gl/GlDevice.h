// The graphics device on OpenGL 3.3 core (through libepoxy, no toolkit): the
// skinning program with the register file in a texture buffer, the
// pre-transformed rubber band, buffers, textures and states. It draws into
// whatever framebuffer the host has bound (an offscreen framebuffer object or
// a widget's), so the same device serves the window and the command line.
//
// Direct3D conventions kept: pixel centres at integer positions (the vertex
// program shifts by half a pixel), depth 0..1 with clear to 1 and a
// less-or-equal test, no culling, texture stage 0 modulating the vertex colour
// with point sampling, wrap addressing and row 0 at v = 0.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <map>
#include <string>

#include "gl/GlProgram.h"
#include "render/GraphicsDevice.h"
#include "render/RegisterFile.h"

namespace posewright {

class GlDevice final : public GraphicsDevice {
 public:
  /// Needs a current OpenGL 3.3 core context; builds the programs and the
  /// register buffer. Check ok() before drawing.
  GlDevice(int width, int height);
  /// Frees every GL object; the context must still be current.
  ~GlDevice() override;
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;

  bool ok() const { return error_.empty(); }
  /// Why set-up failed (shader log or missing resource).
  const std::string& error() const { return error_; }
  /// New back-buffer size (e.g. after the widget was resized).
  void resize(int width, int height);

  BufferId createVertexBuffer(std::span<const SkinVertex> vertices) override;
  BufferId createIndexBuffer(std::span<const uint16_t> indices) override;
  void updateVertexBuffer(BufferId buffer, std::span<const SkinVertex> vertices) override;
  void updateIndexBuffer(BufferId buffer, std::span<const uint16_t> indices) override;
  TextureId createTexture(const TextureImage& image) override;
  void releaseBuffer(BufferId buffer) override;
  void releaseTexture(TextureId texture) override;
  int backBufferWidth() const override { return width_; }
  int backBufferHeight() const override { return height_; }
  void clear(uint32_t argb, float depth, uint32_t stencil) override;
  void beginScene() override;
  void endScene() override;
  bool present() override;
  void reset() override;
  void setFillMode(FillMode mode) override;
  void setDepthTest(bool enabled) override;
  void setClipping(bool enabled) override;
  void setSkinningShader() override;
  void setWeightShader() override;
  void setVertexShaderConstant(uint32_t first, const D3DXVECTOR4* data, uint32_t count) override;
  void setStreamSource(BufferId vertices) override;
  void setIndices(BufferId indices) override;
  void setTexture(TextureId texture) override;
  void drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                            uint32_t primitiveCount) override;
  void drawPreTransformedLineStrip(std::span<const PreTransformedVertex> vertices,
                                   std::span<const uint16_t> indices, uint32_t lineCount) override;

 private:
  struct Buffer {
    GLuint name = 0;
    bool indices = false;
    /// Vertices or indices held.
    std::size_t count = 0;
    /// Largest index held (index buffers).
    uint32_t maxIndex = 0;
  };

  void applyStates();
  void uploadRegisters();
  Buffer* find(BufferId id);
  void fill(Buffer& b, const void* data, std::size_t bytes);

  std::string error_;
  int width_;
  int height_;
  // The skinning program and its weight variant, with their uniforms.
  struct SkinningProgram {
    GlProgram program;
    GLint pixelShift = -1;
    GLint textured = -1;
  };
  bool buildSkinning(SkinningProgram& p, const std::string& vertexText);

  SkinningProgram skinning_;
  SkinningProgram weights_;
  GlProgram pretransformed_;
  GLint viewportSizeLocation_ = -1;
  GLint halfPixelLocation_ = -1;
  GLuint skinningVao_ = 0;
  GLuint stripVao_ = 0;
  GLuint stripVertices_ = 0;
  GLuint stripIndices_ = 0;
  GLuint registerBuffer_ = 0;
  GLuint registerTexture_ = 0;

  RegisterFile registers_;
  uint32_t dirtyFirst_ = 0;
  uint32_t dirtyEnd_ = kRegisterCount;

  std::map<BufferId, Buffer> buffers_;
  std::map<TextureId, GLuint> textures_;
  BufferId nextId_ = 1;

  FillMode fillMode_ = FillMode::Solid;
  bool depthTest_ = true;
  bool clipping_ = true;
  bool skinningActive_ = false;
  bool weightView_ = false;
  BufferId stream_ = 0;
  BufferId indices_ = 0;
  TextureId texture_ = 0;
};
}  // namespace posewright
