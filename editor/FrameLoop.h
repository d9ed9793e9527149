// One turn of the editor's loop: reads the bone tree's selection, steps
// playback and draws the scene, at most once per 16 ms. The window calls it
// from a timer with the graphics device current.
#pragma once

#include <cstdint>

#include "editor/Application.h"
#include "editor/FramePacer.h"
#include "editor/ShellView.h"
#include "render/GraphicsDevice.h"
#include "render/RenderResources.h"
#include "render/SceneRenderer.h"

class FrameLoop {
 public:
  /// Uploads the resources' figures to device; device and resources must
  /// outlive the loop.
  FrameLoop(Application& app, ShellView& shell, GraphicsDevice& device, RenderResources& resources);
  /// Frees the model's device copies (the device must still be usable).
  ~FrameLoop();
  FrameLoop(const FrameLoop&) = delete;
  FrameLoop& operator=(const FrameLoop&) = delete;

  /// One turn at clock time nowMs. A pending clear shows the clear colour.
  /// Otherwise, when both a mesh and a skeleton are loaded and the last drawn
  /// frame began at least 16 ms ago: the Bone panel's selected entry becomes
  /// app.selectedBoneItem, the frame begins, playback advances one step (the
  /// Keyframe panel shows the frame's time), the scene is drawn with the
  /// view flags and presented. Returns true when something was drawn.
  bool frame(uint32_t nowMs);

  /// The next turn shows only the clear colour (after File > New).
  void requestClear() { clearPending_ = true; }
  /// True when the next turn would draw: a clear is pending, or a mesh and a
  /// skeleton are loaded and a frame is due.
  bool wantsFrame(uint32_t nowMs) const { return clearPending_ || (app_.canDraw() && pacer_.due(nowMs)); }
  /// Milliseconds until a frame may be drawn again.
  uint32_t msUntilNextFrame(uint32_t nowMs) const { return pacer_.msUntilDue(nowMs); }

 private:
  Application& app_;
  ShellView& shell_;
  GraphicsDevice& device_;
  SceneRenderer renderer_;
  FramePacer pacer_;
  bool clearPending_ = false;
};
