#include "gl/OffscreenViewport.h"

#include <epoxy/gl.h>

#include "render/RingMarker.h"
#include "resources/EmbeddedResources.h"

std::unique_ptr<OffscreenViewport> OffscreenViewport::Create(int width, int height, std::string* error) {
  std::unique_ptr<OffscreenViewport> v(new OffscreenViewport());
  v->host_ = OffscreenHost::Create(width, height, error);
  if (!v->host_) {
    return nullptr;
  }
  v->device_ = std::make_unique<GlDevice>(width, height);
  if (!v->device_->ok()) {
    if (error != nullptr) {
      *error = v->device_->error();
    }
    return nullptr;
  }
  if (Status ring = LoadRingGizmo(FindResourceText("ring.x"), v->resources_.ring); !ring) {
    if (error != nullptr) {
      *error = "ring marker: " + ring.describe();
    }
    return nullptr;
  }
  v->renderer_ = std::make_unique<SceneRenderer>(*v->device_, v->resources_);
  return v;
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

void OffscreenViewport::finish() { glFinish(); }
