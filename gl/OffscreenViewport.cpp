#include "gl/OffscreenViewport.h"

#include <epoxy/gl.h>

#include "render/RingMarker.h"
#include "resources/EmbeddedResources.h"

namespace posewright {

Status OffscreenViewport::Create(int width, int height, std::unique_ptr<OffscreenViewport>& viewport) {
  viewport.reset();
  std::unique_ptr<OffscreenViewport> v(new OffscreenViewport());
  if (Status host = OffscreenHost::Create(width, height, v->host_); !host) {
    return host;
  }
  v->device_ = std::make_unique<GlDevice>(width, height);
  if (!v->device_->ok()) {
    return Status::Error(kNoOffscreenOpenGl, v->device_->error());
  }
  if (Status ring = LoadRingGizmo(FindResourceText("ring.x"), v->resources_.ring); !ring) {
    return Status::Error(kNoOffscreenOpenGl, "ring marker: " + ring.describe());
  }
  v->renderer_ = std::make_unique<SceneRenderer>(*v->device_, v->resources_);
  viewport = std::move(v);
  return Status::Ok();
}

OffscreenViewport::~OffscreenViewport() {
  if (host_) {
    host_->makeCurrent();
    if (renderer_) {
      renderer_->releaseModel();
    }
    if (device_) {
      resources_.release(*device_);
    }
  }
  renderer_.reset();
  device_.reset();
  host_.reset();
}

void OffscreenViewport::drawFrame(SkinnedModel& model, const Camera& camera, const FrameOptions& options) {
  host_->makeCurrent();
  renderer_->drawFrame(model, camera, options, noSelection_);
}

void OffscreenViewport::finish() {
  glFinish();
}
}  // namespace posewright
