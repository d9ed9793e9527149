// The drawing operations the scene uses, in the terms of the original
// Direct3D 8 layer: register uploads, stream and index sources, texture stage
// 0, fill mode, depth test, clipping, indexed draws and the pre-transformed
// rubber band. The scene is written against this interface so that its order,
// states, registers and colours can be checked with a recording device, and an
// OpenGL implementation draws the real picture.
#pragma once

#include <cstdint>
#include <span>

#include "image/TextureImage.h"
#include "math/Vector4.h"
#include "mesh/SkinVertex.h"

namespace posewright {

/// A vertex or index buffer owned by a device; 0 is "none".
using BufferId = uint32_t;
/// A texture owned by a device; 0 is "none".
using TextureId = uint32_t;

/// Polygon fill modes with their Direct3D values.
enum class FillMode : int32_t { Point = 1, Wireframe = 2, Solid = 3 };

enum class PrimitiveType { PointList, LineList, TriangleList };

/// Indices used by one primitive of the type.
constexpr uint32_t IndicesPerPrimitive(PrimitiveType type) {
  return type == PrimitiveType::PointList ? 1u : type == PrimitiveType::LineList ? 2u : 3u;
}

/// A vertex already in back-buffer pixels: x to the right, y down from the top
/// left pixel's centre, z depth 0..1, rhw 1 / w; colour as 0xAARRGGBB.
struct PreTransformedVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float rhw = 1.0f;
  uint32_t color = 0;
};
static_assert(sizeof(PreTransformedVertex) == 20);

class GraphicsDevice {
 public:
  virtual ~GraphicsDevice() = default;

  /// A vertex buffer holding a copy of vertices (SkinVertex layout, stride 52).
  virtual BufferId createVertexBuffer(std::span<const SkinVertex> vertices) = 0;
  /// A buffer of 16-bit indices holding a copy of indices.
  virtual BufferId createIndexBuffer(std::span<const uint16_t> indices) = 0;
  /// Replaces the whole contents (the size may change), like a discard lock.
  virtual void updateVertexBuffer(BufferId buffer, std::span<const SkinVertex> vertices) = 0;
  virtual void updateIndexBuffer(BufferId buffer, std::span<const uint16_t> indices) = 0;
  /// A texture holding a copy of the image (row 0 is sampled at v = 0); 0 when
  /// the device cannot hold it (then draws with it are untextured).
  virtual TextureId createTexture(const TextureImage& image) = 0;
  /// Frees a buffer; unknown ids and 0 are ignored.
  virtual void releaseBuffer(BufferId buffer) = 0;
  virtual void releaseTexture(TextureId texture) = 0;

  /// Back-buffer size in pixels.
  virtual int backBufferWidth() const = 0;
  virtual int backBufferHeight() const = 0;

  /// Clears the colour target to the colour of argb (0xAARRGGBB; the back
  /// buffer is opaque, so its alpha is not kept), depth to depth and stencil to
  /// stencil.
  virtual void clear(uint32_t argb, float depth, uint32_t stencil) = 0;
  virtual void beginScene() = 0;
  virtual void endScene() = 0;
  /// Shows the back buffer; false when that failed and the device needs a reset.
  virtual bool present() = 0;
  /// Restores a lost device; buffers, textures and states survive it.
  virtual void reset() = 0;

  /// Polygon fill mode of triangle draws; lines and points are not affected.
  virtual void setFillMode(FillMode mode) = 0;
  /// Depth test and depth write on or off (comparison: less or equal).
  virtual void setDepthTest(bool enabled) = 0;
  /// With clipping off, primitives are not clipped against the near and far planes.
  virtual void setClipping(bool enabled) = 0;
  /// Following indexed draws run through the skinning program.
  virtual void setSkinningShader() = 0;
  /// Following indexed draws run through the skinning program's weight
  /// variant: placed alike, coloured by the weight of bone c6.x
  /// (VertexColouring::BoneWeight), untextured.
  virtual void setWeightShader() = 0;
  /// Writes count registers starting at first (registers beyond the file are ignored).
  virtual void setVertexShaderConstant(uint32_t first, const D3DXVECTOR4* data, uint32_t count) = 0;
  /// Vertex input of the following draws (stride 52).
  virtual void setStreamSource(BufferId vertices) = 0;
  virtual void setIndices(BufferId indices) = 0;
  /// Texture of stage 0, which modulates the vertex colour; 0 for none.
  virtual void setTexture(TextureId texture) = 0;

  /// Draws primitiveCount primitives from the index buffer starting at
  /// startIndex; the indices refer to vertices minIndex .. minIndex +
  /// vertexCount − 1 of the stream. A draw whose indices run past the index
  /// buffer or refer past the stream is skipped.
  virtual void drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount,
                                    uint32_t startIndex, uint32_t primitiveCount) = 0;
  /// Switches to the fixed-function pre-transformed vertex format and draws a
  /// line strip of lineCount lines through indices into vertices, from memory.
  /// The skinning program must be set again before the next indexed draw.
  virtual void drawPreTransformedLineStrip(std::span<const PreTransformedVertex> vertices,
                                           std::span<const uint16_t> indices, uint32_t lineCount) = 0;
};
}  // namespace posewright
