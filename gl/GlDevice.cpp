#include "gl/GlDevice.h"

#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "resources/EmbeddedResources.h"

namespace posewright {

namespace {
// Texture units: stage 0 for the model's textures, 1 for the register file.
constexpr GLint kStage0Unit = 0;
constexpr GLint kRegisterUnit = 1;
// Geometry moves by half a pixel less this much, so that an edge exactly on a
// pixel centre includes it on the left and top and excludes it on the right
// and bottom, as the viewport's fill convention does; larger than the
// rasterizer's sub-pixel step so it survives snapping.
constexpr float kTieBreak = 1.0f / 64.0f;

GLenum PolygonMode(FillMode mode) {
  switch (mode) {
    case FillMode::Point:
      return GL_POINT;
    case FillMode::Wireframe:
      return GL_LINE;
    case FillMode::Solid:
      break;
  }
  return GL_FILL;
}

GLenum DrawMode(PrimitiveType type) {
  switch (type) {
    case PrimitiveType::PointList:
      return GL_POINTS;
    case PrimitiveType::LineList:
      return GL_LINES;
    case PrimitiveType::TriangleList:
      break;
  }
  return GL_TRIANGLES;
}

// A shader text with name defined: the line goes right after "#version".
std::string WithDefine(const std::string& text, const char* name) {
  const std::size_t lineEnd = text.find('\n');
  const std::size_t at = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
  return text.substr(0, at) + "#define " + name + "\n" + text.substr(at);
}

const void* Offset(std::size_t bytes) {
  return reinterpret_cast<const void*>(bytes);
}

// The bound vertex as the skinning program's six inputs.
void DescribeSkinVertex() {
  constexpr GLsizei stride = sizeof(SkinVertex);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, Offset(offsetof(SkinVertex, position)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, Offset(offsetof(SkinVertex, blendWeights)));
  // The index word as a colour: red = byte 2, green = byte 1, blue = byte 0, alpha = byte 3.
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        Offset(offsetof(SkinVertex, boneIndices)));
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, stride, Offset(offsetof(SkinVertex, normal)));
  glEnableVertexAttribArray(4);
  glVertexAttribPointer(4, 1, GL_FLOAT, GL_FALSE, stride, Offset(offsetof(SkinVertex, pointSize)));
  glEnableVertexAttribArray(5);
  glVertexAttribPointer(5, 2, GL_FLOAT, GL_FALSE, stride, Offset(offsetof(SkinVertex, u)));
}
}  // namespace

bool GlDevice::buildSkinning(SkinningProgram& p, const std::string& vertexText) {
  if (!p.program.build(vertexText, FindResourceText("skinning.frag"))) {
    return false;
  }
  glUseProgram(p.program.id());
  glUniform1i(p.program.uniform("stage0"), kStage0Unit);
  glUniform1i(p.program.uniform("registers"), kRegisterUnit);
  p.pixelShift = p.program.uniform("pixelShift");
  p.textured = p.program.uniform("textured");
  return true;
}

GlDevice::GlDevice(int width, int height) : width_(width), height_(height) {
  // A software rasterizer allocates and frees tens of megabytes per frame for
  // a large mesh; letting the allocator return that memory to the system
  // after every frame costs a page fault per page on the next one (about 40 %
  // of the frame time on llvmpipe). Keep freed memory for reuse instead.
  static const bool keepFreedMemory = mallopt(M_TRIM_THRESHOLD, 1 << 30) == 1;
  (void)keepFreedMemory;
  const std::string skinningText(FindResourceText("skinning.vert"));
  if (!buildSkinning(skinning_, skinningText)) {
    error_ = "skinning program: " + skinning_.program.error();
    return;
  }
  if (!buildSkinning(weights_, WithDefine(skinningText, "WEIGHT_VIEW"))) {
    error_ = "weight view program: " + weights_.program.error();
    return;
  }
  if (!pretransformed_.build(FindResourceText("pretransformed.vert"), FindResourceText("color.frag"))) {
    error_ = "rubber band program: " + pretransformed_.error();
    return;
  }
  viewportSizeLocation_ = pretransformed_.uniform("viewportSize");
  halfPixelLocation_ = pretransformed_.uniform("halfPixel");

  glGenBuffers(1, &registerBuffer_);
  glBindBuffer(GL_TEXTURE_BUFFER, registerBuffer_);
  glBufferData(GL_TEXTURE_BUFFER, sizeof(registers_.reg), registers_.reg.data(), GL_DYNAMIC_DRAW);
  glGenTextures(1, &registerTexture_);
  glActiveTexture(GL_TEXTURE0 + kRegisterUnit);
  glBindTexture(GL_TEXTURE_BUFFER, registerTexture_);
  glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, registerBuffer_);
  glActiveTexture(GL_TEXTURE0 + kStage0Unit);
  dirtyFirst_ = kRegisterCount;
  dirtyEnd_ = 0;

  glGenVertexArrays(1, &skinningVao_);
  glGenVertexArrays(1, &stripVao_);
  glGenBuffers(1, &stripVertices_);
  glGenBuffers(1, &stripIndices_);
  glBindVertexArray(stripVao_);
  glBindBuffer(GL_ARRAY_BUFFER, stripVertices_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, stripIndices_);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(PreTransformedVertex), Offset(0));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(PreTransformedVertex),
                        Offset(offsetof(PreTransformedVertex, color)));
  glBindVertexArray(0);
}

GlDevice::~GlDevice() {
  for (auto& [id, b] : buffers_) {
    glDeleteBuffers(1, &b.name);
  }
  for (auto& [id, name] : textures_) {
    glDeleteTextures(1, &name);
  }
  glDeleteBuffers(1, &stripVertices_);
  glDeleteBuffers(1, &stripIndices_);
  glDeleteVertexArrays(1, &skinningVao_);
  glDeleteVertexArrays(1, &stripVao_);
  glDeleteTextures(1, &registerTexture_);
  skinning_.program.release();
  weights_.program.release();
  pretransformed_.release();
}

void GlDevice::resize(int width, int height) {
  width_ = width;
  height_ = height;
}

GlDevice::Buffer* GlDevice::find(BufferId id) {
  const auto it = buffers_.find(id);
  return it == buffers_.end() ? nullptr : &it->second;
}

void GlDevice::fill(Buffer& b, const void* data, std::size_t bytes) {
  // Filled through the copy-write target: binding an index buffer to
  // GL_ELEMENT_ARRAY_BUFFER here would change whichever vertex array is bound.
  glBindBuffer(GL_COPY_WRITE_BUFFER, b.name);
  glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(bytes), bytes ? data : nullptr, GL_STATIC_DRAW);
}

BufferId GlDevice::createVertexBuffer(std::span<const SkinVertex> vertices) {
  Buffer b;
  glGenBuffers(1, &b.name);
  const BufferId id = nextId_++;
  buffers_[id] = b;
  updateVertexBuffer(id, vertices);
  return id;
}

BufferId GlDevice::createIndexBuffer(std::span<const uint16_t> values) {
  Buffer b;
  b.indices = true;
  glGenBuffers(1, &b.name);
  const BufferId id = nextId_++;
  buffers_[id] = b;
  updateIndexBuffer(id, values);
  return id;
}

void GlDevice::updateVertexBuffer(BufferId id, std::span<const SkinVertex> vertices) {
  Buffer* b = find(id);
  if (b == nullptr || b->indices) {
    return;
  }
  fill(*b, vertices.data(), vertices.size_bytes());
  b->count = vertices.size();
}

void GlDevice::updateIndexBuffer(BufferId id, std::span<const uint16_t> values) {
  Buffer* b = find(id);
  if (b == nullptr || !b->indices) {
    return;
  }
  fill(*b, values.data(), values.size_bytes());
  b->count = values.size();
  b->maxIndex = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

TextureId GlDevice::createTexture(const TextureImage& image) {
  const std::size_t expected = static_cast<std::size_t>(std::max(image.width, 0)) *
                               static_cast<std::size_t>(std::max(image.height, 0)) * 4;
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  if (image.width <= 0 || image.height <= 0 || image.rgba.size() != expected || image.width > largest ||
      image.height > largest) {
    return 0;  // drawn untextured
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  glActiveTexture(GL_TEXTURE0 + kStage0Unit);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // Row 0 of the image goes to t = 0, so v = 0 samples the top row.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               image.rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  const TextureId id = nextId_++;
  textures_[id] = name;
  return id;
}

void GlDevice::releaseBuffer(BufferId id) {
  const auto it = buffers_.find(id);
  if (it == buffers_.end()) {
    return;
  }
  glDeleteBuffers(1, &it->second.name);
  buffers_.erase(it);
  stream_ = stream_ == id ? 0 : stream_;
  indices_ = indices_ == id ? 0 : indices_;
}

void GlDevice::releaseTexture(TextureId id) {
  const auto it = textures_.find(id);
  if (it == textures_.end()) {
    return;
  }
  glDeleteTextures(1, &it->second);
  textures_.erase(it);
  texture_ = texture_ == id ? 0 : texture_;
}

void GlDevice::applyStates() {
  glViewport(0, 0, width_, height_);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glEnable(GL_PROGRAM_POINT_SIZE);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  // The back buffer is opaque: the program's alpha output (its blue) is not
  // written, so a host that composes the picture with its alpha (Qt does
  // when it grabs a window) shows the same colours as the screen.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  glPolygonMode(GL_FRONT_AND_BACK, PolygonMode(fillMode_));
  setDepthTest(depthTest_);
  setClipping(clipping_);
}

void GlDevice::clear(uint32_t argb, float depth, uint32_t stencil) {
  applyStates();
  const auto channel = [argb](int shift) { return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f; };
  glClearColor(channel(16), channel(8), channel(0), 1.0f);
  glClearDepth(depth);
  glClearStencil(static_cast<GLint>(stencil));
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

void GlDevice::beginScene() {
  applyStates();
}

void GlDevice::endScene() {
  glBindVertexArray(0);
}

bool GlDevice::present() {
  glFlush();
  return true;
}

void GlDevice::reset() {}

void GlDevice::setFillMode(FillMode mode) {
  fillMode_ = mode;
  glPolygonMode(GL_FRONT_AND_BACK, PolygonMode(mode));
}

void GlDevice::setDepthTest(bool enabled) {
  depthTest_ = enabled;
  if (enabled) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}

void GlDevice::setClipping(bool enabled) {
  // Without clipping, geometry before the near or beyond the far plane is
  // still drawn; depth clamping gives that.
  clipping_ = enabled;
  if (enabled) {
    glDisable(GL_DEPTH_CLAMP);
  } else {
    glEnable(GL_DEPTH_CLAMP);
  }
}

void GlDevice::setSkinningShader() {
  skinningActive_ = true;
  weightView_ = false;
}

void GlDevice::setWeightShader() {
  skinningActive_ = true;
  weightView_ = true;
}

void GlDevice::setVertexShaderConstant(uint32_t first, const D3DXVECTOR4* data, uint32_t count) {
  if (first >= kRegisterCount) {
    return;
  }
  count = std::min(count, kRegisterCount - first);
  registers_.set(first, data, count);
  dirtyFirst_ = std::min(dirtyFirst_, first);
  dirtyEnd_ = std::max(dirtyEnd_, first + count);
}

void GlDevice::uploadRegisters() {
  if (dirtyFirst_ >= dirtyEnd_) {
    return;
  }
  // New storage for every upload: changing storage that queued draws still
  // read would make the driver finish those draws first.
  glBindBuffer(GL_TEXTURE_BUFFER, registerBuffer_);
  glBufferData(GL_TEXTURE_BUFFER, sizeof(registers_.reg), registers_.reg.data(), GL_STREAM_DRAW);
  dirtyFirst_ = kRegisterCount;
  dirtyEnd_ = 0;
}

void GlDevice::setStreamSource(BufferId id) {
  stream_ = id;
}

void GlDevice::setIndices(BufferId id) {
  indices_ = id;
}

void GlDevice::setTexture(TextureId id) {
  texture_ = id;
}

void GlDevice::drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount,
                                    uint32_t startIndex, uint32_t primitiveCount) {
  Buffer* vb = find(stream_);
  Buffer* ib = find(indices_);
  const std::size_t count = std::size_t{primitiveCount} * IndicesPerPrimitive(type);
  if (!skinningActive_ || vb == nullptr || ib == nullptr || vb->indices || !ib->indices || count == 0 ||
      startIndex + count > ib->count || std::size_t{minIndex} + vertexCount > vb->count ||
      ib->maxIndex >= vb->count) {
    return;
  }
  uploadRegisters();
  const SkinningProgram& program = weightView_ ? weights_ : skinning_;
  glUseProgram(program.program.id());
  const float shift = 1.0f - 2.0f * kTieBreak;
  glUniform2f(program.pixelShift, shift / static_cast<float>(width_), -shift / static_cast<float>(height_));
  // The weight view shows weights, not the texture.
  const auto t = weightView_ ? textures_.end() : textures_.find(texture_);
  const bool textured = t != textures_.end();
  glUniform1i(program.textured, textured ? 1 : 0);
  glActiveTexture(GL_TEXTURE0 + kStage0Unit);
  glBindTexture(GL_TEXTURE_2D, textured ? t->second : 0);
  glActiveTexture(GL_TEXTURE0 + kRegisterUnit);
  glBindTexture(GL_TEXTURE_BUFFER, registerTexture_);
  glActiveTexture(GL_TEXTURE0 + kStage0Unit);

  glBindVertexArray(skinningVao_);
  glBindBuffer(GL_ARRAY_BUFFER, vb->name);
  DescribeSkinVertex();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->name);
  glDrawElements(DrawMode(type), static_cast<GLsizei>(count), GL_UNSIGNED_SHORT,
                 Offset(std::size_t{startIndex} * sizeof(uint16_t)));
}

void GlDevice::drawPreTransformedLineStrip(std::span<const PreTransformedVertex> vertices,
                                           std::span<const uint16_t> values, uint32_t lineCount) {
  skinningActive_ = false;
  weightView_ = false;
  const std::size_t count = std::size_t{lineCount} + 1;
  if (lineCount == 0 || values.size() < count ||
      std::any_of(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count),
                  [&](uint16_t i) { return i >= vertices.size(); })) {
    return;
  }
  glUseProgram(pretransformed_.id());
  glUniform2f(viewportSizeLocation_, static_cast<float>(width_), static_cast<float>(height_));
  glUniform1f(halfPixelLocation_, 0.5f - kTieBreak);
  glBindVertexArray(stripVao_);
  glBindBuffer(GL_ARRAY_BUFFER, stripVertices_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size_bytes()), vertices.data(),
               GL_STREAM_DRAW);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(uint16_t)), values.data(),
               GL_STREAM_DRAW);
  glDrawElements(GL_LINE_STRIP, static_cast<GLsizei>(count), GL_UNSIGNED_SHORT, Offset(0));
}
}  // namespace posewright
