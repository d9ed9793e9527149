#include "render/ModelBuffers.h"

#include <algorithm>
#include <cstring>

namespace posewright {

namespace {
template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

BufferId Create(GraphicsDevice& device, const std::vector<SkinVertex>& data) {
  return device.createVertexBuffer(data);
}
BufferId Create(GraphicsDevice& device, const std::vector<uint16_t>& data) {
  return device.createIndexBuffer(data);
}
void Update(GraphicsDevice& device, BufferId id, const std::vector<SkinVertex>& data) {
  device.updateVertexBuffer(id, data);
}
void Update(GraphicsDevice& device, BufferId id, const std::vector<uint16_t>& data) {
  device.updateIndexBuffer(id, data);
}

// A texture the device can hold: positive size and a pixel array to match.
bool Usable(const SharedTexture& image) {
  return image && image->width > 0 && image->height > 0 &&
         image->rgba.size() ==
             static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height) * 4;
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
  syncTextures(device, model.textures);
}

void ModelBuffers::syncTextures(GraphicsDevice& device, const std::vector<SharedTexture>& images) {
  const bool unchanged =
      images.size() == textures_.size() &&
      std::equal(images.begin(), images.end(), textures_.begin(),
                 [](const SharedTexture& a, const UploadedTexture& b) { return a == b.image; });
  if (unchanged) {
    return;
  }
  // An image already on the device keeps its texture; each new one is uploaded once.
  std::vector<UploadedTexture> next(images.size());
  const auto uploaded = [](const std::vector<UploadedTexture>& list, const SharedTexture& image) {
    return std::find_if(list.begin(), list.end(), [&](const UploadedTexture& t) { return t.image == image; });
  };
  for (std::size_t i = 0; i < images.size(); ++i) {
    next[i].image = images[i];
    if (!images[i]) continue;
    if (auto done = uploaded(next, images[i]); done != next.begin() + static_cast<std::ptrdiff_t>(i)) {
      next[i].id = done->id;
    } else if (auto old = uploaded(textures_, images[i]); old != textures_.end()) {
      next[i].id = old->id;
    } else {
      next[i].id = Usable(images[i]) ? device.createTexture(*images[i]) : 0;
    }
  }
  for (const UploadedTexture& t : textures_) {
    if (t.id != 0 &&
        std::none_of(next.begin(), next.end(), [&](const UploadedTexture& n) { return n.id == t.id; })) {
      device.releaseTexture(t.id);
    }
  }
  textures_ = std::move(next);
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
  for (std::size_t i = 0; i < textures_.size(); ++i) {
    const TextureId id = textures_[i].id;
    const auto first = std::find_if(textures_.begin(), textures_.end(),
                                    [id](const UploadedTexture& t) { return t.id == id; });
    if (id != 0 && first == textures_.begin() + static_cast<std::ptrdiff_t>(i)) device.releaseTexture(id);
  }
  textures_.clear();
}
}  // namespace posewright
