#include "render/ModelBuffers.h"

#include <cstring>

namespace {
template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool SameImage(const std::optional<TextureImage>& a, const std::optional<TextureImage>& b) {
  if (a.has_value() != b.has_value()) {
    return false;
  }
  return !a || (a->width == b->width && a->height == b->height && SameBytes(a->rgba, b->rgba));
}

BufferId Create(GraphicsDevice& device, const std::vector<SkinVertex>& data) {
  return device.createVertexBuffer(data);
}
BufferId Create(GraphicsDevice& device, const std::vector<uint16_t>& data) { return device.createIndexBuffer(data); }
void Update(GraphicsDevice& device, BufferId id, const std::vector<SkinVertex>& data) {
  device.updateVertexBuffer(id, data);
}
void Update(GraphicsDevice& device, BufferId id, const std::vector<uint16_t>& data) {
  device.updateIndexBuffer(id, data);
}

// A texture the device can hold: positive size and a pixel array to match.
bool Usable(const std::optional<TextureImage>& image) {
  return image && image->width > 0 && image->height > 0 &&
         image->rgba.size() == static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height) * 4;
}
}  // namespace

template <typename T>
void ModelBuffers::sync(GraphicsDevice& device, Uploaded<T>& buffer, const std::vector<T>& data) {
  if (buffer.id == 0) {
    buffer.id = Create(device, data);
    buffer.copy = data;
  } else if (!SameBytes(buffer.copy, data)) {
    Update(device, buffer.id, data);
    buffer.copy = data;
  }
}

void ModelBuffers::syncMesh(GraphicsDevice& device, const SkinnedModel& model) {
  sync(device, meshVertices_, model.skinnedMesh.vertices);
  sync(device, meshIndices_, model.skinnedMesh.indices);
  const std::size_t count = model.textures.size();
  for (std::size_t i = count; i < textures_.size(); ++i) {
    device.releaseTexture(textures_[i].id);
  }
  textures_.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    UploadedTexture& t = textures_[i];
    const std::optional<TextureImage>& image = model.textures[i];
    if (t.synced && SameImage(t.copy, image)) {
      continue;
    }
    device.releaseTexture(t.id);
    t.id = Usable(image) ? device.createTexture(*image) : 0;
    t.copy = image;
    t.synced = true;
  }
}

void ModelBuffers::syncPoints(GraphicsDevice& device, const SkinnedModel& model) {
  sync(device, pointVertices_, model.pointVertices);
  sync(device, pointIndices_, model.selection.pointList);
}

TextureId ModelBuffers::texture(std::size_t material) const {
  return material < textures_.size() ? textures_[material].id : 0;
}

void ModelBuffers::release(GraphicsDevice& device) {
  for (BufferId* id : {&meshVertices_.id, &meshIndices_.id, &pointVertices_.id, &pointIndices_.id}) {
    device.releaseBuffer(*id);
    *id = 0;
  }
  meshVertices_.copy.clear();
  meshIndices_.copy.clear();
  pointVertices_.copy.clear();
  pointIndices_.copy.clear();
  for (UploadedTexture& t : textures_) {
    device.releaseTexture(t.id);
  }
  textures_.clear();
}
