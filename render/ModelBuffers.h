// The device's copies of a model's drawing data: mesh vertices and indices,
// the point vertices, the point list and the textures. The model's CPU
// arrays stay authoritative; every sync compares them with what was uploaded
// last and uploads only what changed, so editing code never has to tell the
// renderer about its changes. Textures are immutable shared images: one
// device texture serves every material holding the same image.
#pragma once

#include <optional>
#include <vector>

#include "model/SkinnedModel.h"
#include "render/GraphicsDevice.h"

namespace posewright {

class ModelBuffers {
 public:
  /// Mesh vertices, mesh indices and textures.
  void syncMesh(GraphicsDevice& device, const SkinnedModel& model);
  /// Point vertices and the point list.
  void syncPoints(GraphicsDevice& device, const SkinnedModel& model);
  /// Frees every device object.
  void release(GraphicsDevice& device);

  BufferId meshVertices() const { return meshVertices_.id; }
  BufferId meshIndices() const { return meshIndices_.id; }
  BufferId pointVertices() const { return pointVertices_.id; }
  BufferId pointIndices() const { return pointIndices_.id; }
  /// Texture of material m; 0 when it has none.
  TextureId texture(std::size_t material) const;

 private:
  template <typename T>
  struct Uploaded {
    BufferId id = 0;
    std::vector<T> copy;
  };
  struct UploadedTexture {
    TextureId id = 0;
    SharedTexture image;
  };
  template <typename T>
  static void sync(GraphicsDevice& device, Uploaded<T>& buffer, const std::vector<T>& data);
  void syncTextures(GraphicsDevice& device, const std::vector<SharedTexture>& images);

  Uploaded<SkinVertex> meshVertices_;
  Uploaded<uint16_t> meshIndices_;
  Uploaded<SkinVertex> pointVertices_;
  Uploaded<uint16_t> pointIndices_;
  /// One per material of the last synced model.
  std::vector<UploadedTexture> textures_;
};
}  // namespace posewright
