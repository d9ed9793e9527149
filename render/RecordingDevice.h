// A graphics device that draws nothing and records every call: a log in call
// order, every draw with the full device state at that moment, and the
// contents of every buffer. Used to check the scene's passes, states,
// registers and colours without a GPU.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "render/GraphicsDevice.h"
#include "render/RegisterFile.h"

namespace posewright {

struct RecordedDraw {
  /// False for the pre-transformed line strip.
  bool indexed = true;
  PrimitiveType type = PrimitiveType::TriangleList;
  uint32_t minIndex = 0;
  uint32_t vertexCount = 0;
  uint32_t startIndex = 0;
  uint32_t primitiveCount = 0;
  BufferId stream = 0;
  BufferId indices = 0;
  TextureId texture = 0;
  FillMode fillMode = FillMode::Solid;
  bool depthTest = false;
  bool clipping = true;
  bool skinningShader = false;
  /// The skinning program's weight variant (skinningShader is then true too).
  bool weightShader = false;
  RegisterFile registers;
  /// Only for the line strip: its vertices and indices.
  std::vector<PreTransformedVertex> stripVertices;
  std::vector<uint16_t> stripIndices;
  /// True when the draw named indices or vertices past its buffers.
  bool outOfRange = false;

  /// c8 and c9.
  const D3DXVECTOR4& diffuse() const { return registers[kRegDiffuse]; }
  const D3DXVECTOR4& ambient() const { return registers[kRegAmbient]; }
  /// The matrix in palette entry 0 (c10–c13).
  D3DXMATRIX world() const { return registers.matrix(kRegPalette); }
};

class RecordingDevice final : public GraphicsDevice {
 public:
  RecordingDevice(int width = 800, int height = 581) : width_(width), height_(height) {}

  /// One line per call, e.g. "clear ff1e3c5a 1 0", "fillMode 2", "draw lines".
  std::vector<std::string> log;
  std::vector<RecordedDraw> draws;
  /// Current register contents.
  RegisterFile registers;
  std::map<BufferId, std::vector<SkinVertex>> vertexBuffers;
  std::map<BufferId, std::vector<uint16_t>> indexBuffers;
  std::map<TextureId, TextureImage> textures;
  /// Number of createVertexBuffer/createIndexBuffer and update calls.
  int uploads = 0;
  /// When set, present() reports failure.
  bool failPresent = false;

  FillMode fillMode = FillMode::Solid;
  bool depthTest = true;
  bool clipping = true;
  bool skinningShader = false;
  bool weightShader = false;
  BufferId stream = 0;
  BufferId indices = 0;
  TextureId texture = 0;

  /// Log lines that start with prefix, in order.
  std::vector<std::string> logLines(const std::string& prefix) const;

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
  RecordedDraw snapshot() const;
  int width_;
  int height_;
  uint32_t nextId_ = 1;
};
}  // namespace posewright
