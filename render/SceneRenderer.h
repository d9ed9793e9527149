// The viewport's picture, frame by frame, drawn through a graphics device:
// the posed mesh, the pending rectangle selection, the vertex points, the bone
// outlines with the ring at the selected bone, then the grids, the axes and
// the rubber band. Everything but the rubber band goes through the skinning
// program; figures are placed by writing their world matrix into palette
// entry 0.
#pragma once

#include "model/SkinnedModel.h"
#include "render/Camera.h"
#include "render/ClientPoint.h"
#include "render/GraphicsDevice.h"
#include "render/ModelBuffers.h"
#include "render/RectangleSelection.h"
#include "render/RegisterFile.h"
#include "render/RenderResources.h"

namespace posewright {

/// The view flags the overlay passes read.
struct OverlayOptions {
  bool gridXZ = false;
  bool gridXY = false;
  bool gridYZ = false;
  bool dragRectVisible = false;
  ClientPoint dragStart;
  ClientPoint dragEnd;
};

/// Everything one frame needs besides the model and the camera.
struct FrameOptions {
  /// 1 point, 2 wireframe, 3 solid; the mesh is drawn only as wireframe or solid.
  FillMode fillMode = FillMode::Solid;
  bool vertexMode = false;
  /// The selected bone, drawn in its own colour with the ring marker at it.
  int32_t selectedBone = 0;
  /// The mesh coloured by each vertex's weight of the selected bone
  /// (render/WeightColours.h) instead of lit with its materials.
  bool weightView = false;
  OverlayOptions overlays;
};

class SceneRenderer {
 public:
  /// Uploads the resources' figures to the device if not done yet.
  SceneRenderer(GraphicsDevice& device, RenderResources& resources);

  /// Clears target and depth (clear colour, depth 1, stencil 0) and begins the scene.
  void beginFrame();
  /// Sets the device's fill mode; the mesh pass draws by the mode last set here.
  void setFillMode(FillMode mode);
  /// The model passes: pose, constants, mesh (in the weight view coloured by
  /// selectedBone's weights), a pending rectangle selection (carried out and
  /// cleared), points in vertex mode, bones and the ring.
  void drawScene(SkinnedModel& model, const Camera& camera, int32_t selectedBone, bool vertexMode,
                 RectSelectionRequest& request, bool weightView = false);
  /// Wireframe, clipping off, the grids (XZ, XY, YZ), the axes, the rubber band.
  void drawOverlays(const OverlayOptions& options);
  /// Ends the scene and presents; a failed present resets the device.
  void endFrame();
  /// One whole frame in the order above; draws nothing unless both a mesh and
  /// a skeleton are loaded (a pending selection then stays pending).
  void drawFrame(SkinnedModel& model, const Camera& camera, const FrameOptions& options,
                 RectSelectionRequest& request);

  /// The registers as this renderer last wrote them.
  const RegisterFile& registers() const { return registers_; }
  /// Frees the model's device copies (the resources belong to their owner).
  void releaseModel() { modelBuffers_.release(device_); }

 private:
  void setConstants(uint32_t first, const D3DXVECTOR4* data, uint32_t count);
  void setColor(const D3DXVECTOR4& diffuse, const D3DXVECTOR4& ambient);
  void setWorld(const D3DXMATRIX& world);
  void drawMesh(const SkinnedModel& model, const Camera& camera);
  void drawWeightMesh(const SkinnedModel& model, int32_t bone);
  void drawPoints(const SkinnedModel& model);
  void drawBones(const Skeleton& skeleton, int32_t selectedBone);
  void drawLines(const LineFigure& figure, const D3DXMATRIX& world);
  void drawBoneOutline(const D3DXMATRIX& world);
  void drawRing(const D3DXMATRIX& world);
  void drawDragRect(ClientPoint start, ClientPoint end);

  GraphicsDevice& device_;
  RenderResources& resources_;
  ModelBuffers modelBuffers_;
  RegisterFile registers_;
  FillMode fillMode_ = FillMode::Solid;
};
}  // namespace posewright
