#include "render/SceneRenderer.h"

#include <algorithm>
#include <cmath>

#include "render/SceneColors.h"

namespace posewright {

namespace {
const D3DXMATRIX kGridXZ = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const D3DXMATRIX kGridXY = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
const D3DXMATRIX kGridYZ = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

D3DXVECTOR4 Modulate(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b) {
  return D3DXVECTOR4(a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a);
}

D3DXVECTOR4 AsVector(const D3DCOLORVALUE& c) {
  return D3DXVECTOR4(c.r, c.g, c.b, c.a);
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

uint32_t Count(std::size_t n) {
  return static_cast<uint32_t>(n);
}
}  // namespace

SceneRenderer::SceneRenderer(GraphicsDevice& device, RenderResources& resources)
    : device_(device), resources_(resources) {
  resources_.upload(device_);
}

void SceneRenderer::setConstants(uint32_t first, const D3DXVECTOR4* data, uint32_t count) {
  registers_.set(first, data, count);
  device_.setVertexShaderConstant(first, data, count);
}

void SceneRenderer::setColor(const D3DXVECTOR4& diffuse, const D3DXVECTOR4& ambient) {
  setConstants(kRegDiffuse, &diffuse, 1);
  setConstants(kRegAmbient, &ambient, 1);
}

void SceneRenderer::setWorld(const D3DXMATRIX& world) {
  const std::array<D3DXVECTOR4, 4> rows = TransposedRows(world);
  setConstants(kRegPalette, rows.data(), 4);
}

void SceneRenderer::beginFrame() {
  device_.clear(kClearColor, 1.0f, 0);
  device_.beginScene();
}

void SceneRenderer::setFillMode(FillMode mode) {
  fillMode_ = mode;
  device_.setFillMode(mode);
}

void SceneRenderer::drawScene(SkinnedModel& model, const Camera& camera, int32_t selectedBone,
                              bool vertexMode, RectSelectionRequest& request, bool weightView) {
  Skeleton& skeleton = model.skeleton;
  ComputePose(skeleton);

  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.view, &camera.projection);
  device_.setSkinningShader();
  device_.setDepthTest(true);

  modelBuffers_.syncMesh(device_, model);
  device_.setStreamSource(modelBuffers_.meshVertices());
  device_.setIndices(modelBuffers_.meshIndices());

  const D3DXVECTOR3& dir = camera.light.direction;
  const D3DXVECTOR4 light(dir.x, dir.y, dir.z, camera.light.range);
  setConstants(kRegLightDirection, &light, 1);
  const std::array<D3DXVECTOR4, 4> vp = TransposedRows(viewProjection);
  setConstants(kRegViewProjection, vp.data(), 4);
  setConstants(kRegConstants, &kShaderConstants, 1);
  std::vector<D3DXVECTOR4> palette;
  palette.reserve(skeleton.skinMatrices.size() * 4);
  for (const D3DXMATRIX& m : skeleton.skinMatrices) {
    const std::array<D3DXVECTOR4, 4> rows = TransposedRows(m);
    palette.insert(palette.end(), rows.begin(), rows.end());
  }
  if (!palette.empty()) {
    setConstants(kRegPalette, palette.data(), Count(palette.size()));
  }

  if (weightView) {
    drawWeightMesh(model, selectedBone);
  } else {
    drawMesh(model, camera);
  }

  if (request.pending) {
    selectInRect(model, registers_, device_.backBufferWidth(), device_.backBufferHeight(), request.corner1,
                 request.corner2, request.subtract, request.add);
    request = RectSelectionRequest{};
  }

  if (vertexMode) {
    drawPoints(model);
  }
  drawBones(skeleton, selectedBone);
}

void SceneRenderer::drawMesh(const SkinnedModel& model, const Camera& camera) {
  const uint32_t vertexCount = Count(model.skinnedMesh.vertices.size());
  if (fillMode_ == FillMode::Solid) {
    for (const D3DXATTRIBUTERANGE& range : model.attributeTable) {
      // The range's own material: ranges and materials need not line up one to
      // one (a material without faces has no range).
      const std::size_t m = range.AttribId;
      if (m < model.materials.size()) {
        setColor(Modulate(model.materials[m].Diffuse, camera.light.diffuse),
                 Modulate(model.materials[m].Ambient, camera.light.ambient));
      }
      device_.setTexture(modelBuffers_.texture(m));
      device_.drawIndexedPrimitive(PrimitiveType::TriangleList, 0, vertexCount, range.FaceStart * 3,
                                   range.FaceCount);
    }
  } else if (fillMode_ == FillMode::Wireframe) {
    device_.setTexture(0);
    setColor(kWireframeMeshColor, kWireframeMeshColor);
    device_.drawIndexedPrimitive(PrimitiveType::TriangleList, 0, vertexCount, 0,
                                 Count(model.skinnedMesh.faceCount()));
  }
}

void SceneRenderer::drawWeightMesh(const SkinnedModel& model, int32_t bone) {
  if (fillMode_ != FillMode::Solid && fillMode_ != FillMode::Wireframe) {
    return;
  }
  device_.setWeightShader();
  const D3DXVECTOR4 weightBone(static_cast<float>(std::clamp(bone, 0, 255)), 0.0f, 0.0f, 0.0f);
  setConstants(kRegWeightBone, &weightBone, 1);
  device_.setTexture(0);
  device_.drawIndexedPrimitive(PrimitiveType::TriangleList, 0, Count(model.skinnedMesh.vertices.size()), 0,
                               Count(model.skinnedMesh.faceCount()));
  // Everything after the mesh is drawn lit.
  device_.setSkinningShader();
}

void SceneRenderer::drawPoints(const SkinnedModel& model) {
  modelBuffers_.syncPoints(device_, model);
  const uint32_t n = Count(model.skinnedMesh.vertices.size());
  const uint32_t unselected = std::min(model.selection.unselectedCount, n);
  device_.setTexture(0);
  device_.setStreamSource(modelBuffers_.pointVertices());
  device_.setIndices(modelBuffers_.pointIndices());
  setColor(kSelectedPointColor, kSelectedPointColor);
  device_.drawIndexedPrimitive(PrimitiveType::PointList, 0, n, 0, n - unselected);
  setColor(kUnselectedPointColor, kUnselectedPointColor);
  device_.drawIndexedPrimitive(PrimitiveType::PointList, 0, n, n - unselected, unselected);
}

void SceneRenderer::drawBones(const Skeleton& skeleton, int32_t selectedBone) {
  device_.setDepthTest(false);
  const std::size_t count = std::min(skeleton.bones.size(), skeleton.skinMatrices.size());
  for (std::size_t i = 0; i < count; ++i) {
    const Bone& bone = skeleton.bones[i];
    setFillMode(FillMode::Solid);
    const D3DXVECTOR3 span = bone.end - bone.begin;
    const float length = D3DXVec3Length(&span);
    D3DXMATRIX scaling, rotation, translation, placed, outline;
    D3DXMatrixScaling(&scaling, length, length, length);
    D3DXMatrixRotationQuaternion(&rotation, &bone.restRotation);
    D3DXMatrixTranslation(&translation, bone.begin.x, bone.begin.y, bone.begin.z);
    D3DXMatrixMultiply(&placed, &rotation, &translation);
    D3DXMatrixMultiply(&placed, &placed, &skeleton.skinMatrices[i]);
    const bool isSelected = static_cast<int32_t>(i) == selectedBone;
    if (isSelected) {
      drawRing(placed);
    }
    const D3DXVECTOR4& color = isSelected ? kSelectedBoneColor : kBoneColor;
    setFillMode(FillMode::Wireframe);
    setColor(color, color);
    D3DXMatrixMultiply(&outline, &scaling, &placed);
    drawBoneOutline(outline);
  }
}

void SceneRenderer::drawBoneOutline(const D3DXMATRIX& world) {
  const LineFigure& shape = resources_.boneShape;
  device_.setStreamSource(shape.vertexBuffer);
  device_.setIndices(shape.indexBuffer);
  setWorld(world);
  device_.setTexture(0);
  device_.drawIndexedPrimitive(PrimitiveType::LineList, 0, Count(shape.vertices.size()), 0,
                               Count(shape.indices.size() / 2));
}

void SceneRenderer::drawRing(const D3DXMATRIX& world) {
  const RingGizmo& ring = resources_.ring;
  setWorld(world);
  device_.setStreamSource(ring.vertexBuffer);
  device_.setIndices(ring.indexBuffer);
  device_.setTexture(0);
  for (const D3DXATTRIBUTERANGE& range : ring.attributeTable) {
    if (range.AttribId < ring.materials.size()) {
      const D3DMATERIAL8& m = ring.materials[range.AttribId];
      setColor(AsVector(m.Diffuse), AsVector(m.Ambient));
    }
    device_.drawIndexedPrimitive(PrimitiveType::TriangleList, 0, Count(ring.vertices.size()),
                                 range.FaceStart * 3, range.FaceCount);
  }
}

void SceneRenderer::drawLines(const LineFigure& figure, const D3DXMATRIX& world) {
  device_.setStreamSource(figure.vertexBuffer);
  device_.setIndices(figure.indexBuffer);
  setWorld(world);
  setColor(kGridColor, kGridColor);
  device_.setTexture(0);
  device_.drawIndexedPrimitive(PrimitiveType::LineList, 0, Count(figure.vertices.size()), 0,
                               Count(figure.indices.size() / 2));
}

void SceneRenderer::drawOverlays(const OverlayOptions& options) {
  setFillMode(FillMode::Wireframe);
  device_.setClipping(false);
  if (options.gridXZ) {
    drawLines(resources_.grid, kGridXZ);
  }
  if (options.gridXY) {
    drawLines(resources_.grid, kGridXY);
  }
  if (options.gridYZ) {
    drawLines(resources_.grid, kGridYZ);
  }

  const LineFigure& axes = resources_.axes;
  device_.setStreamSource(axes.vertexBuffer);
  device_.setIndices(axes.indexBuffer);
  setWorld(Identity());
  device_.setTexture(0);
  for (uint32_t i = 0; i < 3; ++i) {
    setColor(kAxisColors[i], kAxisColors[i]);
    device_.drawIndexedPrimitive(PrimitiveType::LineList, 0, Count(axes.vertices.size()), 2 * i, 1);
  }

  if (options.dragRectVisible) {
    drawDragRect(options.dragStart, options.dragEnd);
  }
}

void SceneRenderer::drawDragRect(ClientPoint start, ClientPoint end) {
  const float x0 = start.x;
  const float y0 = start.y;
  const float x1 = end.x;
  const float y1 = end.y;
  const PreTransformedVertex corners[4] = {{x0, y0, 0.0f, 1.0f, kDragRectColor},
                                           {x0, y1, 0.0f, 1.0f, kDragRectColor},
                                           {x1, y1, 0.0f, 1.0f, kDragRectColor},
                                           {x1, y0, 0.0f, 1.0f, kDragRectColor}};
  const uint16_t indices[5] = {0, 1, 2, 3, 0};
  device_.drawPreTransformedLineStrip(corners, indices, 4);
}

void SceneRenderer::endFrame() {
  device_.endScene();
  if (!device_.present()) {
    device_.reset();
  }
}

void SceneRenderer::drawFrame(SkinnedModel& model, const Camera& camera, const FrameOptions& options,
                              RectSelectionRequest& request) {
  if (!model.meshLoaded || !model.bonesLoaded()) {
    return;
  }
  beginFrame();
  setFillMode(options.fillMode);
  drawScene(model, camera, options.selectedBone, options.vertexMode, request, options.weightView);
  drawOverlays(options.overlays);
  endFrame();
}
}  // namespace posewright
