#include "render/RecordingDevice.h"

#include <algorithm>
#include <cstdio>

namespace posewright {

namespace {
const char* PrimitiveName(PrimitiveType type) {
  switch (type) {
    case PrimitiveType::PointList:
      return "points";
    case PrimitiveType::LineList:
      return "lines";
    case PrimitiveType::TriangleList:
      return "triangles";
  }
  return "?";
}

std::string Format(const char* format, auto... args) {
  char text[160];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}
}  // namespace

std::vector<std::string> RecordingDevice::logLines(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : log) {
    if (line.rfind(prefix, 0) == 0) {
      out.push_back(line);
    }
  }
  return out;
}

BufferId RecordingDevice::createVertexBuffer(std::span<const SkinVertex> vertices) {
  const BufferId id = nextId_++;
  vertexBuffers[id].assign(vertices.begin(), vertices.end());
  ++uploads;
  log.push_back(Format("createVertexBuffer %u %zu", id, vertices.size()));
  return id;
}

BufferId RecordingDevice::createIndexBuffer(std::span<const uint16_t> values) {
  const BufferId id = nextId_++;
  indexBuffers[id].assign(values.begin(), values.end());
  ++uploads;
  log.push_back(Format("createIndexBuffer %u %zu", id, values.size()));
  return id;
}

void RecordingDevice::updateVertexBuffer(BufferId buffer, std::span<const SkinVertex> vertices) {
  vertexBuffers[buffer].assign(vertices.begin(), vertices.end());
  ++uploads;
  log.push_back(Format("updateVertexBuffer %u %zu", buffer, vertices.size()));
}

void RecordingDevice::updateIndexBuffer(BufferId buffer, std::span<const uint16_t> values) {
  indexBuffers[buffer].assign(values.begin(), values.end());
  ++uploads;
  log.push_back(Format("updateIndexBuffer %u %zu", buffer, values.size()));
}

TextureId RecordingDevice::createTexture(const TextureImage& image) {
  const TextureId id = nextId_++;
  textures[id] = image;
  log.push_back(Format("createTexture %u %dx%d", id, image.width, image.height));
  return id;
}

void RecordingDevice::releaseBuffer(BufferId buffer) {
  vertexBuffers.erase(buffer);
  indexBuffers.erase(buffer);
  log.push_back(Format("releaseBuffer %u", buffer));
}

void RecordingDevice::releaseTexture(TextureId id) {
  textures.erase(id);
  log.push_back(Format("releaseTexture %u", id));
}

void RecordingDevice::clear(uint32_t argb, float depth, uint32_t stencil) {
  log.push_back(Format("clear %08x %g %u", argb, static_cast<double>(depth), stencil));
}

void RecordingDevice::beginScene() {
  log.push_back("beginScene");
}

void RecordingDevice::endScene() {
  log.push_back("endScene");
}

bool RecordingDevice::present() {
  log.push_back("present");
  return !failPresent;
}

void RecordingDevice::reset() {
  log.push_back("reset");
}

void RecordingDevice::setFillMode(FillMode mode) {
  fillMode = mode;
  log.push_back(Format("fillMode %d", static_cast<int>(mode)));
}

void RecordingDevice::setDepthTest(bool enabled) {
  depthTest = enabled;
  log.push_back(Format("depthTest %d", enabled ? 1 : 0));
}

void RecordingDevice::setClipping(bool enabled) {
  clipping = enabled;
  log.push_back(Format("clipping %d", enabled ? 1 : 0));
}

void RecordingDevice::setSkinningShader() {
  skinningShader = true;
  weightShader = false;
  log.push_back("shader skinning");
}

void RecordingDevice::setWeightShader() {
  skinningShader = true;
  weightShader = true;
  log.push_back("shader weights");
}

void RecordingDevice::setVertexShaderConstant(uint32_t first, const D3DXVECTOR4* data, uint32_t count) {
  registers.set(first, data, count);
  log.push_back(Format("constants %u %u", first, count));
}

void RecordingDevice::setStreamSource(BufferId vertices) {
  stream = vertices;
  log.push_back(Format("stream %u", vertices));
}

void RecordingDevice::setIndices(BufferId values) {
  indices = values;
  log.push_back(Format("indices %u", values));
}

void RecordingDevice::setTexture(TextureId id) {
  texture = id;
  log.push_back(Format("texture %u", id));
}

RecordedDraw RecordingDevice::snapshot() const {
  RecordedDraw d;
  d.stream = stream;
  d.indices = indices;
  d.texture = texture;
  d.fillMode = fillMode;
  d.depthTest = depthTest;
  d.clipping = clipping;
  d.skinningShader = skinningShader;
  d.weightShader = weightShader;
  d.registers = registers;
  return d;
}

void RecordingDevice::drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount,
                                           uint32_t startIndex, uint32_t primitiveCount) {
  RecordedDraw d = snapshot();
  d.type = type;
  d.minIndex = minIndex;
  d.vertexCount = vertexCount;
  d.startIndex = startIndex;
  d.primitiveCount = primitiveCount;
  const auto vb = vertexBuffers.find(stream);
  const auto ib = indexBuffers.find(indices);
  const std::size_t end =
      static_cast<std::size_t>(startIndex) + std::size_t{primitiveCount} * IndicesPerPrimitive(type);
  if (vb == vertexBuffers.end() || ib == indexBuffers.end() || end > ib->second.size() ||
      std::size_t{minIndex} + vertexCount > vb->second.size()) {
    d.outOfRange = true;
  } else {
    d.outOfRange =
        std::any_of(ib->second.begin() + startIndex, ib->second.begin() + static_cast<std::ptrdiff_t>(end),
                    [&](uint16_t i) { return i < minIndex || i >= minIndex + vertexCount; });
  }
  draws.push_back(std::move(d));
  log.push_back(
      Format("draw %s %u %u %u %u", PrimitiveName(type), minIndex, vertexCount, startIndex, primitiveCount));
}

void RecordingDevice::drawPreTransformedLineStrip(std::span<const PreTransformedVertex> vertices,
                                                  std::span<const uint16_t> values, uint32_t lineCount) {
  skinningShader = false;
  weightShader = false;
  RecordedDraw d = snapshot();
  d.indexed = false;
  d.type = PrimitiveType::LineList;
  d.primitiveCount = lineCount;
  d.stripVertices.assign(vertices.begin(), vertices.end());
  d.stripIndices.assign(values.begin(), values.end());
  d.outOfRange = values.size() < std::size_t{lineCount} + 1 ||
                 std::any_of(values.begin(), values.end(), [&](uint16_t i) { return i >= vertices.size(); });
  draws.push_back(std::move(d));
  log.push_back(Format("strip %u", lineCount));
}
}  // namespace posewright
