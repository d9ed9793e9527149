// The editor's viewport without a window: an offscreen host, the OpenGL
// device, the render resources (ring marker included) and the scene renderer,
// ready to draw frames of a model and hand back the picture.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gl/GlDevice.h"
#include "gl/OffscreenHost.h"
#include "render/RenderResources.h"
#include "render/SceneRenderer.h"

namespace posewright {

class OffscreenViewport {
 public:
  /// The viewport's size in the editor: the client area under the menu bar of
  /// an 800 × 600 window.
  static constexpr int kEditorWidth = 800;
  static constexpr int kEditorHeight = 581;

  /// Creates the viewport into viewport; fails ("no offscreen OpenGL" and the
  /// reason), leaving it null, when there is no offscreen OpenGL or a resource
  /// cannot be built.
  static Status Create(int width, int height, std::unique_ptr<OffscreenViewport>& viewport);
  ~OffscreenViewport();

  /// Draws one whole frame (nothing unless mesh and skeleton are loaded).
  void drawFrame(SkinnedModel& model, const Camera& camera, const FrameOptions& options);
  /// RGBA pixels of the last frame, top row first.
  std::vector<uint8_t> readPixels() { return host_->readPixels(); }
  /// Waits until the GPU has finished the frames drawn so far.
  void finish();

  int width() const { return host_->width(); }
  int height() const { return host_->height(); }
  OffscreenHost& host() { return *host_; }
  GlDevice& device() { return *device_; }
  RenderResources& resources() { return resources_; }

 private:
  OffscreenViewport() = default;
  std::unique_ptr<OffscreenHost> host_;
  std::unique_ptr<GlDevice> device_;
  RenderResources resources_;
  std::unique_ptr<SceneRenderer> renderer_;
  RectSelectionRequest noSelection_;
};
}  // namespace posewright
