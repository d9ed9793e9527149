// One turn of the editor's loop: reads the bone tree's selection, steps
// playback and draws the scene, at most once per 16 ms. The window calls it
// when something changed and, while playback runs, when the next animation
// frame is due, with the graphics device current.
#pragma once

#include <cstdint>

#include "editor/Application.h"
#include "editor/FramePacer.h"
#include "editor/PlaybackClock.h"
#include "editor/ShellView.h"
#include "render/GraphicsDevice.h"
#include "render/RenderResources.h"
#include "render/SceneRenderer.h"

namespace posewright {

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
  /// frame began at least 16 ms ago (or anyTime, for a repaint the window
  /// needs): the Bone panel's selected entry becomes app.selectedBoneItem, the
  /// frame begins, playback moves on to the frame of the playback clock (the
  /// first frame after Play starts the clock at time 0; a frame the clock has
  /// not moved on since shows the same time again; with fixed steps every
  /// frame moves on by one), the Keyframe panel shows the frame's time, the
  /// scene is drawn with the view flags and presented. Returns true when
  /// something was drawn.
  bool frame(uint32_t nowMs, bool anyTime = false);

  /// The next turn shows only the clear colour (after File > New).
  void requestClear() { clearPending_ = true; }
  /// True when the next turn would draw: a clear is pending, or a mesh and a
  /// skeleton are loaded and a frame is due.
  bool wantsFrame(uint32_t nowMs) const { return clearPending_ || (app_.canDraw() && pacer_.due(nowMs)); }
  /// Milliseconds until a frame may be drawn again; while playing, until the
  /// next animation frame is due as well.
  uint32_t msUntilNextFrame(uint32_t nowMs) const;
  /// The least time between frames (a slow machine draws less often).
  void setFrameInterval(uint32_t ms) { pacer_.setInterval(ms); }
  /// Playback moves on by one frame per drawn frame instead of following the
  /// clock (for pictures that are the same on every machine).
  void setFixedSteps(bool fixed) { fixedSteps_ = fixed; }

 private:
  // Poses the skeleton for the playback frame due at nowMs.
  void stepPlayback(uint32_t nowMs);

  Application& app_;
  ShellView& shell_;
  GraphicsDevice& device_;
  SceneRenderer renderer_;
  FramePacer pacer_;
  PlaybackClock clock_;
  // The clock frame shown last.
  int64_t shownFrame_ = 0;
  bool fixedSteps_ = false;
  bool clearPending_ = false;
};
}  // namespace posewright
